#pragma once
// What a tessaro-cli command gets. A command is one function in its own
// file plus one line in CliCommands.cpp; a command with options or
// positional arguments of its own declares them on its subcommand, bound to
// its arguments struct (see CliCommandLine).

#include <functional>
#include <ostream>

#include "cli/CliOptions.h"

namespace tessaro {

class LineContext;

// Exit status of the program.
constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;  // the operation failed; its message is on stderr
constexpr int kExitUsage = 2;
constexpr int kExitLineBusy = 3;  // another program holds the line; it is named on stderr

struct CliContext {
  const CliOptions& options;
  LineContext* line;  // open line, for commands that need one; else null
  std::ostream& out;
  std::ostream& err;
  // Commands that open the line themselves: opens *line; false with the
  // reason on err.
  std::function<bool()> openLine = nullptr;
};

// The commands without arguments of their own.
int RunProbe(CliContext& context);

}  // namespace tessaro
