#pragma once
// An RLB file opened for the graph: analysed as the conversion analyses it,
// its drawn channels described, and its values indexed in one pass through
// the same record reader the conversion uses. Memory is the index (about a
// fifteenth of 16 bytes per record and channel) and the reader's window;
// every view is rebuilt from the index and a few records read per column.

#include <memory>
#include <string>
#include <vector>

#include "core/collect/DataFileInfo.h"
#include "core/collect/RecordReader.h"
#include "core/graph/ColumnReduction.h"
#include "core/graph/GraphChannel.h"
#include "core/graph/GraphRecords.h"
#include "core/graph/GraphSeries.h"
#include "core/graph/GraphTimeline.h"
#include "core/graph/SummaryPyramid.h"

namespace tessaro {

class DefinitionDb;

class GraphSource : public GraphRecords {
 public:
  explicit GraphSource(int fanOut = 16);
  ~GraphSource() override;

  // Analyses and indexes the file. The analysis shows its failures and
  // notices through ShowError, as the conversion does; a failed read while
  // indexing shows its own message. false after a failure.
  bool Open(const std::string& rlbPath, const DefinitionDb& db, const std::string& workFolder = {});

  const DataFileInfo& Info() const { return info_; }
  // The drawn channels, in file order; Series(i) belongs to Channels()[i].
  const std::vector<GraphChannel>& Channels() const { return channels_; }
  const GraphTimeline& Timeline() const { return timeline_; }

  // The series of every drawn channel for records [begin, end) in at most
  // columns columns; false on a failed read.
  bool BuildSeries(int64_t begin, int64_t end, int columns, std::vector<GraphSeries>& out);

  // "No.12 26/12/08 10:00:11  1CH TEMP 温度 +1.5  ..." for the record under
  // the cursor; empty when it cannot be read.
  std::string CursorText(int64_t record);

  size_t IndexBytes() const { return pyramid_.MemoryBytes(); }

  int64_t RecordCount() const override { return info_.recordCount; }
  int SeriesCount() const override { return static_cast<int>(channels_.size()); }
  bool Read(int64_t record, int32_t* values) override;

 private:
  DataFileInfo info_;
  std::unique_ptr<RecordReader> reader_;
  std::vector<uint8_t> record_;
  std::vector<GraphChannel> channels_;
  GraphTimeline timeline_;
  SummaryPyramid pyramid_;
  ColumnReduction columns_;
};

}  // namespace tessaro
