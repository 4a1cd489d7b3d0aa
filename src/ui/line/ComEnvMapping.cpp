#include "ui/line/ComEnvMapping.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iterator>

#include "core/support/NumberFormat.h"

namespace tessaro {

int BaudFromIndex(int index) {
  if (index < 0 || index >= static_cast<int>(std::size(kBaudRates))) return kBaudRates[0];
  return kBaudRates[index];
}

int BaudIndex(int baud) {
  const auto it = std::find(std::begin(kBaudRates), std::end(kBaudRates), baud);
  return it == std::end(kBaudRates) ? 0 : static_cast<int>(it - std::begin(kBaudRates));
}

int DataFromIndex(int index) { return index == 1 ? 3 : 4; }
int DataIndex(int dataCode) { return dataCode == 3 ? 1 : 0; }
int StopFromIndex(int index) { return index == 1 || index == 2 ? index : 0; }
int StopIndex(int stopCode) { return StopFromIndex(stopCode); }
int ParityFromIndex(int index) { return index == 1 || index == 2 ? index : 0; }
int ParityIndex(int parityCode) { return ParityFromIndex(parityCode); }

std::vector<std::string> PortListEntries(const std::vector<std::string>& serialPorts) {
  std::vector<std::string> entries{kTcpIpPortName};
  for (const std::string& port : serialPorts)
    if (port != kTcpIpPortName) entries.push_back(port);
  return entries;
}

int PortEntryIndex(const std::vector<std::string>& entries, const std::string& comPort) {
  auto find = [&](const std::string& name) -> int {
    const auto it = std::find(entries.begin(), entries.end(), name);
    return it == entries.end() ? -1 : static_cast<int>(it - entries.begin());
  };
  if (int i = find(comPort); i >= 0) return i;
  if (comPort.size() > 3 && comPort.starts_with("COM") &&
      std::all_of(comPort.begin() + 3, comPort.end(),
                  [](char c) { return c >= '0' && c <= '9'; })) {
    const long number = std::strtol(comPort.c_str() + 3, nullptr, 10);
    if (number >= 1 && number < 10000) {
      if (int i = find("/dev/ttyS" + std::to_string(number - 1)); i >= 0) return i;
    }
  }
  return 0;
}

std::optional<int> TcpPortFromText(const std::string& text) {
  NumberFormatOptions options;
  const auto value = ParseNumberText(text, options);
  if (!value || StripNumberText(text, options).empty()) return std::nullopt;
  if (*value != std::floor(*value) || *value < 1 || *value > 65535) return std::nullopt;
  return static_cast<int>(*value);
}

}  // namespace tessaro
