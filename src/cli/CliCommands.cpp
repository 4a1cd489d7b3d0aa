#include "cli/CliCommand.h"

namespace tessaro {

const std::vector<CliCommand>& CliCommands() {
  static const std::vector<CliCommand> commands = {
      {"probe", "", "check that a recorder answers on the line", 0, 0, true, RunProbe},
      {"send", "TEXT...", "send each TEXT as a command and print each reply", 1, -1, true, RunSend},
  };
  return commands;
}

}  // namespace tessaro
