#include "core/collect/ConversionStep.h"

#include "core/collect/CollectionReport.h"
#include "core/collect/DataFileAnalysis.h"

namespace tessaro {

StepResult RunConversionStep(const ConversionJob& job, const DefinitionDb& db,
                             ProgressReporter& progress) {
  DataFileInfo info;  // owns the work copy: it goes on every path
  info.rlbPath = job.sourcePath.empty() ? job.rlbPath : job.sourcePath;
  if (!AnalyseDataFile(info, db, job.programFolder)) return StepResult::Failure({});
  StepResult written = WriteCsv(job.csvType, info, job.csvPath, progress);
  if (!written) return written;  // the RLB file stays whatever the save option says
  const ReportRun run{job.rlbPath, job.csvPath, job.keepRlb, job.csvType, job.conversion};
  WriteCollectionReport(info, run, db, job.programFolder);
  info.work.Remove();
  return written;
}

StepResult ConvertRlbFile(const std::string& rlbPath, const std::string& csvPath, CsvType type,
                          const DefinitionDb& db, ProgressReporter& progress,
                          const std::string& programFolder) {
  ConversionJob job;
  job.rlbPath = rlbPath;
  job.csvPath = csvPath;
  job.csvType = type;
  job.programFolder = programFolder;
  return RunConversionStep(job, db, progress);
}

}  // namespace tessaro
