#pragma once
// tessaro-cli term [--log FILE]: a line-mode terminal. Each line read from
// stdin goes to the recorder as a command (with the slave header when
// slaved; no probe first), and every line the recorder sends is printed on
// stdout as the terminal shows it. At the end of stdin the command waits
// until the line has been quiet for the reply timeout, then ends with 0;
// Ctrl-C ends it at once with 0. 1 when the line cannot be written or the
// log file cannot be opened.

#include <string>

#include "cli/CliCommand.h"

namespace CLI {
class App;
}

namespace tessaro {

struct TermArguments {
  std::string logFile;
};

void BindTermArguments(CLI::App& command, TermArguments& arguments);
int RunTerm(CliContext& context, const TermArguments& arguments);

}  // namespace tessaro
