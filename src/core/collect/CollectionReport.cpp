#include "core/collect/CollectionReport.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdarg>
#include <cstdio>

#include "core/support/AppPaths.h"
#include "core/support/CodePage.h"
#include "core/support/DefinitionDb.h"
#include "core/support/File.h"
#include "core/support/MessageBox.h"
#include "core/support/Messages.h"

namespace tessaro {
namespace {

// One report line: the message's format in CP932, filled with arguments that
// are CP932 already (program texts converted, recorder texts as they are).
void AppendLine(std::string& out, int id, ...) {
  const std::string format = Utf8ToCp932(LoadMessage(id));
  va_list args;
  va_start(args, id);
  out += FormatTextV(format.c_str(), args);
  va_end(args);
}

std::string Cp932(const std::string& utf8) { return Utf8ToCp932(utf8); }

}  // namespace

std::string CollectionReportText(const DataFileInfo& info, const ReportRun& run,
                                 const DefinitionDb& db, const DateTimeFields& now) {
  std::string out(80, '-');
  out += "\r\n";
  char created[32];
  std::snprintf(created, sizeof created, "%04d/%02d/%02d %02d:%02d:%02d", now.year, now.month,
                now.day, now.hour, now.minute, now.second);
  AppendLine(out, MsgReportCreated, created);
  AppendLine(out, MsgReportRlbName, Cp932(run.rlbPath).c_str());
  AppendLine(out, MsgReportCsvName, Cp932(run.csvPath).c_str());
  AppendLine(out, run.rlbKept ? MsgReportRlbKept : MsgReportRlbDeleted);
  AppendLine(out, run.csvType == CsvType::Q5 ? MsgReportCsvQ5 : MsgReportCsvCorvex);
  if (info.ringIndex == 0)
    AppendLine(out, MsgReportRingNew);
  else
    AppendLine(out, MsgReportRingOld, info.ringIndex);
  AppendLine(out, MsgReportSerial, info.serialText.c_str());
  AppendLine(out, MsgReportModel, info.model);
  AppendLine(out, MsgReportSubModel, info.subModel);
  AppendLine(out, MsgReportRomCode, info.romVersion);
  AppendLine(out, MsgReportFirmware, info.version.c_str());
  AppendLine(out, MsgReportStartTime, DateTimeTextOrInvalid(info.startTime).c_str());
  AppendLine(out, MsgReportStopTime, DateTimeTextOrInvalid(info.stopTime).c_str());
  AppendLine(out, MsgReportRecords, static_cast<long>(info.recordCount));
  AppendLine(out, MsgReportChannels, info.ChannelCount());
  for (int c = 0; c < info.ChannelCount(); ++c) {
    const ChannelInfo& ch = info.channels[c];
    AppendLine(out, MsgReportChannelMode, c + 1, Cp932(ch.textA).c_str(), Cp932(ch.textB).c_str(),
               Cp932(ch.textC).c_str());
  }
  const int interval = info.channels.empty() ? 0 : info.channels[0].interval;
  AppendLine(out, MsgReportInterval, Cp932(db.IntervalText(interval)).c_str());
  return out;
}

std::string ReportFilePath(const std::string& folder, const DateTimeFields& now) {
  char name[32];
  std::snprintf(name, sizeof name, "LOG/%04d%02d.LOG", now.year, now.month);
  return folder + name;
}

bool WriteCollectionReport(const DataFileInfo& info, const ReportRun& run, const DefinitionDb& db,
                           const std::string& folder) {
  const int openFailed = run.conversion ? MsgConvLogOpenFailed : MsgLogOpenFailed;
  const int writeFailed = run.conversion ? MsgConvLogWriteFailed : MsgLogWriteFailed;
  const std::string base = folder.empty() ? WritableProgramFolder(CurrentAppPaths()) : folder;
  const DateTimeFields now = NowFields();
  const std::string logFolder = base + "LOG";
  if (::mkdir(logFolder.c_str(), 0755) != 0 && errno != EEXIST) {
    ShowError(LoadMessage(openFailed));
    return false;
  }
  File file = File::Open(ReportFilePath(base, now), File::Mode::Append);
  if (!file) {
    ShowError(LoadMessage(openFailed));
    return false;
  }
  // One write for the whole block: runs appending at the same moment cannot
  // interleave their lines.
  const std::string block = CollectionReportText(info, run, db, now);
  if (!file.WriteExact(block.data(), block.size()) || !file.Close()) {
    ShowError(LoadMessage(writeFailed));
    return false;
  }
  return true;
}

}  // namespace tessaro
