#include "core/collect/ThredTess.h"

#include <unistd.h>

#include <algorithm>
#include <new>
#include <optional>

#include "core/collect/CollectionBusy.h"
#include "core/collect/ConversionStep.h"
#include "core/collect/RlbWriter.h"
#include "core/collect/WorkerStep.h"
#include "core/recorder/AreaTally.h"
#include "core/recorder/RecorderReply.h"
#include "core/recorder/RecorderSession.h"
#include "core/recorder/TransferMode.h"
#include "core/recorder/TupleNumbers.h"
#include "core/support/Messages.h"

namespace tessaro {
namespace {

using namespace tuples;

constexpr int kMaxSelectableRings = 32;

class Collector {
 public:
  Collector(LineContext& line, const CollectionRequest& request, ProgressReporter& progress)
      : session_(line, progress), request_(request) {}

  // Fills the RLB file; throws RecorderFailure. The file is complete, under
  // its temporary name, only when this returns.
  void CollectRing();
  // Puts the completed file under its name.
  bool KeepRlb() { return writer_.Commit(); }
  const std::string& RlbReadablePath() const { return writer_.ReadablePath(); }
  std::string FailureReason() const { return writer_.FailureReason(); }

 private:
  std::string RomValue(int number, int failure) {
    return session_.ReadTuple(Area::Rom, number, failure);
  }
  // Receives one area into the file at the current position.
  bool ReceiveArea(const std::string& command, AreaTally& area, TransferProgress progress) {
    return session_.TryReceiveArea(
        command, area,
        [this](const uint8_t* data, size_t size) { return writer_.WriteBlock(data, size); },
        progress);
  }
  void ReceiveRing(int ring, int stored);
  int64_t GroupInteger(int64_t filePointer, int number, int failure);

  RecorderSession session_;
  const CollectionRequest& request_;
  RlbWriter writer_;
  TransferMode mode_ = TransferMode::Xdm;
};

int64_t Collector::GroupInteger(int64_t filePointer, int number, int failure) {
  const auto tuple = writer_.ReadGroupTuple(filePointer, number);
  Require(tuple && tuple->IsInteger(), failure);
  return tuple->Integer();
}

void Collector::ReceiveRing(int ring, int stored) {
  const auto pointer = writer_.ReadBattTuple(kFilePointer + ring);
  Require(pointer && pointer->IsInteger(), MsgFilePointerReadFailed);
  const int64_t filePointer = pointer->Integer();
  Require(writer_.WriteBattInteger(kFilePointer + stored, filePointer), MsgFilePointerWriteFailed);
  const int64_t byteCount = GroupInteger(filePointer, kByteCount, MsgByteCountReadFailed);

  ProgressReporter& progress = session_.Progress();
  if (ring == 0)
    progress.SetMessage(LoadMessage(MsgNewRingReading));
  else
    progress.SetMessage(FormatMessage(MsgOldRingReading, ring));
  session_.Percent(0);
  const auto ringStart = writer_.Position();
  Require(ringStart.has_value(), MsgDataTransferFailed);
  AreaTally data = AreaTally::AtLeast(byteCount);
  if (!ReceiveArea(std::string(TransferPrefix(mode_)) + "dd" + std::to_string(ring + 1), data,
                   TransferProgress::Shown))
    Fail(session_.CancelRequested() ? MsgCancelPressed : MsgDataTransferFailed);

  const int64_t relativeStart = *ringStart - writer_.RingDataStart();
  const int64_t skipBytes = request_.skipCount > 0 ? request_.skipBytes : 0;
  Require(writer_.WriteGroupInteger(filePointer, kStartPointer, relativeStart + skipBytes),
          MsgStartPointerWriteFailed);
  Require(writer_.WriteGroupInteger(filePointer, kStopPointer, relativeStart + byteCount),
          MsgStopPointerWriteFailed);
  if (request_.skipCount > 0) {
    // The oldest records were overwritten: the ring now starts SkipCount
    // records later, and its start time moves with it.
    auto interval = writer_.ReadGroupTuple(filePointer, kIntervalSeries.older);
    if (!interval || !interval->IsInteger())
      interval = writer_.ReadGroupTuple(filePointer, kIntervalSeries.newer);
    Require(interval && interval->IsInteger(), MsgIntervalReadFailed);
    const auto start = writer_.ReadGroupTuple(filePointer, kStartTime);
    Require(start && start->type == kTypeDateTime, MsgStartTimeReadFailed);
    RecorderDateTime startTime = start->DateTime();
    AddSeconds(startTime, IntervalSpan(static_cast<int>(interval->Integer()), request_.skipCount));
    Require(writer_.WriteGroupDateTime(filePointer, kStartTime, startTime),
            MsgStartTimeWriteFailed);
    const int64_t dataCount = GroupInteger(filePointer, kDataCount, MsgDataCountReadFailed);
    Require(writer_.WriteGroupInteger(filePointer, kDataCount, dataCount - request_.skipCount),
            MsgDataCountWriteFailed);
    const int64_t bytes = GroupInteger(filePointer, kByteCount, MsgByteCountReadFailed);
    Require(writer_.WriteGroupInteger(filePointer, kByteCount, bytes - skipBytes),
            MsgByteCountWriteFailed);
  }
  // The next ring (or the end marker) follows the received bytes proper, not
  // the padding of the last block.
  Require(writer_.SeekTo(*ringStart + byteCount), MsgDataTransferFailed);
}

void Collector::CollectRing() {
  session_.Percent(0);
  session_.Status(MsgCollectGathering);
  using Existing = SafeOutputFile::Existing;
  Require(writer_.Create(request_.rlbPath, !request_.saveDataFile ? Existing::Ignore
                                           : request_.replaceRlb  ? Existing::Replace
                                                                  : Existing::Refuse),
          MsgRlbCreateFailed);
  session_.CheckLine();

  const std::string capability = RomValue(kRomCapability, MsgNoEchoBack);
  mode_ = ChooseTransferMode(
      IsRefusal(capability) ? std::nullopt : std::optional<int64_t>(ReplyInteger(capability)),
      request_.highSpeedMode);

  const std::string rings = RomValue(kRomRingCount, MsgRingCountReadFailed);
  const int ringCount =
      IsRefusal(rings) ? 1 : static_cast<int>(std::clamp<int64_t>(ReplyInteger(rings), 0, 0xFFFF));
  const int64_t attributeSize =
      ReplyInteger(RomValue(kRomAttributeSize, MsgAttributeSizeReadFailed));
  Require(attributeSize >= 1, MsgAttributeSizeInvalid);

  Require(writer_.WriteHeader(ringCount), MsgRlbHeaderWriteFailed);
  Require(writer_.SetFileType(), MsgFileTypeWriteFailed);
  Require(writer_.SetVersion(session_.Ask("ver", MsgVersionReadFailed)), MsgVersionWriteFailed);
  const struct {
    int tuple, readFailure, writeFailure;
    bool (RlbWriter::*set)(int);
  } codes[] = {
      {kRomModel, MsgModelReadFailed, MsgModelWriteFailed, &RlbWriter::SetModel},
      {kRomSubModel, MsgSubModelReadFailed, MsgSubModelWriteFailed, &RlbWriter::SetSubModel},
      {kRomVersion, MsgRomVersionReadFailed, MsgRomVersionWriteFailed, &RlbWriter::SetRomVersion},
  };
  for (const auto& code : codes) {
    const int64_t value = ReplyInteger(RomValue(code.tuple, code.readFailure));
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
  session_.Status(MsgRomAreaReading);
  Require(writer_.BeginAreas() && ReceiveArea(prefix + "rr", rom, TransferProgress::Hidden),
          MsgRomAreaFailed);
  session_.Status(MsgEepAreaReading);
  Require(writer_.MarkEepArea() && ReceiveArea(prefix + "ee", eep, TransferProgress::Hidden),
          MsgEepAreaFailed);
  session_.Status(MsgBattAreaReading);
  Require(writer_.MarkBattArea() && ReceiveArea(prefix + "bb", batt, TransferProgress::Shown),
          MsgBattAreaFailed);
  Require(writer_.MarkRingDataArea(), MsgBattAreaFailed);

  int stored = 0;
  for (int ring = 0; ring < kMaxSelectableRings; ++ring) {
    if ((request_.ringMask & (0x80000000u >> ring)) == 0) continue;
    ReceiveRing(ring, stored);
    ++stored;
  }

  session_.Status(MsgRlbManagementWriting);
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
  return RunWorkerStep(progress, [&] {
    Collector collector(line, request, progress);  // an RLB file not kept goes with it
    try {
      collector.CollectRing();
    } catch (const RecorderFailure& failure) {
      return StepResult::Failure(LoadMessage(failure.message), collector.FailureReason());
    }
    if (request.saveDataFile && !collector.KeepRlb())
      return StepResult::Failure(LoadMessage(MsgRlbCreateFailed), collector.FailureReason());
    ConversionJob job;
    job.rlbPath = request.rlbPath;
    job.sourcePath = collector.RlbReadablePath();
    job.csvPath = request.csvPath;
    job.csvType = request.csvType;
    job.keepRlb = request.saveDataFile;
    job.conversion = false;
    job.programFolder = request.programFolder;
    return RunConversionStep(job, db, progress);
  });
}

TThredTess::TThredTess(LineContext& line, CollectionRequest request, const DefinitionDb& db,
                       ProgressReporter& progress)
    : operation_([&line, &db, &progress,
                  request = std::move(request)] { return Run(line, request, db, progress); },
                 &CollectionBusy) {}

bool TThredTess::WaitFor(std::chrono::milliseconds timeout) const {
  return operation_.WaitFor(timeout);
}

void TThredTess::Wait() const { operation_.Wait(); }

StepResult TThredTess::Result() const { return operation_.Result(); }

}  // namespace tessaro
