#include "core/graph/GraphSeries.h"

namespace tessaro {
namespace {

void AddPoint(std::vector<GraphPoint>& segment, GraphPoint point) {
  if (segment.empty() || !(segment.back() == point)) segment.push_back(point);
}

}  // namespace

size_t GraphSeries::PointCount() const {
  size_t count = 0;
  for (const auto& segment : segments) count += segment.size();
  return count;
}

GraphSeries BuildGraphSeries(const ColumnReduction& columns, int series, double divisor,
                             const GraphTimeline& timeline) {
  GraphSeries out;
  std::vector<GraphPoint> segment;
  auto closeSegment = [&] {
    if (!segment.empty()) out.segments.push_back(std::move(segment));
    segment.clear();
  };
  for (int c = 0; c < columns.Columns(); ++c) {
    const ValueSummary& v = columns.At(c, series);
    if (v.Empty()) {
      closeSegment();
      continue;
    }
    const int64_t first = columns.ColumnBegin(c);
    const int64_t last = columns.ColumnEnd(c) - 1;
    const double middle = (timeline.X(first) + timeline.X(last)) / 2;
    AddPoint(segment, {timeline.X(first), v.first / divisor});
    if (first != last) {
      AddPoint(segment, {middle, v.min / divisor});
      AddPoint(segment, {middle, v.max / divisor});
      AddPoint(segment, {timeline.X(last), v.last / divisor});
    }
  }
  closeSegment();
  return out;
}

}  // namespace tessaro
