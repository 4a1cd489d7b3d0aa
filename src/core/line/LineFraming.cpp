#include "core/line/LineFraming.h"

#include <cstdio>

namespace tessaro {
namespace {

constexpr char kEnq = 0x05;
constexpr char kStx = 0x02;

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

std::string BuildSlaveHeader(int slaveId) {
  char id[16];
  std::snprintf(id, sizeof id, "%04X", static_cast<unsigned>(slaveId) & 0xFFFFu);
  std::string header;
  header += kEnq;
  header += ' ';
  header += id;
  header += "FFFF";
  return header;
}

bool BuildCommandLine(bool slaved, int slaveId, std::string_view text, std::string_view terminator,
                      std::string& line) {
  const size_t size = (slaved ? kSlaveHeaderSize : 0) + text.size() + terminator.size();
  if (size > static_cast<size_t>(kMaxCommandLine)) return false;
  line.clear();
  line.reserve(size);
  if (slaved) line += BuildSlaveHeader(slaveId);
  line += text;
  line += terminator;
  return true;
}

int ParseHex4(std::string_view field) {
  if (field.size() != 4) return 0;
  int value = 0;
  for (char c : field) {
    const int digit = HexDigit(c);
    if (digit < 0) return 0;
    value = value * 16 + digit;
  }
  return value;
}

bool TakeReplyText(std::string_view raw, bool slaved, int slaveId, std::string& text) {
  if (slaved) {
    if (raw.size() < static_cast<size_t>(kSlaveHeaderSize) || raw[0] != kStx) return false;
    // The header carries 16 bits of the ID, so compare what was sent.
    if (ParseHex4(raw.substr(2, 4)) != (slaveId & 0xFFFF)) return false;
    raw.remove_prefix(kSlaveHeaderSize);
  }
  text.assign(raw.substr(0, raw.find('\0')));
  return true;
}

bool IsCheckReply(std::string_view reply) {
  constexpr std::string_view kCheck = "??CMD";
  if (reply.size() < kCheck.size()) return false;
  for (size_t i = 0; i < kCheck.size(); ++i)
    if (Upper(reply[i]) != kCheck[i]) return false;
  return true;
}

bool BlockIntact(bool large, const uint8_t* block) {
  if (block[2] != static_cast<uint8_t>(~block[1])) return false;
  const int n = BlockDataLength(large);
  uint8_t sum = 0;
  for (int i = 0; i < n; ++i) sum = static_cast<uint8_t>(sum + block[3 + i]);
  return sum == block[3 + n];
}

}  // namespace tessaro
