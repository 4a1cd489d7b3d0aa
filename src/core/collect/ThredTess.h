#pragma once
// The collection worker: receives the recorder's identity, its ROM, EEP and
// BATT tuple areas and one ring's data by checksum block transfer into an
// RLB file, then runs the conversion step (analysis, CSV file, report).
// It talks to the user only through the progress reporter and never writes
// to the recorder. The RLB file is written under a temporary name; a file
// to be kept takes its name once the transfer is complete, one that is not
// is converted from its temporary name and removed. A failed transfer
// leaves nothing, and an earlier file of the name is replaced only when the
// request says the user agreed.
//
//   TThredTess thread(line, request, db, progress);   // runs at once
//   ... wait while CollectionBusy, or thread.Wait() ...
//   StepResult r = thread.Result();
//
// TThredTess::Run is the same work on the calling thread (command line,
// tests, benchmarks).

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "core/collect/CsvWriter.h"
#include "core/collect/StepResult.h"
#include "core/support/BackgroundOperation.h"
#include "core/support/ProgressReporter.h"

namespace tessaro {

class DefinitionDb;
class LineContext;
class RlbWriter;

struct CollectionRequest {
  uint32_t ringMask = 0x80000000u;  // bit (31 - n) selects ring n; ring 0 is NEW
  std::string rlbPath;
  std::string csvPath;
  bool saveDataFile = true;  // keep the RLB file after the CSV file is written
  bool replaceRlb = false;   // the user agreed to replace an existing RLB file of the name
  CsvType csvType = CsvType::Q5;
  int64_t skipCount = 0;  // leading records lost to overwriting
  int64_t skipBytes = 0;  // the same in bytes (whole records)
  bool highSpeedMode = false;
  // Work copy and LOG folder; the writable program folder when empty.
  std::string programFolder;
};

class TThredTess {
 public:
  // Starts the collection on its own thread; sets CollectionBusy first and
  // the thread clears it as its last act. line, db and progress must
  // outlive the object; nothing else may use the line meanwhile. Destroying
  // the object waits for the thread.
  TThredTess(LineContext& line, CollectionRequest request, const DefinitionDb& db,
             ProgressReporter& progress);

  bool WaitFor(std::chrono::milliseconds timeout) const;
  void Wait() const;
  // The outcome; waits for it. A failure's text has been shown already
  // (empty when the analysis showed its own).
  StepResult Result() const;

  // The whole collection on the calling thread; failures are shown through
  // progress.FlashError as well as returned.
  static StepResult Run(LineContext& line, const CollectionRequest& request, const DefinitionDb& db,
                        ProgressReporter& progress);

 private:
  BackgroundOperation<StepResult> operation_;
};

}  // namespace tessaro
