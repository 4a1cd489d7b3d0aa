#pragma once
// The points of one series as the graph draws them, built from a column
// reduction: a column of one record gives its value at its own time; a
// wider column gives its first value at its first record, its smallest and
// largest in its middle and its last value at its last record (consecutive
// equal points once), so a line through them covers every pixel the
// records would. A column without values breaks the line.

#include <vector>

#include "core/graph/ColumnReduction.h"
#include "core/graph/GraphTimeline.h"

namespace tessaro {

struct GraphPoint {
  double x = 0;
  double y = 0;
  bool operator==(const GraphPoint&) const = default;
};

struct GraphSeries {
  std::vector<std::vector<GraphPoint>> segments;  // runs without a gap

  size_t PointCount() const;
};

GraphSeries BuildGraphSeries(const ColumnReduction& columns, int series, double divisor,
                             const GraphTimeline& timeline);

}  // namespace tessaro
