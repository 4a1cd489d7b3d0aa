#pragma once
// Time of record e of a ring: the start time plus e measurement intervals
// (AddSeconds(start, IntervalSpan(interval, e))), as YY/MM/DD hh:mm:ss.
// CSV files ask for it once per record, so the date is worked out once per
// day and the time of day by division.

#include <cstdint>
#include <string>

#include "core/support/DateTime.h"

namespace tessaro {

class RecordClock {
 public:
  RecordClock(const RecorderDateTime& start, int intervalCode);

  // The display text of record e's time; "??/??/?? ??:??:??" when the
  // resulting date-time is not valid.
  const std::string& Text(int64_t record);

 private:
  RecorderDateTime start_;
  int intervalCode_;
  bool startValid_;
  int64_t startSecondOfDay_ = 0;
  int64_t cachedDay_ = -1;
  std::string cachedDate_;  // YY/MM/DD of day cachedDay_
  std::string text_;
};

}  // namespace tessaro
