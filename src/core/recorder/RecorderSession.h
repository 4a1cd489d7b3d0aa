#pragma once
// One operation's conversation with the recorder: single-line commands,
// tuple reads and writes, and area transfers over the line, with status and
// percentage on the progress reporter. Every verb that takes a failure
// message throws RecorderFailure with it when its step fails; run the
// operation with RunOperation to turn that into a StepResult.
//
//   RecorderSession session(line, progress);
//   session.CheckLine();
//   std::string clock = session.Ask("rtcr", MsgNoEchoBack);
//   auto list = session.AskPresent("askprs", MsgPreTimerListReadFailed);  // nullopt: "??"
//   std::string memo = session.ReadTuple(Area::Batt, tuples::kMemo + k, MsgLineCheckFailed);
//   std::string echo = session.WriteTuple(Area::Eep, tuples::kChannelCount, 3, MsgX);
//
//   std::vector<uint8_t> rom;
//   AreaTally tally = AreaTally::TupleChain();
//   session.ReceiveArea("xdmrr", tally, MemorySink(rom), TransferProgress::Hidden,
//   MsgRomAreaFailed);
//
// The session uses the line alone while it exists; it never opens or
// closes it.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/recorder/Area.h"
#include "core/recorder/AreaTally.h"
#include "core/recorder/RecorderFailure.h"
#include "core/support/Messages.h"
#include "core/support/ProgressReporter.h"

namespace tessaro {

class LineContext;

// Takes the data bytes of each new block of a transfer; false stops the
// transfer (CAN is sent) as failed.
using AreaSink = std::function<bool(const uint8_t* data, size_t size)>;
// A sink appending to bytes.
AreaSink MemorySink(std::vector<uint8_t>& bytes);

// Whether an area transfer shows its percentage, its tally's minimum size
// making 100 %.
enum class TransferProgress { Hidden, Shown };

class RecorderSession {
 public:
  RecorderSession(LineContext& line, ProgressReporter& progress)
      : line_(line), progress_(progress) {}
  RecorderSession(const RecorderSession&) = delete;
  RecorderSession& operator=(const RecorderSession&) = delete;

  LineContext& Line() { return line_; }
  ProgressReporter& Progress() { return progress_; }

  // LinePurge, then the "??CMD" probe.
  void CheckLine(int failure = MsgLineCheckFailed);

  // The reply to a command; the exchange must succeed.
  std::string Ask(std::string_view command, int failure);
  // The same; a refusal ("??...") gives nullopt.
  std::optional<std::string> AskPresent(std::string_view command, int failure);
  // The same; a refusal fails too.
  std::string AskRequired(std::string_view command, int failure);
  // The reply, or nullopt when the exchange fails or the recorder refuses;
  // never throws.
  std::optional<std::string> TryAsk(std::string_view command);

  // A tuple's value as the recorder sends it (a refusal when it has none).
  std::string ReadTuple(const Area& area, int number, int failure) {
    return Ask(area.ReadCommand(number), failure);
  }
  // The same; an absent tuple gives nullopt.
  std::optional<std::string> ReadTuplePresent(const Area& area, int number, int failure) {
    return AskPresent(area.ReadCommand(number), failure);
  }
  // The same; an absent tuple fails too.
  std::string ReadTupleRequired(const Area& area, int number, int failure) {
    return AskRequired(area.ReadCommand(number), failure);
  }
  // Writes a tuple (not in the ROM) and returns the recorder's reply: the
  // value it stored, or a refusal. The caller decides whether the echo
  // matters.
  std::string WriteTuple(const Area& area, int number, std::string_view value, int failure) {
    return Ask(area.WriteCommand(number, value), failure);
  }
  std::string WriteTuple(const Area& area, int number, int64_t value, int failure) {
    return WriteTuple(area, number, std::to_string(value), failure);
  }

  // Receives one area by block transfer (command "xdm1k...", "mnp..." or
  // "xdm...") into sink; true only when it ended with EOT and brought the
  // whole area. Repeated blocks are acknowledged and dropped; the fourth
  // bad block in a row (in Mnp the first) and a cancel end it with CAN.
  bool TryReceiveArea(const std::string& command, AreaTally& area, const AreaSink& sink,
                      TransferProgress progress);
  // The same; a failed transfer fails with failure.
  void ReceiveArea(const std::string& command, AreaTally& area, const AreaSink& sink,
                   TransferProgress progress, int failure);

  // The status line shows the message.
  void Status(int message);
  // Hands the percentage on when it differs from the last one handed.
  void Percent(int percent);
  bool CancelRequested() const { return progress_.CancelRequested(); }
  // Fails with "cancel pressed" when the user asked to cancel.
  void CheckCancel();

 private:
  void Drain();

  LineContext& line_;
  ProgressReporter& progress_;
  int percent_ = -1;
};

}  // namespace tessaro
