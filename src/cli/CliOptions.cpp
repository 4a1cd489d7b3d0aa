#include "cli/CliOptions.h"

#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstdlib>
#include <initializer_list>

#include "core/support/AppPaths.h"
#include "core/support/AppSettings.h"

namespace tessaro {
namespace {

bool ParseInt(const std::string& text, long low, long high, int& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  errno = 0;
  const long v = std::strtol(text.c_str(), &end, 10);
  if (*end != '\0' || errno != 0 || v < low || v > high) return false;
  value = static_cast<int>(v);
  return true;
}

bool SetNumber(const std::string& text, long low, long high, std::optional<int>& value) {
  int number = 0;
  if (!ParseInt(text, low, high, number)) return false;
  value = number;
  return true;
}

// Stores the position of text among names, counted from first: the code the
// settings file uses.
bool SetCode(const std::string& text, std::initializer_list<const char*> names, int first,
             std::optional<int>& code) {
  int position = first;
  for (const char* name : names) {
    if (text == name) {
      code = position;
      return true;
    }
    ++position;
  }
  return false;
}

// A line option: its name, its value in the help, what it means, and the
// setter that checks and stores a value (false: not a valid value).
struct LineOption {
  const char* name;
  const char* value;
  const char* help;
  bool (*set)(const std::string& value, CliOptions& o);
};

const LineOption kLineOptions[] = {
    {"--port", "DEVICE", "serial port: a device path such as /dev/ttyUSB0, or COM<n>",
     [](const std::string& v, CliOptions& o) {
       if (v.empty() || v == "TCP/IP") return false;
       o.port = v;
       return true;
     }},
    {"--baud", "RATE", "serial bit rate",
     [](const std::string& v, CliOptions& o) { return SetNumber(v, 50, 4000000, o.baud); }},
    {"--data", "7|8", "data bits",
     [](const std::string& v, CliOptions& o) {
       return SetCode(v, {"7", "8"}, 3, o.dataCode);
     }},
    {"--stop", "1|1.5|2", "stop bits",
     [](const std::string& v, CliOptions& o) {
       return SetCode(v, {"1", "1.5", "2"}, 0, o.stopCode);
     }},
    {"--parity", "none|odd|even", "parity",
     [](const std::string& v, CliOptions& o) {
       return SetCode(v, {"none", "odd", "even"}, 0, o.parityCode);
     }},
    {"--tcp", "HOST:PORT", "TCP line to a gateway instead of a serial port",
     [](const std::string& v, CliOptions& o) {
       const size_t colon = v.rfind(':');
       int port = 0;
       if (colon == std::string::npos || colon == 0 ||
           !ParseInt(v.substr(colon + 1), 1, 65535, port))
         return false;
       o.tcpHost = v.substr(0, colon);
       o.tcpPort = port;
       return true;
     }},
    {"--slave", "ID", "address the recorder with this slave ID (multi-link line)",
     [](const std::string& v, CliOptions& o) { return SetNumber(v, 0, 0xFFFF, o.slave); }},
    {"--timeout", "SECONDS", "reply timeout",
     [](const std::string& v, CliOptions& o) { return SetNumber(v, 1, 3600, o.timeout); }},
    {"--wait-line", "SECONDS", "wait this long for another program to let go of the line (0)",
     [](const std::string& v, CliOptions& o) { return SetNumber(v, 0, 86400, o.waitLine); }},
};

constexpr const char* kLineOptionsGroup =
    "line options (default: the line settings of the settings file)";

}  // namespace

void AddLineOptions(CLI::App& app, CliOptions& options) {
  for (const LineOption& line : kLineOptions) {
    CLI::Option* option = app.add_option_function<std::string>(
        line.name,
        [&options, &line](const std::string& value) {
          if (!line.set(value, options))
            throw CLI::ValidationError(line.name, "invalid value " + value);
        },
        line.help);
    // A repeated option takes its last value, so a script can override one.
    option->type_name(line.value)
        ->group(kLineOptionsGroup)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  }
  app.get_option("--port")->excludes(app.get_option("--tcp"));
}

LineSettings ResolveLineSettings(const CliOptions& options, const LineSettings& base) {
  LineSettings line = base;
  if (options.port) line.ComPort = *options.port;
  if (options.tcpHost) {
    line.ComPort = "TCP/IP";
    line.IpAddr = *options.tcpHost;
    line.IpPort = *options.tcpPort;
  }
  if (options.baud) line.Baud = *options.baud;
  if (options.dataCode) line.Data = *options.dataCode;
  if (options.stopCode) line.Stop = *options.stopCode;
  if (options.parityCode) line.Parity = *options.parityCode;
  if (options.timeout) line.Over = *options.timeout;
  return line;
}

LineSettings UserLineSettings() {
  const AppPaths paths = CurrentAppPaths();
  AppSettings settings;
  LoadSettings(paths.settingsFile, paths.baseFolder, settings);  // defaults when unreadable
  return settings.line;
}

}  // namespace tessaro
