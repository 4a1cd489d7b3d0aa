#pragma once
// One Motorola S-record line: "S", the type digit, then hex pairs: the count
// byte, the address (2, 3 or 4 bytes by type), the data and a checksum, the
// ones' complement of the low byte of the sum of count, address and data.
// The program checks firmware files with it and the simulator's loader
// stores what the data records carry.

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace tessaro {

struct SRecord {
  int type = 0;  // the digit after 'S'
  uint32_t address = 0;
  std::vector<uint8_t> data;
};

enum class SRecordFault {
  None,
  Malformed,  // not "S" + a known type + hex pairs
  Count,      // the count byte does not match the line, or leaves no room for the address
  Checksum,
};

// 0..15 for a hex digit of either case, else -1.
int HexDigitValue(char c);

// Address bytes of a record type (S0 to S3, S5 to S9), else -1.
int SRecordAddressBytes(int type);

// Nullopt when the line (without its line end) is not a well-formed record;
// fault, when given, says why.
std::optional<SRecord> ParseSRecord(std::string_view line, SRecordFault* fault = nullptr);

}  // namespace tessaro
