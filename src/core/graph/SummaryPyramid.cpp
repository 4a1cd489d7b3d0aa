#include "core/graph/SummaryPyramid.h"

#include <algorithm>

namespace tessaro {

SummaryPyramid::SummaryPyramid(int fanOut) : fanOut_(std::max(fanOut, 2)) {}

bool SummaryPyramid::Build(GraphRecords& records) {
  const int64_t count = records.RecordCount();
  series_ = records.SeriesCount();
  levels_.clear();
  blockSizes_.clear();
  row_.resize(static_cast<size_t>(series_));
  if (count < fanOut_) return true;

  const size_t series = static_cast<size_t>(series_);
  std::vector<ValueSummary> finest(static_cast<size_t>((count + fanOut_ - 1) / fanOut_) * series);
  for (int64_t record = 0; record < count; ++record) {
    if (!records.Read(record, row_.data())) return false;
    ValueSummary* block = &finest[static_cast<size_t>(record / fanOut_) * series];
    for (size_t s = 0; s < series; ++s) block[s].Add(row_[s]);
  }
  levels_.push_back(std::move(finest));
  blockSizes_.push_back(fanOut_);

  while (blockSizes_.back() * fanOut_ <= count) {
    const std::vector<ValueSummary>& lower = levels_.back();
    const size_t lowerBlocks = lower.size() / series;
    std::vector<ValueSummary> upper((lowerBlocks + fanOut_ - 1) / fanOut_ * series);
    for (size_t b = 0; b < lowerBlocks; ++b)
      for (size_t s = 0; s < series; ++s)
        upper[b / static_cast<size_t>(fanOut_) * series + s].Append(lower[b * series + s]);
    blockSizes_.push_back(blockSizes_.back() * fanOut_);
    levels_.push_back(std::move(upper));
  }
  return true;
}

bool SummaryPyramid::Summarise(GraphRecords& records, int64_t begin, int64_t end,
                               ValueSummary* out) const {
  const size_t series = static_cast<size_t>(series_);
  int64_t at = std::max<int64_t>(begin, 0);
  end = std::min(end, records.RecordCount());
  while (at < end) {
    // The largest block that starts here and ends within the run.
    int level = static_cast<int>(blockSizes_.size()) - 1;
    while (level >= 0 && (at % blockSizes_[level] != 0 || at + blockSizes_[level] > end)) --level;
    if (level < 0) {
      if (!records.Read(at, row_.data())) return false;
      for (size_t s = 0; s < series; ++s) out[s].Add(row_[s]);
      ++at;
      continue;
    }
    const ValueSummary* block =
        &levels_[static_cast<size_t>(level)][static_cast<size_t>(at / blockSizes_[level]) * series];
    for (size_t s = 0; s < series; ++s) out[s].Append(block[s]);
    at += blockSizes_[level];
  }
  return true;
}

size_t SummaryPyramid::MemoryBytes() const {
  size_t bytes = 0;
  for (const auto& level : levels_) bytes += level.capacity() * sizeof(ValueSummary);
  return bytes;
}

}  // namespace tessaro
