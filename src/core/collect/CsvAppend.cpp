#include "core/collect/CsvAppend.h"

#include <sys/stat.h>

#include <cctype>
#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <vector>

#include "core/collect/SafeOutputFile.h"
#include "core/support/Messages.h"
#include "core/support/OutputTarget.h"

namespace tessaro {
namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr size_t kTimeLength = 17;  // YY/MM/DD hh:mm:ss

// A record line: "NO,DATE-TIME,values" (for a ring whose first channel is
// a date-time channel, its value stands in the time's place).
struct Record {
  std::string_view line;  // without the line end
  int64_t number = 0;
  std::string_view time;
  std::string_view rest;  // from the comma after the number on
};

bool IsTime(std::string_view t) {
  static constexpr std::string_view kShape = "00/00/00 00:00:00";
  if (t.size() != kTimeLength) return false;
  for (size_t i = 0; i < kShape.size(); ++i) {
    const bool digit = std::isdigit(static_cast<unsigned char>(t[i])) != 0;
    if (kShape[i] == '0' ? !digit : t[i] != kShape[i]) return false;
  }
  return true;
}

std::optional<Record> ParseRecord(std::string_view line) {
  Record r;
  r.line = line;
  const size_t comma = line.find(',');
  if (comma == 0 || comma == std::string_view::npos || comma > 18) return std::nullopt;
  for (size_t i = 0; i < comma; ++i) {
    if (!std::isdigit(static_cast<unsigned char>(line[i]))) return std::nullopt;
    r.number = r.number * 10 + (line[i] - '0');
  }
  r.rest = line.substr(comma);
  r.time = line.substr(comma + 1, kTimeLength);
  if (!IsTime(r.time)) return std::nullopt;
  return r;
}

// Splits CR LF ended text into lines; false when the last line has no end.
bool SplitLines(std::string_view text, std::vector<std::string_view>& lines) {
  while (!text.empty()) {
    const size_t end = text.find(kLineEnd);
    if (end == std::string_view::npos) return false;
    lines.push_back(text.substr(0, end));
    text.remove_prefix(end + kLineEnd.size());
  }
  return true;
}

bool IsHeading(std::string_view line) { return line == "NO" || line.rfind("NO,", 0) == 0; }

StepResult Refuse(int message, const std::string& fileName) {
  return StepResult::Failure(FormatMessage(message, fileName.c_str()));
}

void AppendNumbered(std::string& out, int64_t number, std::string_view rest) {
  char digits[24];
  std::snprintf(digits, sizeof digits, "%06" PRId64, number);
  out += digits;
  out += rest;
  out += kLineEnd;
}

}  // namespace

StepResult PlanAppend(const std::optional<std::string>& existing, std::string_view ring,
                      const std::string& fileName, AppendPlan& plan) {
  plan = {};
  std::vector<std::string_view> ringLines;
  if (!SplitLines(ring, ringLines) || ringLines.empty() || !IsHeading(ringLines[0]))
    return StepResult::Failure(LoadMessage(MsgAppendTimesUnreadable));
  std::vector<Record> records;
  for (size_t i = 1; i < ringLines.size(); ++i) {
    const auto record = ParseRecord(ringLines[i]);
    if (!record || (!records.empty() && record->time <= records.back().time))
      return StepResult::Failure(LoadMessage(MsgAppendTimesUnreadable));
    records.push_back(*record);
  }

  size_t first = 0;
  if (existing && !existing->empty()) {
    std::vector<std::string_view> lines;
    if (!SplitLines(*existing, lines)) return Refuse(MsgAppendTruncated, fileName);
    if (lines.empty() || !IsHeading(lines[0])) return Refuse(MsgAppendNotOurCsv, fileName);
    if (lines[0] != ringLines[0]) return Refuse(MsgAppendHeadingMismatch, fileName);
    if (lines.size() > 1) {
      const auto last = ParseRecord(lines.back());
      if (!last) return Refuse(MsgAppendNotOurCsv, fileName);
      plan.lastNumber = last->number;
      while (first < records.size() && records[first].time <= last->time) ++first;
      // Records up to the file's last must include that record as it is;
      // otherwise the recorder's times no longer match the file's.
      const bool continues = first == 0 ? records.empty() || records[0].time > last->time
                                        : records[first - 1].time == last->time &&
                                              records[first - 1].rest == last->rest;
      if (!continues) {
        const std::string ringLast(records.back().time);
        return StepResult::Failure(FormatMessage(MsgAppendClockBackwards, ringLast.c_str(),
                                                 fileName.c_str(),
                                                 std::string(last->time).c_str()));
      }
    }
  } else {
    plan.additions.append(ringLines[0]);
    plan.additions += kLineEnd;
  }
  for (size_t i = first; i < records.size(); ++i)
    AppendNumbered(plan.additions, plan.lastNumber + ++plan.count, records[i].rest);
  if (plan.count > 0) {
    plan.firstTime = records[first].time;
    plan.lastTime = records.back().time;
  }
  return StepResult::Success();
}

StepResult AppendNewRecords(const std::string& path, std::string_view ring, AppendPlan& plan,
                            const std::function<bool()>& beforeCommit) {
  const auto writeFailure = [&](const std::string& reason) {
    return StepResult::Failure(FormatMessage(MsgAppendWriteFailed, path.c_str()), reason);
  };
  SafeOutputFile out;
  if (!out.Create(path)) return writeFailure(out.Reason());

  std::optional<std::string> existing;
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    if (!in) return writeFailure(FileErrorReason(path, errno));
    existing = text.str();
  }
  const StepResult planned = PlanAppend(existing, ring, path, plan);
  if (!planned) return planned;
  if (existing && plan.count == 0) return StepResult::Success();  // nothing new: left alone

  if ((existing && !out.Write(*existing)) || !out.Write(plan.additions) || !out.Flush())
    return writeFailure(out.Reason());
  if (beforeCommit && !beforeCommit()) return writeFailure({});
  if (!out.Commit()) return writeFailure(out.Reason());
  return StepResult::Success();
}

}  // namespace tessaro
