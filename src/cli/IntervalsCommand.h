#pragma once
// tessaro-cli intervals [--interval C] [--pre-timer C] [--sampling C]: the
// measurement interval, pre-timer and sampling interval. Prints
// "interval: CODE<TAB>text", "pre-timer: ..." and "sampling: ...", each
// "unused" when the recorder has no list for it. Codes given are checked
// against their lists first (a code not listed: exit 1, nothing written),
// then only the settings given are written, in the dialog's order, and the
// listing shows the result.

#include <optional>

#include "cli/CliCommand.h"

namespace CLI {
class App;
}

namespace tessaro {

struct IntervalsArguments {
  std::optional<int> interval;
  std::optional<int> preTimer;
  std::optional<int> sampling;
};

void BindIntervalsArguments(CLI::App& command, IntervalsArguments& arguments);
int RunIntervals(CliContext& context, const IntervalsArguments& arguments);

}  // namespace tessaro
