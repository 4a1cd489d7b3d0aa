#pragma once
// The line options of tessaro-cli. Line options left out fall back to the
// line settings of the user's settings file.

#include <optional>
#include <string>

#include "core/line/LineSettings.h"

namespace CLI {
class App;
}

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
  std::optional<int> waitLine;    // --wait-line SECONDS: for a line another program holds
};

// Adds the line options to app, filling options as they are parsed. A bad
// value is a usage error naming the option.
void AddLineOptions(CLI::App& app, CliOptions& options);

// The settings to use: base (from the settings file) overridden by options.
LineSettings ResolveLineSettings(const CliOptions& options, const LineSettings& base);

// The line settings of the current user's settings file (defaults when it
// cannot be read).
LineSettings UserLineSettings();

}  // namespace tessaro
