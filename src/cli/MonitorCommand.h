#pragma once
// tessaro-cli monitor [CMD] [--count N] [--interval MS]: sends CMD (default
// "ver") over and over and prints each reply as "%.5d %s %s", one flushed
// line per reply. Ends with 0 after N lines or Ctrl-C, with 1 when the
// probe fails or the third exchange in a row fails.

#include <string>

#include "cli/CliCommand.h"

namespace CLI {
class App;
}

namespace tessaro {

struct MonitorArguments {
  std::string command = "ver";
  int count = 0;  // 0: until interrupted
  int intervalMs = 250;
};

void BindMonitorArguments(CLI::App& command, MonitorArguments& arguments);
int RunMonitor(CliContext& context, const MonitorArguments& arguments);

}  // namespace tessaro
