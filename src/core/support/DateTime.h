#pragma once
// The recorder's 6-byte date-time (three packed-BCD words YYMM, DDhh, mmss,
// little-endian in memory: bytes MM YY hh DD ss mm), its 12-digit clock text
// YYMMDDhhmmss and display form YY/MM/DD hh:mm:ss, calendar arithmetic and
// interval-code durations. Stateless; safe on any thread.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace tessaro {

using RecorderDateTime = std::array<uint8_t, 6>;

struct DateTimeFields {
  int year = 0;  // four digits
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
  bool operator==(const DateTimeFields&) const = default;
};

inline constexpr const char* kInvalidDateTimeText = "?\?/?\?/?? ??:??:??";  // escaped: no trigraphs

std::string DateTimeDigits(const RecorderDateTime& dt);  // 12 characters, no check
bool IsValidClockText(const std::string& text);          // first 12 characters
std::string ExpandClockText(const std::string& digits);  // YYMMDDhhmmss -> YY/MM/DD hh:mm:ss
std::optional<std::string> DateTimeText(const RecorderDateTime& dt);  // nullopt when invalid
std::string DateTimeTextOrInvalid(const RecorderDateTime& dt);  // kInvalidDateTimeText when invalid
std::string CsvDateTimeText(const std::string& display);        // "YY/MM/DD","hh:mm:ss"
std::string CompactClockText(const std::string& display);       // YY/MM/DD hh:mm:ss -> YYMMDDhhmmss
DateTimeFields DecodeDateTime(const RecorderDateTime& dt);
RecorderDateTime EncodeDateTime(const DateTimeFields& fields);
void AddSeconds(RecorderDateTime& dt, int64_t seconds);  // seconds >= 0
int64_t DateTimeSeconds(const RecorderDateTime& dt);     // since 1970-01-01 00:00:00
int64_t EpochDays(int year, int month, int day);
double IntervalSeconds(int code);
int64_t IntervalSpan(int code, int64_t count);
int MonthLength(int year, int month);

// The PC clock, local time.
DateTimeFields NowFields();

}  // namespace tessaro
