#pragma once
// The recorder clock: its 12-digit text YYMMDDhhmmss, reading it with
// "rtcr" and setting it with "rtcw". The clock dialog and tessaro-cli clock
// both go through here.
//
//   RecorderSession session(line, progress);
//   std::optional<std::string> now = ReadRecorderClock(session);  // nullopt: bad reply
//   WriteRecorderClock(session, PcClockText(1));

#include <optional>
#include <string>

#include "core/support/DateTime.h"

namespace tessaro {

class RecorderSession;

// The years a clock may be set to.
inline constexpr int kFirstClockYear = 1980;
inline constexpr int kLastClockYear = 2033;

// "%.2d" of year modulo 100, month, day, hour, minute and second.
std::string ClockDigits(const DateTimeFields& fields);
// The fields of a valid clock text (year expanded by the 70 rule).
std::optional<DateTimeFields> ClockFields(const std::string& digits);
// The PC's local time plus seconds, as clock text.
std::string PcClockText(int secondsAhead);

// The clock text of an "rtcr" reply: exactly 12 characters of a valid date
// and time, else nullopt.
std::optional<std::string> RecorderClockReply(const std::string& reply);

// Sends "rtcr"; nullopt when the reply is not a valid clock text. A failed
// exchange fails with "no echo back".
std::optional<std::string> ReadRecorderClock(RecorderSession& session);

// Sends "rtcw" + digits. A failed exchange fails with "no echo back"; a
// reply other than the digits with "clock not set".
void WriteRecorderClock(RecorderSession& session, const std::string& digits);

// Whether the date lies within kFirstClockYear..kLastClockYear.
bool InClockRange(const DateTimeFields& fields);

// Where editing starts: the recorder's time when it is valid and in range,
// else the PC's.
DateTimeFields ClockEditStart(const std::string& recorderDigits, const DateTimeFields& pcNow);

// A typed "YYYY-MM-DD hh:mm:ss": the fields when it is a real date and time
// in range, else nullopt.
std::optional<DateTimeFields> ParseClockSetting(const std::string& text);

}  // namespace tessaro
