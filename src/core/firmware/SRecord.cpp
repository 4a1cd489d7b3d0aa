#include "core/firmware/SRecord.h"

namespace tessaro {
namespace {

std::optional<SRecord> Reject(SRecordFault why, SRecordFault* fault) {
  if (fault) *fault = why;
  return std::nullopt;
}

}  // namespace

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

int SRecordAddressBytes(int type) {
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

std::optional<SRecord> ParseSRecord(std::string_view line, SRecordFault* fault) {
  if (fault) *fault = SRecordFault::None;
  if (line.size() < 4 || line[0] != 'S' || line[1] < '0' || line[1] > '9')
    return Reject(SRecordFault::Malformed, fault);
  SRecord record;
  record.type = line[1] - '0';
  const int addressBytes = SRecordAddressBytes(record.type);
  const std::string_view hex = line.substr(2);
  if (addressBytes < 0 || hex.size() % 2 != 0) return Reject(SRecordFault::Malformed, fault);
  std::vector<uint8_t> bytes;
  bytes.reserve(hex.size() / 2);
  for (size_t i = 0; i < hex.size(); i += 2) {
    const int hi = HexDigitValue(hex[i]);
    const int lo = HexDigitValue(hex[i + 1]);
    if (hi < 0 || lo < 0) return Reject(SRecordFault::Malformed, fault);
    bytes.push_back(static_cast<uint8_t>(hi << 4 | lo));
  }
  // count = address + data + checksum bytes
  if (bytes[0] != bytes.size() - 1 || bytes[0] < addressBytes + 1)
    return Reject(SRecordFault::Count, fault);
  unsigned sum = 0;
  for (size_t i = 0; i + 1 < bytes.size(); ++i) sum += bytes[i];
  if (static_cast<uint8_t>(~sum) != bytes.back()) return Reject(SRecordFault::Checksum, fault);
  for (int i = 0; i < addressBytes; ++i) record.address = record.address << 8 | bytes[1 + i];
  record.data.assign(bytes.begin() + 1 + addressBytes, bytes.end() - 1);
  return record;
}

}  // namespace tessaro
