#pragma once
// What a tessaro-cli command gets and how it is listed. A command is one
// function in its own file plus one line in the table (CliCommands.cpp).

#include <ostream>
#include <string>
#include <vector>

#include "cli/CliOptions.h"

namespace tessaro {

class LineContext;

// Exit status of the program.
constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;  // the operation failed; its message is on stderr
constexpr int kExitUsage = 2;

struct CliContext {
  const CliOptions& options;
  LineContext* line;  // open line, for commands that need one; else null
  std::ostream& out;
  std::ostream& err;
};

struct CliCommand {
  const char* name;
  const char* arguments;  // for the usage text
  const char* summary;
  int minArgs;
  int maxArgs;  // -1: any number
  bool needsLine;
  int (*run)(CliContext& context);
};

const std::vector<CliCommand>& CliCommands();

// Parses a command's own arguments with parse(args, arguments, error); a
// usage error is told on err and gives kExitUsage, else run(arguments) gives
// the exit status.
template <typename Arguments, typename Parse, typename Run>
int RunWithArguments(CliContext& context, Parse parse, Run run) {
  Arguments arguments;
  std::string error;
  if (!parse(context.options.args, arguments, error)) {
    context.err << "tessaro-cli: " << error << "\n";
    return kExitUsage;
  }
  return run(arguments);
}

// The commands.
int RunProbe(CliContext& context);
int RunSend(CliContext& context);

}  // namespace tessaro
