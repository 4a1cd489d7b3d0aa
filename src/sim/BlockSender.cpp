#include "sim/BlockSender.h"

#include <algorithm>

#include "core/line/LineFacade.h"

namespace tessaro::sim {

namespace {

constexpr int kMaxTries = 10;             // sends of one block before giving up
constexpr int kSilenceTimeoutMs = 60000;  // how long a silenced sender waits for CAN

}  // namespace

BlockSender::BlockSender(SimStream& stream, const FaultSettings& faults, bool applyFaults,
                         int responseTimeoutMs)
    : stream_(stream),
      faults_(faults),
      applyFaults_(applyFaults),
      responseTimeoutMs_(responseTimeoutMs) {
  if (!applyFaults_) {
    faults_.corruptBlock = faults_.dropBlock = faults_.repeatBlock = faults_.stopAfterBlock = 0;
    faults_.eotAfterBlocks = -1;
    faults_.extraBlocks = 0;
  }
}

std::vector<uint8_t> BlockSender::MakeBlock(int number, const uint8_t* data, size_t available,
                                            int size) {
  std::vector<uint8_t> block(static_cast<size_t>(size) + 4, kPad);
  block[0] = kSOH;
  block[1] = static_cast<uint8_t>(number);
  block[2] = static_cast<uint8_t>(~number);
  std::copy_n(data, std::min(available, static_cast<size_t>(size)), block.begin() + 3);
  unsigned sum = 0;
  for (int i = 0; i < size; ++i) sum += block[static_cast<size_t>(3 + i)];
  block.back() = static_cast<uint8_t>(sum);
  return block;
}

bool BlockSender::Write(const std::vector<uint8_t>& bytes) {
  lastIo_ = stream_.Write(bytes.data(), bytes.size(), faults_.baud);
  return lastIo_ == IoResult::Ok;
}

TransferEnd BlockSender::Failure() const {
  if (lastIo_ == IoResult::Stopped) return TransferEnd::Stopped;
  if (lastIo_ == IoResult::Closed) return TransferEnd::Closed;
  return TransferEnd::Abandoned;
}

BlockSender::Answer BlockSender::AwaitAnswer() {
  for (;;) {
    uint8_t byte = 0;
    lastIo_ = stream_.ReadByte(byte, responseTimeoutMs_);
    switch (lastIo_) {
      case IoResult::Ok:
        if (byte == kACK) return Answer::Ack;
        if (byte == kNAK) return Answer::Nak;
        if (byte == kCAN) return Answer::Can;
        continue;  // anything else is line noise
      case IoResult::Timeout:
        return Answer::Timeout;
      case IoResult::Stopped:
        return Answer::Stopped;
      default:
        return Answer::Closed;
    }
  }
}

TransferEnd BlockSender::Silence() {
  for (;;) {
    uint8_t byte = 0;
    lastIo_ = stream_.ReadByte(byte, kSilenceTimeoutMs);
    if (lastIo_ != IoResult::Ok) return Failure();
    if (byte == kCAN) return TransferEnd::Cancelled;
  }
}

TransferEnd BlockSender::Send(TransferMode mode, const std::vector<uint8_t>& data) {
  const bool mnp = mode == TransferMode::Mnp;
  const int size = BlockDataSize(mode);

  // The receiver opens with NAK.
  for (int tries = 0;; ++tries) {
    const Answer answer = AwaitAnswer();
    if (answer == Answer::Nak) break;
    if (answer == Answer::Can) return TransferEnd::Cancelled;
    if (answer == Answer::Stopped || answer == Answer::Closed) return Failure();
    if (answer == Answer::Timeout && tries >= 2) return TransferEnd::Abandoned;
  }

  size_t blocks = (data.size() + static_cast<size_t>(size) - 1) / static_cast<size_t>(size) +
                  static_cast<size_t>(std::max(faults_.extraBlocks, 0));
  if (faults_.eotAfterBlocks >= 0)
    blocks = std::min(blocks, static_cast<size_t>(faults_.eotAfterBlocks));
  int corrupted = 0;
  bool dropped = false;
  bool repeated = false;
  for (size_t index = 0; index < blocks; ++index) {
    const int k = static_cast<int>(index + 1);
    // Extra blocks lie beyond the data and carry padding only.
    const size_t offset = std::min(index * static_cast<size_t>(size), data.size());
    const std::vector<uint8_t> block =
        MakeBlock(k, data.data() + offset, data.size() - offset, size);
    int sends = faults_.repeatBlock == k && !repeated ? 2 : 1;
    for (int tries = 0; sends > 0;) {
      if (k == faults_.dropBlock && !dropped) {
        dropped = true;  // lost on the line: nothing goes out
      } else if (k == faults_.corruptBlock && corrupted < faults_.corruptTimes) {
        ++corrupted;
        std::vector<uint8_t> bad = block;
        bad[3] ^= 0x5A;  // data changed, sum kept
        if (!Write(bad)) return Failure();
      } else {
        if (!Write(block)) return Failure();
      }
      if (k == faults_.stopAfterBlock) return Silence();
      Answer answer = Answer::Ack;
      if (mnp) {
        uint8_t byte = 0;
        while (stream_.PollByte(byte)) {
          if (byte == kCAN) return TransferEnd::Cancelled;
        }
      } else {
        answer = AwaitAnswer();
      }
      switch (answer) {
        case Answer::Ack:
          if (--sends == 1) repeated = true;  // the ACK "lost": same block again
          tries = 0;
          break;
        case Answer::Can:
          return TransferEnd::Cancelled;
        case Answer::Stopped:
        case Answer::Closed:
          return Failure();
        default:  // NAK or no answer: send the block again
          if (++tries >= kMaxTries) return TransferEnd::Abandoned;
          break;
      }
    }
  }

  const std::vector<uint8_t> eot{kEOT};
  for (int tries = 0;; ++tries) {
    if (!Write(eot)) return Failure();
    if (mnp) return TransferEnd::Completed;
    const Answer answer = AwaitAnswer();
    if (answer == Answer::Ack || answer == Answer::Can) return TransferEnd::Completed;
    if (answer == Answer::Stopped || answer == Answer::Closed) return Failure();
    if (tries + 1 >= kMaxTries) return TransferEnd::Abandoned;
  }
}

}  // namespace tessaro::sim
