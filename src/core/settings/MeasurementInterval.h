#pragma once
// The recorder's three timing settings: the measurement interval, the
// pre-timer and the sampling interval, each a code with the list of codes
// the recorder accepts for it. A setting whose list the recorder refuses
// ("??") is unused: it has no list and is never written.
//
//   MeasurementInterval timing;
//   StepResult read = ReadMeasurementInterval(line, progress, timing);
//   timing.preTimer.Choose(2);             // the third listed code
//   StepResult written = WriteMeasurementInterval(line, progress, timing);

#include <string>
#include <vector>

#include "core/collect/StepResult.h"

namespace tessaro {

class LineContext;
class ProgressReporter;

struct IntervalSetting {
  int code = 0;
  std::vector<int> codes;  // settable codes as listed; empty: unused

  bool Used() const { return !codes.empty(); }
  // Takes the code at list position; false (nothing changes) when there is
  // none, as for the one "unused" entry of an empty list.
  bool Choose(int position);
  // The list position of the current code, -1 when it is not listed.
  int Position() const;
};

struct MeasurementInterval {
  int intervalAddress = 0;  // EEP tuple of the interval: the older or newer numbering
  IntervalSetting interval;
  IntervalSetting preTimer;
  IntervalSetting sampling;
};

// Reads the three codes and the three lists.
StepResult ReadMeasurementInterval(LineContext& line, ProgressReporter& progress,
                                   MeasurementInterval& timing);

// Writes the interval, pre-timer and sampling codes in that order, each
// only when it has a list. A refusal fails the step.
StepResult WriteMeasurementInterval(LineContext& line, ProgressReporter& progress,
                                    const MeasurementInterval& timing);

}  // namespace tessaro
