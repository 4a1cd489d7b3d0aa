#include "core/line/LineComponent.h"

#include "core/line/LineFraming.h"

namespace tessaro {
namespace {

constexpr int kCheckAttempts = 3;
// Leftovers are dropped byte by byte; a peer that never stops talking must
// not keep a command from going out. LinePurge is the means for bulk data.
constexpr int kMaxDrainBytes = 64 * 1024;

}  // namespace

bool TLineComponent::SendLine(std::string_view text) {
  std::string line;
  if (!BuildCommandLine(slaved_, slaveId_, text, LineTerminator(), line)) return false;
  return WriteBytes(reinterpret_cast<const uint8_t*>(line.data()), line.size());
}

bool TLineComponent::SendSlaveHeader() {
  if (!slaved_) return true;
  const std::string header = BuildSlaveHeader(slaveId_);
  return WriteBytes(reinterpret_cast<const uint8_t*>(header.data()), header.size());
}

bool TLineComponent::Command(std::string_view command, std::string& reply) {
  uint8_t byte;
  for (int drained = 0; drained < kMaxDrainBytes && HasData(); ++drained)
    if (!GetChar(byte)) break;
  if (!SendLine(command)) return false;
  return RecvLine(reply);
}

bool TLineComponent::CheckLine() {
  std::string reply;
  for (int attempt = 0; attempt < kCheckAttempts; ++attempt)
    if (Command("", reply) && IsCheckReply(reply)) return true;
  return false;
}

bool TLineComponent::CheckBlock(bool large, const uint8_t* buffer) {
  return BlockIntact(large, buffer);
}

}  // namespace tessaro
