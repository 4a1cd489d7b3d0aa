#include "core/collect/RecordReader.h"

#include <algorithm>
#include <cstring>

#include "core/collect/DataFileAnalysis.h"

namespace tessaro {

RecordReader::RecordReader(DataFileInfo& info, size_t windowSize)
    : info_(info), windowSize_(std::max<size_t>(windowSize, kMaxRecordSize)) {}

bool RecordReader::Read(int64_t index, std::vector<uint8_t>& record) {
  const int size = info_.recordSize;
  const int64_t ringStart = info_.dataAreaStart;
  const int64_t ringEnd = info_.dataAreaEnd;
  int64_t at;
  if (!info_.work.IsOpen() || size < 1 || size > kMaxRecordSize || ringEnd <= ringStart ||
      __builtin_mul_overflow(std::max<int64_t>(index, 0), int64_t{size}, &at) ||
      __builtin_add_overflow(at, info_.firstDataOffset, &at))
    return ReadRecord(index, info_, record);
  if (at >= ringEnd) at = ringStart + (at - ringStart) % (ringEnd - ringStart);
  if (at < ringStart || at + size > ringEnd) return ReadRecord(index, info_, record);

  if (!InWindow(at, size)) {
    Fill(at);
    // A file cut short: let ReadRecord fail (or succeed) exactly as it would.
    if (!InWindow(at, size)) return ReadRecord(index, info_, record);
  }
  record.resize(static_cast<size_t>(size));
  std::memcpy(record.data(), window_.data() + (at - windowStart_), record.size());
  return ConvertRecordToHost(info_, record.data());
}

void RecordReader::Fill(int64_t at) {
  const auto length = static_cast<size_t>(
      std::min<int64_t>(static_cast<int64_t>(windowSize_), info_.dataAreaEnd - at));
  window_.resize(length);
  File& file = info_.work.Handle();
  const ssize_t n = file.SeekExact(at) ? file.ReadSome(window_.data(), length) : -1;
  window_.resize(n > 0 ? static_cast<size_t>(n) : 0);
  windowStart_ = at;
}

bool RecordReader::InWindow(int64_t at, int size) const {
  return at >= windowStart_ && at + size <= windowStart_ + static_cast<int64_t>(window_.size());
}

}  // namespace tessaro
