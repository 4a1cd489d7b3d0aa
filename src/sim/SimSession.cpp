#include "sim/SimSession.h"

#include <cstdio>

#include "core/firmware/SRecord.h"
#include "core/line/LineFacade.h"
#include "sim/BlockSender.h"

namespace tessaro::sim {

namespace {

constexpr uint8_t kCR = 0x0D;
constexpr size_t kHeaderSize = 10;

// Bytes that may stand before a command and are not part of it: line feeds
// of CR LF senders and stray transfer control bytes.
bool IsLeadingNoise(uint8_t byte) {
  return byte == 0x0A || byte == 0x00 || byte == 0x04 || byte == 0x06 || byte == 0x15 ||
         byte == 0x18;
}

}  // namespace

std::string FrameSlaveReply(int slaveId, const std::string& text) {
  char header[16];
  std::snprintf(header, sizeof header, "%c %04XFFFF", kSTX,
                static_cast<unsigned>(slaveId) & 0xFFFF);
  return header + text;
}

SimSession::SimSession(SimStream& stream, const std::map<int, Recorder*>& recorders, bool slaved,
                       Faults& faults)
    : stream_(stream), recorders_(recorders), slaved_(slaved), faults_(faults) {}

IoResult SimSession::Run() {
  for (;;) {
    std::string line;
    bool overlong = false;
    IoResult result = ReadLine(line, overlong);
    if (result != IoResult::Ok) return result;
    result = Serve(line, overlong);
    if (result != IoResult::Ok) return result;
  }
}

IoResult SimSession::ReadLine(std::string& line, bool& overlong) {
  for (;;) {
    uint8_t byte = 0;
    const IoResult result = stream_.ReadByte(byte, -1, true);
    if (result != IoResult::Ok) return result;
    if (byte == kCR) return IoResult::Ok;
    if (line.empty() && IsLeadingNoise(byte)) continue;
    if (line.size() < kMaxLine) {
      line += static_cast<char>(byte);
    } else {
      overlong = true;
    }
  }
}

IoResult SimSession::Serve(const std::string& line, bool overlong) {
  int slaveId = -1;
  std::string command = line;
  if (slaved_) {
    // ENQ, blank, ID in 4 hex digits, 4 more bytes, command. Lines for other
    // IDs, or without the header, belong to no recorder here.
    if (line.size() < kHeaderSize || static_cast<uint8_t>(line[0]) != kENQ) return IoResult::Ok;
    slaveId = 0;
    for (size_t i = 2; i < 6; ++i) {
      const int digit = HexDigitValue(line[i]);
      if (digit < 0) return IoResult::Ok;
      slaveId = slaveId * 16 + digit;
    }
    command = line.substr(kHeaderSize);
  }
  const auto found = recorders_.find(slaveId);
  if (found == recorders_.end()) return IoResult::Ok;
  if (!faults_.CountCommand()) return IoResult::Ok;

  const FaultSettings faults = faults_.Get();
  SimReply reply;
  if (overlong) {
    reply.text = "??CMD";
  } else if (faults_.Refuses(command)) {
    reply.text = "??";
  } else {
    reply = found->second->Execute(command);
  }
  if (faults.lateReply > 0 && faults_.CommandsSeen() == faults.lateReply) {
    const IoResult slept = stream_.Sleep(faults.lateMs);
    if (slept != IoResult::Ok) return slept;
    int dropped = 0;
    uint8_t scrap = 0;
    while (stream_.PollByte(scrap)) ++dropped;
    faults_.CountDropped(dropped);
  }
  IoResult result = Reply(slaveId, reply.text, faults);
  if (result != IoResult::Ok || !reply.transfer) return result;

  BlockSender sender(stream_, faults, FaultsApplyTo(faults, command));
  switch (sender.Send(reply.mode, reply.data)) {
    case TransferEnd::Stopped:
      return IoResult::Stopped;
    case TransferEnd::Closed:
      return IoResult::Closed;
    default:
      return IoResult::Ok;
  }
}

IoResult SimSession::Reply(int slaveId, const std::string& text, const FaultSettings& faults) {
  if (faults.delayMs > 0) {
    const IoResult slept = stream_.Sleep(faults.delayMs);
    if (slept != IoResult::Ok) return slept;
  }
  std::string out = slaved_ ? FrameSlaveReply(slaveId, text) : text;
  out += static_cast<char>(kCR);
  return stream_.Write(reinterpret_cast<const uint8_t*>(out.data()), out.size(), faults.baud);
}

}  // namespace tessaro::sim
