#pragma once
// S-record lines and small firmware files for tests, with the count byte
// and checksum worked out.

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "core/firmware/SRecord.h"

namespace tessaro::testing {

inline std::string SRecordLine(int type, uint32_t address, const std::vector<uint8_t>& data) {
  const int addressBytes = SRecordAddressBytes(type);
  std::vector<uint8_t> bytes{static_cast<uint8_t>(addressBytes + data.size() + 1)};
  for (int i = addressBytes - 1; i >= 0; --i) bytes.push_back(uint8_t(address >> (8 * i)));
  bytes.insert(bytes.end(), data.begin(), data.end());
  unsigned sum = 0;
  for (uint8_t b : bytes) sum += b;
  bytes.push_back(static_cast<uint8_t>(~sum));
  std::string line = "S" + std::to_string(type);
  char hex[3];
  for (uint8_t b : bytes) {
    std::snprintf(hex, sizeof hex, "%02X", b);
    line += hex;
  }
  return line;
}

// A header, count data records of 16 bytes (S1, S2 or S3) from address and
// the matching end record, one per line with the given line end.
inline std::vector<std::string> FirmwareRecords(int dataType, int count,
                                                uint32_t address = 0x1000) {
  std::vector<std::string> lines{SRecordLine(0, 0, {'t', 'e', 's', 't'})};
  for (int r = 0; r < count; ++r) {
    std::vector<uint8_t> data(16);
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(r * 16 + i);
    lines.push_back(SRecordLine(dataType, address + static_cast<uint32_t>(r) * 16, data));
  }
  lines.push_back(SRecordLine(10 - dataType, address, {}));
  return lines;
}

inline std::string JoinLines(const std::vector<std::string>& lines, const std::string& end = "\n") {
  std::string text;
  for (const std::string& line : lines) text += line + end;
  return text;
}

}  // namespace tessaro::testing
