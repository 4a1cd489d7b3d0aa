#include "core/firmware/SRecordFile.h"

#include <algorithm>
#include <cstring>

#include "core/firmware/SRecord.h"
#include "core/support/File.h"
#include "core/support/Messages.h"

namespace tessaro {
namespace {

constexpr char kCtrlZ = 0x1A;

StepResult LineFailure(int message, int lineNumber) {
  return StepResult::Failure(FormatMessage(message, lineNumber));
}

int FaultMessage(SRecordFault fault) {
  switch (fault) {
    case SRecordFault::Count:
      return MsgMotBadCount;
    case SRecordFault::Checksum:
      return MsgMotBadChecksum;
    default:
      return MsgMotNotRecord;
  }
}

}  // namespace

StepResult SRecordFile::Load(const std::string& path) {
  records_.clear();
  summary_ = {};
  File file = File::OpenRegular(path, File::Mode::Read);
  if (!file) return StepResult::Failure(LoadMessage(MsgMotOpenFailed), std::strerror(errno));
  const auto size = file.Size();
  if (!size) return StepResult::Failure(LoadMessage(MsgMotReadFailed), std::strerror(errno));
  if (*size > kMaxFileSize) return StepResult::Failure(LoadMessage(MsgMotTooLarge));
  std::string bytes(static_cast<size_t>(*size), '\0');
  // One byte more than the size tells a file that grew while it was read.
  bytes.push_back('\0');
  const ssize_t got = file.ReadSome(bytes.data(), bytes.size());
  if (got < 0) return StepResult::Failure(LoadMessage(MsgMotReadFailed), std::strerror(errno));
  if (got != *size) return StepResult::Failure(LoadMessage(MsgMotReadFailed));
  bytes.resize(static_cast<size_t>(got));
  return Parse(bytes);
}

StepResult SRecordFile::Parse(std::string_view bytes) {
  records_.clear();
  summary_ = {};
  StepResult checked = Check(bytes);
  if (!checked) {
    records_.clear();
    summary_ = {};
  }
  return checked;
}

StepResult SRecordFile::Check(std::string_view bytes) {
  if (!bytes.empty() && bytes.back() == kCtrlZ) bytes.remove_suffix(1);

  std::vector<std::string_view> lines;
  while (!bytes.empty()) {
    const size_t end = bytes.find('\n');
    std::string_view line = bytes.substr(0, end);
    bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
  }
  // Blank lines after the last record are no records.
  while (!lines.empty() && lines.back().empty()) lines.pop_back();
  if (lines.empty()) return StepResult::Failure(LoadMessage(MsgMotEmpty));

  uint32_t dataRecords = 0;
  bool ended = false;
  uint32_t low = UINT32_MAX, high = 0;
  for (size_t i = 0; i < lines.size(); ++i) {
    const int lineNumber = static_cast<int>(i + 1);
    if (ended) return LineFailure(MsgMotAfterEnd, lineNumber);
    SRecordFault fault = SRecordFault::None;
    const auto record = ParseSRecord(lines[i], &fault);
    if (!record) return LineFailure(FaultMessage(fault), lineNumber);
    switch (record->type) {
      case 1:
      case 2:
      case 3:
        ++dataRecords;
        if (!record->data.empty()) {
          const uint64_t last = uint64_t{record->address} + record->data.size() - 1;
          if (last > UINT32_MAX) return LineFailure(MsgMotNotRecord, lineNumber);
          low = std::min(low, record->address);
          high = std::max(high, static_cast<uint32_t>(last));
          summary_.dataBytes += static_cast<int64_t>(record->data.size());
        }
        break;
      case 5:
      case 6:
        if (record->address != dataRecords) {
          return StepResult::Failure(
              FormatMessage(MsgMotRecordCount, lineNumber, record->address, dataRecords));
        }
        break;
      case 7:
      case 8:
      case 9:
        ended = true;
        break;
      default:
        break;
    }
    ++summary_.recordsOfType[static_cast<size_t>(record->type)];
    records_.emplace_back(lines[i]);
  }
  if (dataRecords == 0) return StepResult::Failure(LoadMessage(MsgMotNoData));
  if (!ended) return StepResult::Failure(LoadMessage(MsgMotNoEnd));
  if (summary_.dataBytes > 0) {
    summary_.lowAddress = low;
    summary_.highAddress = high;
  }
  return StepResult::Success();
}

}  // namespace tessaro
