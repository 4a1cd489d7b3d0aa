#pragma once
// A compact index of a data file's values for the graph: the summary of
// every block of fanOut records, of every block of fanOut² records, and so
// on. Any run of records is summarised from the largest aligned blocks it
// holds plus at most fanOut - 1 records read at each end, so a column's
// figures are exact and a zoom reads only a few records per column. With
// the default fan-out the index takes about 1/15 of 16 bytes per record and
// series.

#include <cstdint>
#include <vector>

#include "core/graph/GraphRecords.h"
#include "core/graph/ValueSummary.h"

namespace tessaro {

class SummaryPyramid {
 public:
  explicit SummaryPyramid(int fanOut = 16);

  // Reads every record once; false on a failed read.
  bool Build(GraphRecords& records);

  // Appends the summaries of records [begin, end) to out (one per series).
  // false on a failed read.
  bool Summarise(GraphRecords& records, int64_t begin, int64_t end, ValueSummary* out) const;

  size_t MemoryBytes() const;

 private:
  int64_t fanOut_;
  int series_ = 0;
  // levels_[k] holds blocks of blockSizes_[k] records, series_ entries each.
  std::vector<std::vector<ValueSummary>> levels_;
  std::vector<int64_t> blockSizes_;
  mutable std::vector<int32_t> row_;
};

}  // namespace tessaro
