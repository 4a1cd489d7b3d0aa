#pragma once
// tessaro-cli's command line, parsed with CLI11: the line options belong to
// the program and may stand before or after the command; each command is a
// subcommand whose own options and positional arguments are bound to its
// arguments struct. CliCommands.cpp registers the commands, one line each.

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "cli/CliCommand.h"

namespace CLI {
class App;
}

namespace tessaro {

class CliCommandLine {
 public:
  // The program with its line options, --help, --version and every command.
  CliCommandLine();
  ~CliCommandLine();
  CliCommandLine(const CliCommandLine&) = delete;
  CliCommandLine& operator=(const CliCommandLine&) = delete;

  // OnDemand: the command gets a closed line and opens it with
  // CliContext::openLine once its own checks have passed.
  enum class Line { NotUsed, Needed, OnDemand };

  // A command without options or arguments of its own.
  void Add(const char* name, const char* summary, Line line, int (*run)(CliContext&));

  // A command whose options and positional arguments bind() declares on its
  // subcommand; run() gets them as parsed.
  template <typename Arguments>
  void Add(const char* name, const char* summary, Line line,
           void (*bind)(CLI::App& command, Arguments& arguments),
           int (*run)(CliContext& context, const Arguments& arguments)) {
    auto arguments = std::make_shared<Arguments>();
    bind(AddCommand(name, summary, line,
                    [arguments, run](CliContext& context) { return run(context, *arguments); }),
         *arguments);
  }

  // Parses args (without the program name). True when a command is to run;
  // otherwise the help or version went to out (status kExitOk), or a usage
  // error with its reason went to err (status kExitUsage).
  bool Parse(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
             int& status);

  // After a successful Parse: the line options, and the chosen command.
  const CliOptions& Options() const { return options_; }
  const std::string& CommandName() const;
  Line CommandLine() const { return chosen_->line; }
  int RunCommand(CliContext& context) const { return chosen_->run(context); }

 private:
  struct Command {
    CLI::App* app;
    Line line;
    std::function<int(CliContext&)> run;
  };

  CLI::App& AddCommand(const char* name, const char* summary, Line line,
                       std::function<int(CliContext&)> run);
  int UsageError(const std::string& reason, std::ostream& err) const;

  std::unique_ptr<CLI::App> app_;
  CliOptions options_;
  std::vector<Command> commands_;
  const Command* chosen_ = nullptr;
};

// Registers tessaro-cli's commands (CliCommands.cpp).
void AddCliCommands(CliCommandLine& commandLine);

}  // namespace tessaro
