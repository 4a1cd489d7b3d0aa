#pragma once
// Where a record stands on the graph's horizontal axis: seconds since
// 1970-01-01 of its recorder time (start time plus record × interval), or
// just its number when the file has no usable time.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

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
  // The records [begin, end) of [0, count) whose x lies within [from, to];
  // begin == end when none does.
  std::pair<int64_t, int64_t> RecordsBetween(double from, double to, int64_t count) const {
    const double first = std::max(0.0, std::ceil((from - origin) / step));
    const double last = std::min(static_cast<double>(count) - 1, std::floor((to - origin) / step));
    if (!(first <= last)) return {0, 0};
    return {static_cast<int64_t>(first), static_cast<int64_t>(last) + 1};
  }
};

}  // namespace tessaro
