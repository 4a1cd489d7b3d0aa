#include "core/settings/RecorderClock.h"

#include <cstdio>
#include <ctime>

#include "core/recorder/RecorderFailure.h"
#include "core/recorder/RecorderSession.h"
#include "core/support/Messages.h"

namespace tessaro {

constexpr size_t kClockDigits = 12;

std::string ClockDigits(const DateTimeFields& f) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2d%.2d%.2d%.2d%.2d%.2d", f.year % 100, f.month, f.day, f.hour,
                f.minute, f.second);
  return text;
}

std::optional<DateTimeFields> ClockFields(const std::string& digits) {
  if (digits.size() != kClockDigits || !IsValidClockText(digits)) return std::nullopt;
  auto pair = [&](size_t at) { return (digits[at] - '0') * 10 + (digits[at + 1] - '0'); };
  const int yy = pair(0);
  return DateTimeFields{
      yy < 70 ? 2000 + yy : 1900 + yy, pair(2), pair(4), pair(6), pair(8), pair(10)};
}

std::string PcClockText(int secondsAhead) {
  const std::time_t at = std::time(nullptr) + secondsAhead;
  std::tm local{};
  localtime_r(&at, &local);
  return ClockDigits({local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                      local.tm_min, local.tm_sec});
}

std::optional<std::string> RecorderClockReply(const std::string& reply) {
  if (!ClockFields(reply)) return std::nullopt;
  return reply;
}

std::optional<std::string> ReadRecorderClock(RecorderSession& session) {
  return RecorderClockReply(session.Ask("rtcr", MsgNoEchoBack));
}

void WriteRecorderClock(RecorderSession& session, const std::string& digits) {
  const std::string reply = session.Ask("rtcw" + digits, MsgNoEchoBack);
  Require(reply == digits, MsgClockSetFailed);
}

bool InClockRange(const DateTimeFields& fields) {
  return fields.year >= kFirstClockYear && fields.year <= kLastClockYear;
}

DateTimeFields ClockEditStart(const std::string& recorderDigits, const DateTimeFields& pcNow) {
  const auto recorder = ClockFields(recorderDigits);
  return recorder && InClockRange(*recorder) ? *recorder : pcNow;
}

std::optional<DateTimeFields> ParseClockSetting(const std::string& text) {
  DateTimeFields f;
  char tail = 0;
  if (text.size() != 19 || std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%c", &f.year, &f.month,
                                       &f.day, &f.hour, &f.minute, &f.second, &tail) != 6)
    return std::nullopt;
  // Every field must be written out in digits: sscanf would also take signs and blanks.
  for (size_t i : {0, 1, 2, 3, 5, 6, 8, 9, 11, 12, 14, 15, 17, 18})
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
  if (!InClockRange(f) || !ClockFields(ClockDigits(f))) return std::nullopt;
  return f;
}

}  // namespace tessaro
