#pragma once
// The help of tessaro-cli: each command listed with its synopsis
// ("convert RLB [--csv PATH] [--form q5|corvex]"), usage lines built from
// the same synopsis.

#include <CLI/CLI.hpp>
#include <string>

namespace tessaro {

class CliHelpFormatter : public CLI::Formatter {
 public:
  CliHelpFormatter();

  std::string make_usage(const CLI::App* app, std::string name) const override;
  std::string make_subcommand(const CLI::App* command) const override;
  // An option's value as "PATH" or "q5|corvex"; nothing for a flag or a
  // positional argument, whose name says it.
  std::string make_option_opts(const CLI::Option* option) const override;

  // The positional arguments, then the options, of a command without its
  // help and version flags.
  std::string Synopsis(const CLI::App& command) const;
};

}  // namespace tessaro
