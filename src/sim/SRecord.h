#pragma once
// Checks one Motorola S-record line the way the recorder's loader does and
// yields the bytes a data record carries.

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace tessaro::sim {

struct SRecord {
  int type = 0;  // the digit after 'S'
  uint32_t address = 0;
  std::vector<uint8_t> data;
};

// 0..15 for a hex digit of either case, else -1.
int HexDigitValue(char c);

// Nullopt when the line is not a well-formed record (type, hex digits,
// count, checksum). Trailing blanks and CR are ignored.
std::optional<SRecord> ParseSRecord(std::string_view line);

}  // namespace tessaro::sim
