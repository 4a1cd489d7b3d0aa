#include "core/recorder/RecorderSession.h"

#include <algorithm>

#include "core/line/LineFacade.h"
#include "core/recorder/BlockSequence.h"
#include "core/recorder/RecorderReply.h"
#include "core/support/Pump.h"

namespace tessaro {
namespace {

constexpr int kMaxRetries = 3;  // the fourth bad block in a row ends the transfer

}  // namespace

AreaSink MemorySink(std::vector<uint8_t>& bytes) {
  return [&bytes](const uint8_t* data, size_t size) {
    bytes.insert(bytes.end(), data, data + size);
    return true;
  };
}

void RecorderSession::CheckLine(int failure) {
  LinePurge(line_);
  Require(LineCheck(line_), failure);
}

std::string RecorderSession::Ask(std::string_view command, int failure) {
  std::string reply;
  Require(LineCommand(line_, command, reply), failure);
  return reply;
}

std::optional<std::string> RecorderSession::AskPresent(std::string_view command, int failure) {
  std::string reply = Ask(command, failure);
  if (IsRefusal(reply)) return std::nullopt;
  return reply;
}

std::string RecorderSession::AskRequired(std::string_view command, int failure) {
  std::string reply = Ask(command, failure);
  Require(!IsRefusal(reply), failure);
  return reply;
}

std::optional<std::string> RecorderSession::TryAsk(std::string_view command) {
  std::string reply;
  if (!LineCommand(line_, command, reply) || IsRefusal(reply)) return std::nullopt;
  return reply;
}

void RecorderSession::Status(int message) { progress_.SetMessage(LoadMessage(message)); }

void RecorderSession::Percent(int percent) {
  if (percent == percent_) return;
  percent_ = percent;
  progress_.SetPercent(percent);
}

void RecorderSession::CheckCancel() { Require(!progress_.CancelRequested(), MsgCancelPressed); }

void RecorderSession::Drain() {
  uint8_t scrap = 0;
  while (LineHasData(line_) && LineGetChar(line_, scrap)) {
  }
}

void RecorderSession::ReceiveArea(const std::string& command, AreaTally& area, const AreaSink& sink,
                                  TransferProgress progress, int failure) {
  Require(TryReceiveArea(command, area, sink, progress), failure);
}

bool RecorderSession::TryReceiveArea(const std::string& command, AreaTally& area,
                                     const AreaSink& sink, TransferProgress progress) {
  const bool large = command.rfind("xdm1k", 0) == 0;
  const bool mnp = !large && command.rfind("mnp", 0) == 0;
  const size_t size = large ? kLargeBlockData : kSmallBlockData;

  LinePurge(line_);
  std::string reply;
  if (!LineCommand(line_, command, reply) || reply.rfind("!!", 0) != 0) return false;
  if (!LinePutChar(line_, kNAK)) return false;

  BlockSequence sequence;
  int retries = 0;
  uint8_t block[kBlockBufferSize];
  for (;;) {
    if (progress_.CancelRequested()) {
      LinePutChar(line_, kCAN);
      return false;
    }
    const int result = LineRecvBlock(line_, large, block);
    if (result == BlockEnd) {
      if (!mnp) LinePutChar(line_, kACK);
      // EOT before the area is whole: the recorder or a gateway gave up.
      if (!area.Complete()) return false;
      if (progress == TransferProgress::Shown) Percent(100);
      return true;
    }
    BlockSequence::Verdict verdict = BlockSequence::Verdict::Bad;
    if (result == BlockOk && LineCheckBlock(large, block))
      verdict = sequence.Classify(block[1], block + 3, size);
    if (verdict == BlockSequence::Verdict::Bad) {
      if (mnp || retries >= kMaxRetries) {
        LinePutChar(line_, kCAN);
        return false;
      }
      ++retries;
      Drain();
      PumpMessages();
      Drain();
      LinePutChar(line_, kNAK);
      continue;
    }
    retries = 0;
    if (verdict == BlockSequence::Verdict::Repeat) {
      // Its ACK was lost: the sink has its data already.
      if (!mnp) LinePutChar(line_, kACK);
      continue;
    }
    if (!sink(block + 3, size)) {
      LinePutChar(line_, kCAN);
      return false;
    }
    if (!mnp) LinePutChar(line_, kACK);
    area.Add(block + 3, size);
    if (progress == TransferProgress::Shown) {
      const int64_t total = area.Minimum();
      Percent(total > 0 ? static_cast<int>(std::min<int64_t>(100, area.Bytes() * 100 / total))
                        : 100);
    }
  }
}

}  // namespace tessaro
