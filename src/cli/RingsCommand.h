#pragma once
// tessaro-cli rings: the recorder's management information, every ring as
// the collection dialog's panel shows it (version, serial number, ring,
// data count, channel count, interval, start and stop time, memos 1-4).

#include <ostream>
#include <string>

#include "cli/CliCommand.h"

namespace tessaro {

class LineContext;

// databasePath empty: DB/Master.mdb in the program folder.
int RunRingsCommand(LineContext& line, const std::string& databasePath, std::ostream& out,
                    std::ostream& err);

// The command's entry point.
int RunRings(CliContext& context);

}  // namespace tessaro
