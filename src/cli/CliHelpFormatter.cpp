#include "cli/CliHelpFormatter.h"

#include <sstream>

namespace tessaro {
namespace {

std::string OptionName(const CLI::Option& option) {
  return option.get_lnames().empty() ? "-" + option.get_snames().front()
                                     : "--" + option.get_lnames().front();
}

}  // namespace

CliHelpFormatter::CliHelpFormatter() {
  column_width(26);
  label("Usage", "usage");
}

std::string CliHelpFormatter::Synopsis(const CLI::App& command) const {
  std::string positionals, options;
  for (const CLI::Option* option : command.get_options()) {
    if (option == command.get_help_ptr() || option == command.get_version_ptr()) continue;
    if (option->get_positional()) {
      std::string item = option->get_name();
      if (option->get_expected_max() > 1) item += "...";
      positionals += " " + (option->get_required() ? item : "[" + item + "]");
    } else {
      options += " [" + OptionName(*option) + make_option_opts(option) + "]";
    }
  }
  return positionals + options;
}

std::string CliHelpFormatter::make_option_opts(const CLI::Option* option) const {
  if (option->get_positional() || option->get_type_name().empty()) return "";
  return " " + option->get_type_name();
}

std::string CliHelpFormatter::make_usage(const CLI::App* app, std::string name) const {
  const bool hasCommands = !app->get_subcommands([](const CLI::App*) { return true; }).empty();
  return get_label("Usage") + ": " + name +
         (hasCommands ? " [OPTIONS] COMMAND [ARGUMENTS]" : Synopsis(*app)) + "\n";
}

std::string CliHelpFormatter::make_subcommand(const CLI::App* command) const {
  std::ostringstream out;
  CLI::detail::format_help(out, command->get_name() + Synopsis(*command),
                           command->get_description(), column_width_);
  return out.str();
}

}  // namespace tessaro
