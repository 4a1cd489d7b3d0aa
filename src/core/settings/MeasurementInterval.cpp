#include "core/settings/MeasurementInterval.h"

#include <algorithm>

#include "core/recorder/RecorderSession.h"
#include "core/recorder/TupleNumbers.h"
#include "core/settings/CodeList.h"
#include "core/support/Messages.h"

namespace tessaro {
namespace {

using tuples::kIntervalSeries;

// A setting the recorder may lack: 0 when it refuses.
int OptionalCode(RecorderSession& session, int tuple, int failure) {
  const auto reply = session.ReadTuplePresent(Area::Eep, tuple, failure);
  return reply ? ReplyCode(*reply) : 0;
}

// Writes a setting that has a list.
void WriteSetting(RecorderSession& session, int tuple, const IntervalSetting& setting,
                  int failure) {
  if (!setting.Used()) return;
  session.AskRequired(Area::Eep.WriteCommand(tuple, std::to_string(setting.code)), failure);
}

}  // namespace

bool IntervalSetting::Choose(int position) {
  if (position < 0 || position >= static_cast<int>(codes.size())) return false;
  code = codes[static_cast<size_t>(position)];
  return true;
}

int IntervalSetting::Position() const {
  const auto found = std::find(codes.begin(), codes.end(), code);
  return found == codes.end() ? -1 : static_cast<int>(found - codes.begin());
}

StepResult ReadMeasurementInterval(LineContext& line, ProgressReporter& progress,
                                   MeasurementInterval& timing) {
  timing = MeasurementInterval{};
  RecorderSession session(line, progress);
  return RunOperation([&] {
    session.CheckLine();
    timing.intervalAddress = kIntervalSeries.older;
    auto interval = session.ReadTuplePresent(Area::Eep, kIntervalSeries.older, MsgNoEchoBack);
    if (!interval) {
      timing.intervalAddress = kIntervalSeries.newer;
      interval =
          session.AskRequired(Area::Eep.ReadCommand(kIntervalSeries.newer), MsgIntervalReadFailed);
    }
    timing.interval.code = ReplyCode(*interval);
    timing.preTimer.code = OptionalCode(session, tuples::kEepPreTimer, MsgPreTimerReadFailed);
    timing.sampling.code = OptionalCode(session, tuples::kEepSampling, MsgSamplingReadFailed);

    timing.interval.codes = ReadCodeList(session.AskRequired("askivl", MsgIntervalListReadFailed));
    timing.preTimer.codes = ReadCodeList(session.Ask("askprs", MsgPreTimerListReadFailed));
    timing.sampling.codes = ReadCodeList(session.Ask("asksr", MsgSamplingListReadFailed));
  });
}

StepResult WriteMeasurementInterval(LineContext& line, ProgressReporter& progress,
                                    const MeasurementInterval& timing) {
  RecorderSession session(line, progress);
  return RunOperation([&] {
    WriteSetting(session, timing.intervalAddress, timing.interval, MsgIntervalWriteFailed);
    WriteSetting(session, tuples::kEepPreTimer, timing.preTimer, MsgPreTimerWriteFailed);
    WriteSetting(session, tuples::kEepSampling, timing.sampling, MsgSamplingWriteFailed);
  });
}

}  // namespace tessaro
