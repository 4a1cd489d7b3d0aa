#include "sim/SimCalendar.h"

#include <cstdio>

namespace tessaro::sim {

namespace {

// Days from 1970-01-01 of a proleptic Gregorian date (H. Hinnant's algorithm).
int64_t DaysFromCivil(int64_t y, int m, int d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

int DaysInMonth(int year, int month) {
  static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month == 2 && year % 4 == 0) return 29;
  return kDays[month - 1];
}

}  // namespace

int64_t CalendarSeconds(const DateTimeFields& f) {
  return DaysFromCivil(f.year, f.month, f.day) * 86400 + f.hour * 3600 + f.minute * 60 + f.second;
}

DateTimeFields FieldsFromSeconds(int64_t seconds) {
  int64_t days = seconds / 86400;
  int64_t rest = seconds % 86400;
  if (rest < 0) {
    rest += 86400;
    --days;
  }
  const int64_t z = days + 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  DateTimeFields f;
  f.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  f.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  f.year = static_cast<int>(yoe + era * 400 + (f.month <= 2));
  f.hour = static_cast<int>(rest / 3600);
  f.minute = static_cast<int>(rest / 60 % 60);
  f.second = static_cast<int>(rest % 60);
  return f;
}

uint8_t ToBcd(int value) { return static_cast<uint8_t>(((value / 10 % 10) << 4) | (value % 10)); }

std::vector<uint8_t> DateTimeBytes(const DateTimeFields& f) {
  return {ToBcd(f.year % 100), ToBcd(f.month),  ToBcd(f.day),
          ToBcd(f.hour),       ToBcd(f.minute), ToBcd(f.second)};
}

std::string BcdDigits(const uint8_t* bytes) {
  std::string digits;
  for (int i = 0; i < 6; ++i) {
    digits += static_cast<char>('0' + (bytes[i] >> 4));
    digits += static_cast<char>('0' + (bytes[i] & 0x0F));
  }
  return digits;
}

std::optional<DateTimeFields> ParseClockDigits(std::string_view text) {
  if (text.size() != 12) return std::nullopt;
  int v[6];
  for (int i = 0; i < 6; ++i) {
    const char a = text[2 * i];
    const char b = text[2 * i + 1];
    if (a < '0' || a > '9' || b < '0' || b > '9') return std::nullopt;
    v[i] = (a - '0') * 10 + (b - '0');
  }
  DateTimeFields f{v[0] < 70 ? 2000 + v[0] : 1900 + v[0], v[1], v[2], v[3], v[4], v[5]};
  if (f.month < 1 || f.month > 12) return std::nullopt;
  if (f.day < 1 || f.day > DaysInMonth(f.year, f.month)) return std::nullopt;
  if (f.hour > 23 || f.minute > 59 || f.second > 59) return std::nullopt;
  return f;
}

std::string ClockDigits(const DateTimeFields& f) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d%02d%02d%02d%02d%02d", f.year % 100, f.month, f.day, f.hour,
                f.minute, f.second);
  return text;
}

}  // namespace tessaro::sim
