#pragma once
// The report of a collection or conversion run: a block appended to the
// month's log file LOG/yyyyMM.LOG under the writable program folder, in
// CP932, led by a line of 80 dashes.

#include <string>

#include "core/collect/CsvWriter.h"
#include "core/collect/DataFileInfo.h"
#include "core/support/DateTime.h"

namespace tessaro {

class DefinitionDb;

struct ReportRun {
  std::string rlbPath;
  std::string csvPath;
  bool rlbKept = true;  // the conversion always keeps its input
  CsvType csvType = CsvType::Q5;
  bool conversion = false;  // the conversion reports failures with its own texts
};

// The block's text (CP932, CR LF line ends) for a run finished at now.
std::string CollectionReportText(const DataFileInfo& info, const ReportRun& run,
                                 const DefinitionDb& db, const DateTimeFields& now);

// "LOG/yyyyMM.LOG" under folder (which ends with '/').
std::string ReportFilePath(const std::string& folder, const DateTimeFields& now);

// Appends the block to the month's file under folder (the writable program
// folder when empty), creating the LOG folder and the file as needed. A
// failure is shown with ShowError and returns false; nothing else depends
// on it.
bool WriteCollectionReport(const DataFileInfo& info, const ReportRun& run, const DefinitionDb& db,
                           const std::string& folder = {});

}  // namespace tessaro
