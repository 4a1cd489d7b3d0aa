#pragma once
// First, last, smallest and largest stored value of one channel over a run
// of records, missing values left out. What one pixel column of the graph
// needs of the records it covers.

#include <algorithm>
#include <cstdint>
#include <limits>

#include "core/graph/GraphChannel.h"

namespace tessaro {

struct ValueSummary {
  int32_t first = kMissingValue;
  int32_t last = kMissingValue;
  int32_t min = std::numeric_limits<int32_t>::max();
  int32_t max = kMissingValue;

  bool Empty() const { return first == kMissingValue; }

  void Add(int32_t value) {
    if (value == kMissingValue) return;
    if (Empty()) first = value;
    last = value;
    min = std::min(min, value);
    max = std::max(max, value);
  }

  // Adds the summary of the records that follow.
  void Append(const ValueSummary& later) {
    if (later.Empty()) return;
    if (Empty()) first = later.first;
    last = later.last;
    min = std::min(min, later.min);
    max = std::max(max, later.max);
  }

  bool operator==(const ValueSummary&) const = default;
};

}  // namespace tessaro
