#pragma once
// Command line of tessaro-cli: line options, a command and its arguments.
// Line options left out fall back to the line settings of the user's
// settings file.

#include <optional>
#include <string>
#include <vector>

#include "core/line/LineSettings.h"

namespace tessaro {

struct CliOptions {
  std::optional<std::string> port;     // --port DEVICE (device path or COM<n>)
  std::optional<std::string> tcpHost;  // --tcp HOST:PORT
  std::optional<int> tcpPort;
  std::optional<int> baud;        // --baud
  std::optional<int> dataCode;    // --data 7|8, as the settings' code (3|4)
  std::optional<int> stopCode;    // --stop 1|1.5|2, as code 0|1|2
  std::optional<int> parityCode;  // --parity none|odd|even, as code 0|1|2
  std::optional<int> slave;       // --slave ID
  std::optional<int> timeout;     // --timeout SECONDS
  bool help = false;              // --help / -h

  std::string command;
  std::vector<std::string> args;
};

// False with a one-line reason on a usage error. Options may stand before or
// after the command; "--" ends option parsing.
bool ParseCliOptions(const std::vector<std::string>& argv, CliOptions& options, std::string& error);

// The settings to use: base (from the settings file) overridden by options.
LineSettings ResolveLineSettings(const CliOptions& options, const LineSettings& base);

// The line settings of the current user's settings file (defaults when it
// cannot be read).
LineSettings UserLineSettings();

}  // namespace tessaro
