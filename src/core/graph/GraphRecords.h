#pragma once
// The drawn channels' stored values of a run of records, read one record at
// a time in any order: the data file through its record reader, or a table
// in a test.

#include <cstdint>

namespace tessaro {

class GraphRecords {
 public:
  virtual ~GraphRecords() = default;
  virtual int64_t RecordCount() const = 0;
  virtual int SeriesCount() const = 0;
  // Fills values[0 .. SeriesCount()) for record; false on a failed read.
  virtual bool Read(int64_t record, int32_t* values) = 0;
};

}  // namespace tessaro
