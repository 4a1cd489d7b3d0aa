#include "core/collect/ThredTess.h"

#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <optional>

#include "core/collect/CollectionBusy.h"
#include "core/collect/ConversionStep.h"
#include "core/collect/RlbWriter.h"
#include "core/line/LineFacade.h"
#include "core/recorder/AreaTally.h"
#include "core/recorder/BlockSequence.h"
#include "core/recorder/RecorderReply.h"
#include "core/recorder/TransferMode.h"
#include "core/support/Messages.h"
#include "core/support/Pump.h"

namespace tessaro {
namespace {

constexpr int kRomModel = 100;
constexpr int kRomSubModel = 101;
constexpr int kRomVersion = 102;
constexpr int kRomAttributeSize = 106;
constexpr int kRomRingCount = 108;
constexpr int kRomCapability = 120;

constexpr int kBattFilePointer = 640;
constexpr int kGroupInterval = 260;
constexpr int kGroupIntervalNew = 3000;
constexpr int kGroupStart = 800;
constexpr int kGroupDataCount = 802;
constexpr int kGroupByteCount = 806;
constexpr int kGroupStartPointer = 880;
constexpr int kGroupStopPointer = 881;

constexpr int kMaxSelectableRings = 32;
constexpr int kMaxRetries = 3;  // the fourth bad block in a row ends the transfer

// A failed step: the user's text.
struct CollectFailure {
  int message;
};

[[noreturn]] void Fail(int message) { throw CollectFailure{message}; }

void Require(bool ok, int message) {
  if (!ok) Fail(message);
}

class Collector {
 public:
  Collector(LineContext& line, const CollectionRequest& request, ProgressReporter& progress)
      : line_(line), request_(request), progress_(progress) {}

  // Fills the RLB file; throws CollectFailure. The file is complete, under
  // its temporary name, only when this returns.
  void CollectRing();
  // Puts the completed file under its name.
  bool KeepRlb() { return writer_.Commit(); }
  const std::string& RlbReadablePath() const { return writer_.ReadablePath(); }
  std::string FailureReason() const { return writer_.FailureReason(); }

 private:
  enum class AreaResult { Ok, Failed };

  std::string Command(const std::string& command, int failure) {
    std::string reply;
    Require(LineCommand(line_, command, reply), failure);
    return reply;
  }
  static std::string Numbered(const char* prefix, int number) {
    return prefix + std::to_string(number);
  }
  void Status(int message) { progress_.SetMessage(LoadMessage(message)); }
  void Percent(int percent) {
    if (percent == percent_) return;
    percent_ = percent;
    progress_.SetPercent(percent);
  }
  void Drain() {
    uint8_t scrap = 0;
    while (LineHasData(line_) && LineGetChar(line_, scrap)) {
    }
  }
  // Receives one area into the file at the current position; true only when
  // the transfer ended with EOT and brought the whole area. With progress on,
  // the area's minimum size makes 100 %.
  bool ReceiveArea(const std::string& command, AreaTally& area, bool showProgress);
  void ReceiveRing(int ring, int stored);
  int64_t GroupInteger(int64_t filePointer, int number, int failure);

  LineContext& line_;
  const CollectionRequest& request_;
  ProgressReporter& progress_;
  RlbWriter writer_;
  TransferMode mode_ = TransferMode::Xdm;
  int percent_ = -1;
};

bool Collector::ReceiveArea(const std::string& command, AreaTally& area, bool showProgress) {
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
      if (showProgress) Percent(100);
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
      // Its ACK was lost: the data is in the file already.
      if (!mnp) LinePutChar(line_, kACK);
      continue;
    }
    if (!writer_.WriteBlock(block + 3, size)) {
      LinePutChar(line_, kCAN);
      return false;
    }
    if (!mnp) LinePutChar(line_, kACK);
    area.Add(block + 3, size);
    if (showProgress) {
      const int64_t total = area.Minimum();
      Percent(total > 0 ? static_cast<int>(std::min<int64_t>(100, area.Bytes() * 100 / total))
                        : 100);
    }
  }
}

int64_t Collector::GroupInteger(int64_t filePointer, int number, int failure) {
  const auto tuple = writer_.ReadGroupTuple(filePointer, number);
  Require(tuple && tuple->IsInteger(), failure);
  return tuple->Integer();
}

void Collector::ReceiveRing(int ring, int stored) {
  const auto pointer = writer_.ReadBattTuple(kBattFilePointer + ring);
  Require(pointer && pointer->IsInteger(), MsgFilePointerReadFailed);
  const int64_t filePointer = pointer->Integer();
  Require(writer_.WriteBattInteger(kBattFilePointer + stored, filePointer),
          MsgFilePointerWriteFailed);
  const int64_t byteCount = GroupInteger(filePointer, kGroupByteCount, MsgByteCountReadFailed);

  if (ring == 0)
    progress_.SetMessage(LoadMessage(MsgNewRingReading));
  else
    progress_.SetMessage(FormatMessage(MsgOldRingReading, ring));
  Percent(0);
  const auto ringStart = writer_.Position();
  Require(ringStart.has_value(), MsgDataTransferFailed);
  AreaTally data = AreaTally::AtLeast(byteCount);
  if (!ReceiveArea(Numbered((std::string(TransferPrefix(mode_)) + "dd").c_str(), ring + 1), data,
                   true))
    Fail(progress_.CancelRequested() ? MsgCancelPressed : MsgDataTransferFailed);

  const int64_t relativeStart = *ringStart - writer_.RingDataStart();
  const int64_t skipBytes = request_.skipCount > 0 ? request_.skipBytes : 0;
  Require(writer_.WriteGroupInteger(filePointer, kGroupStartPointer, relativeStart + skipBytes),
          MsgStartPointerWriteFailed);
  Require(writer_.WriteGroupInteger(filePointer, kGroupStopPointer, relativeStart + byteCount),
          MsgStopPointerWriteFailed);
  if (request_.skipCount > 0) {
    // The oldest records were overwritten: the ring now starts SkipCount
    // records later, and its start time moves with it.
    auto interval = writer_.ReadGroupTuple(filePointer, kGroupInterval);
    if (!interval || !interval->IsInteger())
      interval = writer_.ReadGroupTuple(filePointer, kGroupIntervalNew);
    Require(interval && interval->IsInteger(), MsgIntervalReadFailed);
    const auto start = writer_.ReadGroupTuple(filePointer, kGroupStart);
    Require(start && start->type == kTypeDateTime, MsgStartTimeReadFailed);
    RecorderDateTime startTime = start->DateTime();
    AddSeconds(startTime, IntervalSpan(static_cast<int>(interval->Integer()), request_.skipCount));
    Require(writer_.WriteGroupDateTime(filePointer, kGroupStart, startTime),
            MsgStartTimeWriteFailed);
    const int64_t dataCount = GroupInteger(filePointer, kGroupDataCount, MsgDataCountReadFailed);
    Require(writer_.WriteGroupInteger(filePointer, kGroupDataCount, dataCount - request_.skipCount),
            MsgDataCountWriteFailed);
    const int64_t bytes = GroupInteger(filePointer, kGroupByteCount, MsgByteCountReadFailed);
    Require(writer_.WriteGroupInteger(filePointer, kGroupByteCount, bytes - skipBytes),
            MsgByteCountWriteFailed);
  }
  // The next ring (or the end marker) follows the received bytes proper, not
  // the padding of the last block.
  Require(writer_.SeekTo(*ringStart + byteCount), MsgDataTransferFailed);
}

void Collector::CollectRing() {
  Percent(0);
  Status(MsgCollectGathering);
  using Existing = SafeOutputFile::Existing;
  Require(writer_.Create(request_.rlbPath, !request_.saveDataFile ? Existing::Ignore
                                           : request_.replaceRlb  ? Existing::Replace
                                                                  : Existing::Refuse),
          MsgRlbCreateFailed);
  LinePurge(line_);
  Require(LineCheck(line_), MsgLineCheckFailed);

  const std::string capability = Command(Numbered("romr", kRomCapability), MsgNoEchoBack);
  mode_ = ChooseTransferMode(
      IsRefusal(capability) ? std::nullopt : std::optional<int64_t>(ReplyInteger(capability)),
      request_.highSpeedMode);

  const std::string rings = Command(Numbered("romr", kRomRingCount), MsgRingCountReadFailed);
  const int ringCount =
      IsRefusal(rings) ? 1 : static_cast<int>(std::clamp<int64_t>(ReplyInteger(rings), 0, 0xFFFF));
  const int64_t attributeSize =
      ReplyInteger(Command(Numbered("romr", kRomAttributeSize), MsgAttributeSizeReadFailed));
  Require(attributeSize >= 1, MsgAttributeSizeInvalid);

  Require(writer_.WriteHeader(ringCount), MsgRlbHeaderWriteFailed);
  Require(writer_.SetFileType(), MsgFileTypeWriteFailed);
  Require(writer_.SetVersion(Command("ver", MsgVersionReadFailed)), MsgVersionWriteFailed);
  const struct {
    int tuple, readFailure, writeFailure;
    bool (RlbWriter::*set)(int);
  } codes[] = {
      {kRomModel, MsgModelReadFailed, MsgModelWriteFailed, &RlbWriter::SetModel},
      {kRomSubModel, MsgSubModelReadFailed, MsgSubModelWriteFailed, &RlbWriter::SetSubModel},
      {kRomVersion, MsgRomVersionReadFailed, MsgRomVersionWriteFailed, &RlbWriter::SetRomVersion},
  };
  for (const auto& code : codes) {
    const int64_t value = ReplyInteger(Command(Numbered("romr", code.tuple), code.readFailure));
    Require((writer_.*code.set)(static_cast<int>(value)), code.writeFailure);
  }
  Require(writer_.SetFileMemo(), MsgFileMemoWriteFailed);
  const DateTimeFields now = NowFields();
  Require(writer_.SetCollectionTime(EncodeDateTime(now)), MsgCollectionTimeWriteFailed);

  const std::string prefix = TransferPrefix(mode_);
  // ROM and EEP declare no size: their tuple chains must reach the end.
  AreaTally rom = AreaTally::TupleChain();
  AreaTally eep = AreaTally::TupleChain();
  AreaTally batt = AreaTally::AtLeast(attributeSize);
  Status(MsgRomAreaReading);
  Require(writer_.BeginAreas() && ReceiveArea(prefix + "rr", rom, false), MsgRomAreaFailed);
  Status(MsgEepAreaReading);
  Require(writer_.MarkEepArea() && ReceiveArea(prefix + "ee", eep, false), MsgEepAreaFailed);
  Status(MsgBattAreaReading);
  Require(writer_.MarkBattArea() && ReceiveArea(prefix + "bb", batt, true), MsgBattAreaFailed);
  Require(writer_.MarkRingDataArea(), MsgBattAreaFailed);

  int stored = 0;
  for (int ring = 0; ring < kMaxSelectableRings; ++ring) {
    if ((request_.ringMask & (0x80000000u >> ring)) == 0) continue;
    ReceiveRing(ring, stored);
    ++stored;
  }

  Status(MsgRlbManagementWriting);
  switch (writer_.Finish(stored, ringCount)) {
    case RlbWriter::FinishResult::Ok:
      break;
    case RlbWriter::FinishResult::BattAccessFailed:
      Fail(MsgBattAccessFailed);
    case RlbWriter::FinishResult::FilePointerFailed:
      Fail(MsgFilePointerReadFailed);
    case RlbWriter::FinishResult::WriteFailed:
      Fail(MsgRlbHeaderWriteFailed);
  }
  Require(writer_.Complete(), MsgRlbHeaderWriteFailed);
}

}  // namespace

StepResult TThredTess::Run(LineContext& line, const CollectionRequest& request,
                           const DefinitionDb& db, ProgressReporter& progress) {
  StepResult result;
  try {
    Collector collector(line, request, progress);  // an RLB file not kept goes with it
    bool collected = false;
    try {
      collector.CollectRing();
      collected = true;
    } catch (const CollectFailure& failure) {
      result = StepResult::Failure(LoadMessage(failure.message), collector.FailureReason());
    }
    if (collected && request.saveDataFile && !collector.KeepRlb()) {
      result = StepResult::Failure(LoadMessage(MsgRlbCreateFailed), collector.FailureReason());
      collected = false;
    }
    if (collected) {
      ConversionJob job;
      job.rlbPath = request.rlbPath;
      job.sourcePath = collector.RlbReadablePath();
      job.csvPath = request.csvPath;
      job.csvType = request.csvType;
      job.keepRlb = request.saveDataFile;
      job.conversion = false;
      job.programFolder = request.programFolder;
      result = RunConversionStep(job, db, progress);
    }
  } catch (const std::bad_alloc&) {
    result = StepResult::Failure(LoadMessage(MsgOutOfMemory));
  } catch (const std::exception&) {
    result = StepResult::Failure(LoadMessage(MsgFormInitFailed));
  }
  if (!result && !result.message.empty()) progress.FlashError(result.message);
  return result;
}

TThredTess::TThredTess(LineContext& line, CollectionRequest request, const DefinitionDb& db,
                       ProgressReporter& progress) {
  std::promise<StepResult> promise;
  result_ = promise.get_future().share();
  // Set before the thread exists: a thread that ends at once must not clear
  // the flag before its owner starts waiting on it.
  CollectionBusy = true;
  try {
    thread_ = std::thread([&line, &db, &progress, request = std::move(request),
                           promise = std::move(promise)]() mutable {
      StepResult result = Run(line, request, db, progress);
      CollectionBusy = false;  // before the end is published to whoever waits
      promise.set_value(std::move(result));
    });
  } catch (...) {
    CollectionBusy = false;
    throw;
  }
}

TThredTess::~TThredTess() {
  if (thread_.joinable()) thread_.join();
}

bool TThredTess::WaitFor(std::chrono::milliseconds timeout) const {
  return result_.wait_for(timeout) == std::future_status::ready;
}

void TThredTess::Wait() const { result_.wait(); }

StepResult TThredTess::Result() const { return result_.get(); }

}  // namespace tessaro
