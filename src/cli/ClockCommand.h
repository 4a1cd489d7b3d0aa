#pragma once
// tessaro-cli clock [--set pc|"YYYY-MM-DD hh:mm:ss"]: without --set prints
// the recorder's time and the PC's ("recorder: YY/MM/DD hh:mm:ss",
// "pc: YY/MM/DD hh:mm:ss"); an unreadable recorder time prints
// "??/??/?? ??:??:??" and fails. --set pc sets the recorder to the PC time
// one second ahead, taken just before sending; a typed time must be a real
// date and time in 1980-2033 (else a usage error). A set prints
// "set: YY/MM/DD hh:mm:ss".

#include <string>

#include "cli/CliCommand.h"

namespace CLI {
class App;
}

namespace tessaro {

struct ClockArguments {
  std::string set;  // empty: only show; "pc"; or the typed time
};

void BindClockArguments(CLI::App& command, ClockArguments& arguments);
int RunClock(CliContext& context, const ClockArguments& arguments);

}  // namespace tessaro
