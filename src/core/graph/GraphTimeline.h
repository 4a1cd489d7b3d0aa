#pragma once
// Where a record stands on the graph's horizontal axis: seconds since
// 1970-01-01 of its recorder time (start time plus record × interval), or
// just its number when the file has no usable time.

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace tessaro {

struct GraphTimeline {
  bool hasTime = false;
  double origin = 0;  // x of record 0
  double step = 1;    // x per record, above 0

  double X(int64_t record) const { return origin + step * static_cast<double>(record); }
  // The record nearest to x within [0, count).
  int64_t RecordAt(double x, int64_t count) const {
    const double record = std::round((x - origin) / step);
    return static_cast<int64_t>(
        std::clamp(record, 0.0, static_cast<double>(std::max<int64_t>(count - 1, 0))));
  }
};

}  // namespace tessaro
