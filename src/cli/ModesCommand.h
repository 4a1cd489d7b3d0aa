#pragma once
// tessaro-cli modes [--channels N] [--set CH=CODE ...]: the measurement
// modes. Without options it prints "max channels: M", "channels: N" and one
// line per channel 1..M: "00001<TAB>code<TAB>mode text<TAB>settable codes".
// With options everything is checked against what was read first (N in
// 1..M, CH in use, CODE in that channel's list; else exit 1, nothing
// written), then the count and the modes of the channels in use are
// written as the dialog's OK does and the listing shows the written state.

#include <optional>
#include <utility>
#include <vector>

#include "cli/CliCommand.h"

namespace CLI {
class App;
}

namespace tessaro {

struct ModesArguments {
  std::optional<int> channels;
  std::vector<std::pair<int, int>> modes;  // channel (from 1), code
};

void BindModesArguments(CLI::App& command, ModesArguments& arguments);
int RunModes(CliContext& context, const ModesArguments& arguments);

}  // namespace tessaro
