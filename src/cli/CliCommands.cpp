#include "cli/CliCommand.h"
#include "cli/CollectCommand.h"
#include "cli/ConvertCommand.h"
#include "cli/RingsCommand.h"

namespace tessaro {

const std::vector<CliCommand>& CliCommands() {
  static const std::vector<CliCommand> commands = {
      {"probe", "", "check that a recorder answers on the line", 0, 0, true, RunProbe},
      {"send", "TEXT...", "send each TEXT as a command and print each reply", 1, -1, true, RunSend},
      {"convert", "RLB [--csv PATH] [--form q5|corvex]", "convert an RLB file into a CSV file", 1,
       -1, false, RunConvert},
      {"rings", "", "list the recorder's rings as the collection dialog shows them", 0, 0, true,
       RunRings},
      {"collect",
       "[--ring NEW|OLD-nn] [--form q5|corvex] [--csv PATH] [--keep-rlb] [--overwrite] "
       "[--overwrite-ok] [--high-speed]",
       "collect one ring into a CSV file", 0, -1, true, RunCollect},
  };
  return commands;
}

}  // namespace tessaro
