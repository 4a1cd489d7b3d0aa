#include "core/collect/CsvWriter.h"

#include <cinttypes>
#include <cstdarg>
#include <cstdio>
#include <vector>

#include "core/collect/ChannelFormat.h"
#include "core/collect/RecordClock.h"
#include "core/collect/RecordReader.h"
#include "core/collect/SafeOutputFile.h"
#include "core/recorder/TupleNumbers.h"
#include "core/support/CodePage.h"
#include "core/support/FileNames.h"
#include "core/support/Messages.h"

namespace tessaro {
namespace {

// Lines are collected and written in pieces of about this size: one system
// call per line would dominate the run time of large files.
constexpr size_t kChunkSize = 1 << 20;

// The CSV output: whole lines in a buffer, written in large pieces. It knows
// which record the unwritten piece starts with, so that a failed write names
// the first record that may be missing from the file.
class CsvOutput {
 public:
  bool Create(const std::string& path) {
    buffer_.reserve(kChunkSize + 64 * 1024);
    return file_.Create(path);
  }
  std::string& Buffer() { return buffer_; }
  void BeginRecord(int64_t record) {
    if (buffer_.empty()) pieceRecord_ = record;
  }
  bool EndRecord() { return buffer_.size() < kChunkSize || Flush(); }
  bool Finish() { return Flush() && file_.Commit(); }
  int64_t FailedRecord() const { return pieceRecord_; }
  std::string Reason() const { return file_.Reason(); }

 private:
  bool Flush() {
    if (!file_.Write(buffer_)) return false;
    buffer_.clear();
    return true;
  }

  SafeOutputFile file_;
  std::string buffer_;
  int64_t pieceRecord_ = 0;
};

void AppendFormat(std::string& out, const char* format, ...) {
  char text[256];
  va_list args;
  va_start(args, format);
  const int n = std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  if (n > 0) out.append(text, std::min(static_cast<size_t>(n), sizeof text - 1));
}

void AppendRecordNumber(std::string& out, int64_t number) {
  char digits[24];
  int n = 0;
  do {
    digits[n++] = static_cast<char>('0' + number % 10);
    number /= 10;
  } while (number > 0);
  while (n < 6) digits[n++] = '0';
  while (n > 0) out += digits[--n];
}

bool HasTimeColumns(const DataFileInfo& info) {
  return info.channels.empty() || info.channels[0].mode != kModeDateTime;
}

// Corvex heading: "NO", the time column, then one or more columns per channel.
void AppendCorvexHeading(std::string& out, const DataFileInfo& info) {
  out += "NO";
  if (HasTimeColumns(info)) out += ",DATE-TIME";
  for (int c = 0; c < info.ChannelCount(); ++c) {
    const ChannelInfo& ch = info.channels[c];
    const int n = c + 1;
    const std::string label = Utf8ToCp932(ch.label);
    const int m = ch.mode;
    if (m == kModeDateTime) {
      AppendFormat(out, ",%2dCH[DATE-TIME]", n);
    } else if (m >= 603 && m <= 605) {
      AppendFormat(out, ",%2dCH[WINDIR]", n);
    } else {
      AppendFormat(out, ",%2dCH[", n);
      out += label;
      out += ']';
      if (m == 600 || m == 601) out += ",[WINDIR]";
      if (m == 602 || m == 606) out += ",[WINDIR],[TIME]";
    }
  }
  out += "\r\n";
}

// Q5 information lines: a blank column per channel, then name, tuple
// number and value.
void AppendQ5Information(std::string& out, const DataFileInfo& info) {
  std::string prefix;
  for (int c = 0; c < info.ChannelCount(); ++c) prefix += c == 0 ? " " : ", ";
  const auto line = [&](const char* format, auto... args) {
    out += prefix;
    AppendFormat(out, format, args...);
    out += "\r\n";
  };
  const auto textLine = [&](const char* format, int tuple, const std::string& text) {
    out += prefix;
    AppendFormat(out, format, tuple);
    out += text;  // recorder bytes, as they are
    out += "\r\n";
  };
  line(", , ,MODEL,%d,%+.4d", tuples::kRomModel, info.model);
  line(", , ,SUBMODEL,%d,%+.4d", tuples::kRomSubModel, info.subModel);
  textLine(", , ,SERIAL,%d,", tuples::kEepSerial, info.serialText);
  textLine(", , ,DATE,%d,", tuples::kEepDate, info.dateText);
  line(", , ,START-TIME,%d,\"%s\"", tuples::kStartTime,
       DateTimeTextOrInvalid(info.startTime).c_str());
  line(", , ,STOP-TIME,%d,\"%s\"", tuples::kStopTime, DateTimeTextOrInvalid(info.stopTime).c_str());
  line(", , ,SAMPLES,%d,%" PRId64, tuples::kDataCount, info.recordCount);
  line(", , ,INTERVAL,%d,%+.4d", tuples::kIntervalSeries.older,
       info.channels.empty() ? 0 : info.channels[0].interval);
  line(", , ,MULTI,%d,%+.4d", tuples::kChannelCount, info.ChannelCount());
  for (int c = 0; c < info.ChannelCount(); ++c) {
    const ChannelInfo& ch = info.channels[c];
    line(", , ,CH%d-MODE,%d,%+.4d,%+.4d,%+.4d,%+.4d", c + 1, tuples::kModeSeries.newer + c, ch.mode,
         ch.dataType, ch.decimals, ch.bytes);
  }
  for (int k = 1; k <= kMemoCount; ++k) {
    out += prefix;
    AppendFormat(out, ", , ,MEMO-%d,%d,\"", k, tuples::kMemo + k - 1);
    out += info.memos[k - 1];
    out += "\"\r\n";
  }
}

// appendLine(out, record index, record bytes in host order) appends one line.
template <typename RecordLine>
StepResult WriteRecords(DataFileInfo& info, const std::string& csvPath, ProgressReporter& progress,
                        const std::string& heading, const RecordLine& appendLine) {
  progress.SetMessage(LoadMessage(MsgCsvPreparing));
  progress.SetPercent(0);
  CsvOutput out;
  // Renaming the finished CSV file over its own input would lose the data.
  if (!CheckCsvIsNotRlb(csvPath, info.rlbPath) || !out.Create(csvPath))
    return StepResult::Failure(LoadMessage(MsgCsvCreateFailed), out.Reason());
  progress.SetMessage(LoadMessage(MsgCsvSaving));
  const auto writeFailure = [&] {
    return StepResult::Failure(
        FormatMessage(MsgCsvWriteFailed, static_cast<int>(out.FailedRecord())), out.Reason());
  };

  out.BeginRecord(0);
  out.Buffer() += heading;
  const int64_t count = info.recordCount;
  RecordReader reader(info);
  std::vector<uint8_t> record;
  int percent = 0;
  for (int64_t e = 0; e < count; ++e) {
    if (!reader.Read(e, record) || record.size() < static_cast<size_t>(info.recordSize))
      return StepResult::Failure(LoadMessage(MsgRlbHeaderError));
    out.BeginRecord(e);
    appendLine(out.Buffer(), e, record.data());
    if (!out.EndRecord()) return writeFailure();
    const int now = static_cast<int>(e * 100 / count);
    if (now != percent) {
      percent = now;
      progress.SetPercent(percent);
    }
    if (progress.CancelRequested()) return StepResult::Failure(LoadMessage(MsgCancelPressed));
  }
  if (!out.Finish()) return writeFailure();
  progress.SetPercent(100);
  return StepResult::Success();
}

}  // namespace

StepResult CheckCsvIsNotRlb(const std::string& csvPath, const std::string& rlbPath) {
  if (NameOneFile(csvPath, rlbPath)) return StepResult::Failure(LoadMessage(MsgCsvNamesRlb));
  return StepResult::Success();
}

StepResult WriteCsvCorvex(DataFileInfo& info, const std::string& csvPath,
                          ProgressReporter& progress) {
  std::string heading;
  AppendCorvexHeading(heading, info);
  const bool timed = HasTimeColumns(info);
  RecordClock clock(info.startTime, info.channels.empty() ? 0 : info.channels[0].interval);
  return WriteRecords(
      info, csvPath, progress, heading, [&](std::string& out, int64_t e, const uint8_t* bytes) {
        AppendRecordNumber(out, e + 1);
        if (timed) {
          out += ',';
          out += clock.Text(e);
        }
        for (const ChannelInfo& ch : info.channels) {
          out += ',';
          AppendCsvValue(out, ch, bytes + ch.offset, ValueStyle::Plain, info.calmThreshold);
        }
        out += "\r\n";
      });
}

StepResult WriteCsvQ5(DataFileInfo& info, const std::string& csvPath, ProgressReporter& progress) {
  std::string heading;
  AppendQ5Information(heading, info);
  const bool timed = HasTimeColumns(info);
  RecordClock clock(info.startTime, info.channels.empty() ? 0 : info.channels[0].interval);
  const int64_t last = info.recordCount - 1;
  std::string lastDate;
  return WriteRecords(
      info, csvPath, progress, heading, [&](std::string& out, int64_t e, const uint8_t* bytes) {
        bool first = true;
        for (const ChannelInfo& ch : info.channels) {
          if (!first) out += ',';
          first = false;
          AppendCsvValue(out, ch, bytes + ch.offset, ValueStyle::Numeric, info.calmThreshold);
        }
        if (timed) {
          // The quoted CSV form of YY/MM/DD hh:mm:ss: time, then date.
          const std::string& text = clock.Text(e);
          out += ",\"";
          out.append(text, 9, 8);
          out += '"';
          if (e == last || text.compare(0, 8, lastDate) != 0) {
            lastDate.assign(text, 0, 8);
            out += ",\"";
            out += lastDate;
            out += '"';
          }
        }
        out += "\r\n";
      });
}

StepResult WriteCsv(CsvType type, DataFileInfo& info, const std::string& csvPath,
                    ProgressReporter& progress) {
  return type == CsvType::Q5 ? WriteCsvQ5(info, csvPath, progress)
                             : WriteCsvCorvex(info, csvPath, progress);
}

}  // namespace tessaro
