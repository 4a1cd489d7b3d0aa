#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "core/line/LineSettings.h"

namespace tessaro {

// Runs tessaro-cli with its arguments (without the program name) and
// returns the exit status.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Same, with the line settings to fall back on given (tests use this instead
// of the user's settings file).
int RunCli(const std::vector<std::string>& args, const LineSettings& fallback, std::ostream& out,
           std::ostream& err);

}  // namespace tessaro
