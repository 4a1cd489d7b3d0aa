#include "sim/SRecord.h"

namespace tessaro::sim {

namespace {

int AddressBytes(int type) {
  switch (type) {
    case 0:
    case 1:
    case 5:
    case 9:
      return 2;
    case 2:
    case 6:
    case 8:
      return 3;
    case 3:
    case 7:
      return 4;
    default:
      return -1;
  }
}

}  // namespace

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::optional<SRecord> ParseSRecord(std::string_view line) {
  while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) {
    line.remove_suffix(1);
  }
  if (line.size() < 4 || line[0] != 'S') return std::nullopt;
  SRecord record;
  record.type = line[1] - '0';
  const int addressBytes = AddressBytes(record.type);
  if (addressBytes < 0) return std::nullopt;
  const std::string_view hex = line.substr(2);
  if (hex.size() % 2 != 0) return std::nullopt;
  std::vector<uint8_t> bytes;
  for (size_t i = 0; i < hex.size(); i += 2) {
    const int hi = HexDigitValue(hex[i]);
    const int lo = HexDigitValue(hex[i + 1]);
    if (hi < 0 || lo < 0) return std::nullopt;
    bytes.push_back(static_cast<uint8_t>(hi << 4 | lo));
  }
  // count = address + data + checksum bytes
  if (bytes.size() < 2 || bytes[0] != bytes.size() - 1) return std::nullopt;
  if (static_cast<int>(bytes[0]) < addressBytes + 1) return std::nullopt;
  unsigned sum = 0;
  for (size_t i = 0; i + 1 < bytes.size(); ++i) sum += bytes[i];
  if (static_cast<uint8_t>(~sum) != bytes.back()) return std::nullopt;
  for (int i = 0; i < addressBytes; ++i) record.address = record.address << 8 | bytes[1 + i];
  record.data.assign(bytes.begin() + 1 + addressBytes, bytes.end() - 1);
  return record;
}

}  // namespace tessaro::sim
