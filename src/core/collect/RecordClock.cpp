#include "core/collect/RecordClock.h"

namespace tessaro {
namespace {

constexpr int64_t kDay = 86400;

void PutTwoDigits(std::string& text, size_t at, int64_t value) {
  text[at] = static_cast<char>('0' + value / 10);
  text[at + 1] = static_cast<char>('0' + value % 10);
}

}  // namespace

RecordClock::RecordClock(const RecorderDateTime& start, int intervalCode)
    : start_(start), intervalCode_(intervalCode), startValid_(DateTimeText(start).has_value()) {
  if (startValid_) {
    const DateTimeFields f = DecodeDateTime(start);
    startSecondOfDay_ = f.hour * 3600 + f.minute * 60 + f.second;
  }
}

const std::string& RecordClock::Text(int64_t record) {
  const int64_t span = IntervalSpan(intervalCode_, record);
  if (!startValid_) {
    // Only a valid start carries the usual way; let AddSeconds decide.
    RecorderDateTime at = start_;
    AddSeconds(at, span);
    text_ = DateTimeTextOrInvalid(at);
    return text_;
  }
  // For a valid start, AddSeconds carries exactly like this split into whole
  // days and a time of day.
  const int64_t total = startSecondOfDay_ + span;
  const int64_t day = total / kDay;
  if (day != cachedDay_) {
    RecorderDateTime at = start_;
    AddSeconds(at, span);
    const std::optional<std::string> text = DateTimeText(at);
    cachedDate_ = text ? text->substr(0, 8) : std::string();
    cachedDay_ = day;
  }
  if (cachedDate_.empty()) {
    text_ = kInvalidDateTimeText;
    return text_;
  }
  const int64_t second = total % kDay;
  text_ = cachedDate_;
  text_ += " 00:00:00";
  PutTwoDigits(text_, 9, second / 3600);
  PutTwoDigits(text_, 12, second / 60 % 60);
  PutTwoDigits(text_, 15, second % 60);
  return text_;
}

}  // namespace tessaro
