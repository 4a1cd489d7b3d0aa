#pragma once
// Parses a tessaro-cli command's own arguments as its subcommand does, for
// tests that run the command's work directly.

#include <CLI/CLI.hpp>
#include <string>
#include <vector>

namespace tessaro {

template <typename Arguments>
bool ParseCommandArguments(void (*bind)(CLI::App&, Arguments&),
                           const std::vector<std::string>& args, Arguments& parsed,
                           std::string& error) {
  CLI::App command;
  parsed = Arguments{};
  bind(command, parsed);
  try {
    command.parse(std::vector<std::string>(args.rbegin(), args.rend()));
    return true;
  } catch (const CLI::ParseError& e) {
    error = e.what();
    return false;
  }
}

}  // namespace tessaro
