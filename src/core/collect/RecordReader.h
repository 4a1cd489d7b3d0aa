#pragma once
// Reads the records of an analysed ring in order through a large window of
// the work file, with ReadRecord's result for every index: one system call
// per window instead of two per record. Records that straddle the end of the
// ring data area, or lie outside it, are read by ReadRecord itself.

#include <cstdint>
#include <vector>

#include "core/collect/DataFileInfo.h"

namespace tessaro {

class RecordReader {
 public:
  explicit RecordReader(DataFileInfo& info, size_t windowSize = 1 << 20);

  // Record index in host byte order; the same contract as ReadRecord.
  bool Read(int64_t index, std::vector<uint8_t>& record);

 private:
  // Reads as much as the window holds from at, fewer bytes at end of file.
  void Fill(int64_t at);
  bool InWindow(int64_t at, int size) const;

  DataFileInfo& info_;
  size_t windowSize_;
  std::vector<uint8_t> window_;
  int64_t windowStart_ = 0;  // file offset of window_[0]
};

}  // namespace tessaro
