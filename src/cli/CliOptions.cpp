#include "cli/CliOptions.h"

#include <cerrno>
#include <cstdlib>
#include <functional>
#include <map>

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

using Setter = std::function<bool(const std::string& value, CliOptions& o)>;

const std::map<std::string, Setter>& LineOptions() {
  static const std::map<std::string, Setter> options = {
      {"--port",
       [](const std::string& v, CliOptions& o) {
         if (v.empty() || v == "TCP/IP") return false;
         o.port = v;
         return true;
       }},
      {"--tcp",
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
      {"--baud",
       [](const std::string& v, CliOptions& o) {
         int baud = 0;
         if (!ParseInt(v, 50, 4000000, baud)) return false;
         o.baud = baud;
         return true;
       }},
      {"--data",
       [](const std::string& v, CliOptions& o) {
         if (v != "7" && v != "8") return false;
         o.dataCode = v == "7" ? 3 : 4;
         return true;
       }},
      {"--stop",
       [](const std::string& v, CliOptions& o) {
         if (v == "1")
           o.stopCode = 0;
         else if (v == "1.5")
           o.stopCode = 1;
         else if (v == "2")
           o.stopCode = 2;
         else
           return false;
         return true;
       }},
      {"--parity",
       [](const std::string& v, CliOptions& o) {
         if (v == "none")
           o.parityCode = 0;
         else if (v == "odd")
           o.parityCode = 1;
         else if (v == "even")
           o.parityCode = 2;
         else
           return false;
         return true;
       }},
      {"--slave",
       [](const std::string& v, CliOptions& o) {
         int id = 0;
         if (!ParseInt(v, 0, 0xFFFF, id)) return false;
         o.slave = id;
         return true;
       }},
      {"--timeout",
       [](const std::string& v, CliOptions& o) {
         int seconds = 0;
         if (!ParseInt(v, 1, 3600, seconds)) return false;
         o.timeout = seconds;
         return true;
       }},
  };
  return options;
}

}  // namespace

bool ParseCliOptions(const std::vector<std::string>& argv, CliOptions& options,
                     std::string& error) {
  options = CliOptions{};
  bool optionsEnded = false;
  for (size_t i = 0; i < argv.size(); ++i) {
    const std::string& arg = argv[i];
    const bool looksLikeOption = !optionsEnded && arg.size() > 1 && arg[0] == '-';
    if (!looksLikeOption) {
      if (options.command.empty())
        options.command = arg;
      else
        options.args.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    if (arg == "--help" || arg == "-h") {
      options.help = true;
      continue;
    }
    std::string name = arg, value;
    const size_t eq = arg.find('=');
    bool hasValue = eq != std::string::npos;
    if (hasValue) {
      name = arg.substr(0, eq);
      value = arg.substr(eq + 1);
    }
    const auto option = LineOptions().find(name);
    if (option == LineOptions().end()) {
      // Options that are not line options belong to the command, which
      // checks them itself (convert --csv PATH).
      if (!options.command.empty()) {
        options.args.push_back(arg);
        continue;
      }
      error = "unknown option " + name;
      return false;
    }
    if (!hasValue) {
      if (i + 1 >= argv.size()) {
        error = name + " needs a value";
        return false;
      }
      value = argv[++i];
    }
    if (!option->second(value, options)) {
      error = "invalid value for " + name + ": " + value;
      return false;
    }
  }
  if (options.port && options.tcpHost) {
    error = "--port and --tcp exclude each other";
    return false;
  }
  return true;
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
