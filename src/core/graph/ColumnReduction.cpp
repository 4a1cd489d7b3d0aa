#include "core/graph/ColumnReduction.h"

#include <algorithm>

namespace tessaro {

bool ColumnReduction::Reduce(GraphRecords& records, const SummaryPyramid& pyramid, int64_t begin,
                             int64_t end, int columns) {
  begin = std::max<int64_t>(begin, 0);
  end = std::min(end, records.RecordCount());
  series_ = records.SeriesCount();
  bounds_.clear();
  values_.clear();
  const int64_t span = end - begin;
  if (span <= 0 || columns <= 0) return true;
  const int64_t count = std::min<int64_t>(columns, span);
  bounds_.reserve(static_cast<size_t>(count) + 1);
  for (int64_t c = 0; c <= count; ++c) bounds_.push_back(begin + c * span / count);
  values_.assign(static_cast<size_t>(count) * static_cast<size_t>(series_), ValueSummary{});
  for (int c = 0; c < Columns(); ++c) {
    ValueSummary* column = &values_[static_cast<size_t>(c) * static_cast<size_t>(series_)];
    if (!pyramid.Summarise(records, ColumnBegin(c), ColumnEnd(c), column)) return false;
  }
  return true;
}

}  // namespace tessaro
