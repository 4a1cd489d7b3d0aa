#include "cli/CliCommandLine.h"

#include <CLI/CLI.hpp>
#include <algorithm>

#include "cli/CliHelpFormatter.h"

namespace tessaro {
namespace {

constexpr const char* kProgram = "tessaro-cli";

// CLI11 lists every unexpected argument; the first one tells what went wrong.
std::string UnexpectedArgument(const CLI::App& app) {
  const std::vector<std::string> extras = app.remaining(true);
  if (extras.empty()) return "unexpected arguments";
  const std::string& first = extras.front();
  if (first.size() > 1 && first[0] == '-') return "unknown option " + first;
  if (app.get_subcommands().empty()) return "unknown command " + first;
  return "unexpected argument " + first + " for " + app.get_subcommands().front()->get_name();
}

}  // namespace

CliCommandLine::CliCommandLine()
    : app_(std::make_unique<CLI::App>("The recorder line from a shell.", kProgram)) {
  app_->formatter(std::make_shared<CliHelpFormatter>());
  app_->set_help_flag("-h,--help", "print this help and exit");
  app_->set_version_flag("--version", std::string(kProgram) + " " + TESSARO_VERSION,
                         "print the version and exit");
  app_->require_subcommand(0, 1);
  // Commands created from here on hand options they do not know (the line
  // options) to the program.
  app_->fallthrough();
  AddLineOptions(*app_, options_);
  AddCliCommands(*this);
}

CliCommandLine::~CliCommandLine() = default;

void CliCommandLine::Add(const char* name, const char* summary, Line line,
                         int (*run)(CliContext&)) {
  AddCommand(name, summary, line, run);
}

CLI::App& CliCommandLine::AddCommand(const char* name, const char* summary, Line line,
                                     std::function<int(CliContext&)> run) {
  CLI::App* command = app_->add_subcommand(name, summary);
  command->group("Commands");
  if (line == Line::Needed)
    command->footer(std::string("Line options (") + kProgram +
                    " --help) may stand before or after the command.");
  commands_.push_back({command, line, std::move(run)});
  return *command;
}

bool CliCommandLine::Parse(const std::vector<std::string>& args, std::ostream& out,
                           std::ostream& err, int& status) {
  chosen_ = nullptr;
  status = kExitOk;
  try {
    app_->parse(std::vector<std::string>(args.rbegin(), args.rend()));
  } catch (const CLI::CallForHelp&) {
    out << app_->help();
    return false;
  } catch (const CLI::CallForVersion& version) {
    out << version.what() << "\n";
    return false;
  } catch (const CLI::ExtrasError&) {
    status = UsageError(UnexpectedArgument(*app_), err);
    return false;
  } catch (const CLI::ParseError& error) {
    status = UsageError(error.what(), err);
    return false;
  }
  const auto chosen = std::find_if(commands_.begin(), commands_.end(),
                                   [](const Command& c) { return c.app->parsed(); });
  if (chosen == commands_.end()) {
    status = UsageError("no command given", err);
    return false;
  }
  chosen_ = &*chosen;
  return true;
}

const std::string& CliCommandLine::CommandName() const { return chosen_->app->get_name(); }

// The reason, then the usage of the command it concerns (or the program's).
int CliCommandLine::UsageError(const std::string& reason, std::ostream& err) const {
  const std::vector<CLI::App*> chosen = app_->get_subcommands();
  std::string name = kProgram;
  const CLI::App* app = app_.get();
  if (!chosen.empty()) {
    app = chosen.front();
    name += " " + app->get_name();
  }
  err << kProgram << ": " << reason << "\n"
      << CliHelpFormatter().make_usage(app, name) << "Run \"" << name << " --help\" for more.\n";
  return kExitUsage;
}

}  // namespace tessaro
