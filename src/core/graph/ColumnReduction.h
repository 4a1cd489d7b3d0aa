#pragma once
// A run of records cut into at most one column per pixel, with the summary
// of every series in each column: what the screen can show of any number of
// records.

#include <cstdint>
#include <vector>

#include "core/graph/GraphRecords.h"
#include "core/graph/SummaryPyramid.h"
#include "core/graph/ValueSummary.h"

namespace tessaro {

class ColumnReduction {
 public:
  // Records [begin, end) in at most columns columns of equal share; a run
  // shorter than that gets one column per record. false on a failed read.
  bool Reduce(GraphRecords& records, const SummaryPyramid& pyramid, int64_t begin, int64_t end,
              int columns);

  int Columns() const { return static_cast<int>(bounds_.empty() ? 0 : bounds_.size() - 1); }
  int64_t ColumnBegin(int column) const { return bounds_[static_cast<size_t>(column)]; }
  int64_t ColumnEnd(int column) const { return bounds_[static_cast<size_t>(column) + 1]; }
  const ValueSummary& At(int column, int series) const {
    return values_[static_cast<size_t>(column) * static_cast<size_t>(series_) +
                   static_cast<size_t>(series)];
  }

 private:
  int series_ = 0;
  std::vector<int64_t> bounds_;  // column c covers [bounds_[c], bounds_[c + 1])
  std::vector<ValueSummary> values_;
};

}  // namespace tessaro
