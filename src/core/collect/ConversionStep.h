#pragma once
// The conversion step shared by collection and file conversion: analyse an
// RLB file, write its CSV file in the chosen form, append the report block,
// then remove the work copy. The RLB file is never touched: whoever made it
// decides whether it stays.

#include <string>

#include "core/collect/CsvWriter.h"
#include "core/collect/StepResult.h"
#include "core/support/ProgressReporter.h"

namespace tessaro {

class DefinitionDb;

struct ConversionJob {
  std::string rlbPath;     // the RLB file's name, as the report gives it
  std::string sourcePath;  // where it is read now; rlbPath when empty
  std::string csvPath;
  CsvType csvType = CsvType::Q5;
  bool keepRlb = true;     // the collection's save option; a conversion keeps its input
  bool conversion = true;  // report failures with the conversion's texts
  // Folder for the work copy and the LOG folder; the writable program
  // folder when empty (ends with '/').
  std::string programFolder;
};

// Runs the step. A failure of the analysis has been shown by it and returns
// an empty message; other failures carry the text for the progress display.
StepResult RunConversionStep(const ConversionJob& job, const DefinitionDb& db,
                             ProgressReporter& progress);

// File conversion: rlbPath into csvPath in the given form, RLB kept.
StepResult ConvertRlbFile(const std::string& rlbPath, const std::string& csvPath, CsvType type,
                          const DefinitionDb& db, ProgressReporter& progress,
                          const std::string& programFolder = {});

}  // namespace tessaro
