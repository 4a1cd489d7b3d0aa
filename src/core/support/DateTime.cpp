#include "core/support/DateTime.h"

#include <cstdio>
#include <ctime>

namespace tessaro {
namespace {

constexpr int kMonthDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
constexpr int kDaysBeforeMonth[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};

// Two-digit year of the recorder: below 70 is 20YY, otherwise 19YY.
int ExpandYear(int yy) { return yy < 70 ? 2000 + yy : 1900 + yy; }

// A packed-BCD byte read as two decimal digits (no check of the nibbles).
int FromBcd(uint8_t byte) { return (byte >> 4) * 10 + (byte & 0x0F); }

// The first two characters of the "%.2d" text of value, packed as nibbles.
// Values 0-99 give ordinary BCD; wider values keep their two leading digits.
uint8_t ToBcd(int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%.2d", value);
  return static_cast<uint8_t>((((text[0] - '0') & 0x0F) << 4) | ((text[1] - '0') & 0x0F));
}

int TwoDigits(const std::string& text, size_t at) {
  return (text[at] - '0') * 10 + (text[at + 1] - '0');
}

// Copies text into a buffer of n characters, missing ones as '?', so that
// short input never reads past its end.
std::string Padded(const std::string& text, size_t n) {
  std::string out = text.substr(0, n);
  out.resize(n, '?');
  return out;
}

// Interval durations in microseconds: every code's duration is a whole
// number of them, so spans are computed without floating-point rounding.
int64_t IntervalMicros(int code) {
  static constexpr int64_t k100[] = {1, 2, 5, 10, 20, 25, 50, 100, 200, 250, 500};
  static constexpr int64_t k300[] = {1, 2, 5, 6, 10, 12, 15, 20, 30};
  static constexpr int64_t k400[] = {60, 120, 180, 240, 300, 360, 600, 720, 900, 1200, 1800, 3600};
  static constexpr int64_t k600[] = {3600, 7200, 10800, 14400, 21600, 43200, 86400};
  constexpr int64_t kSecond = 1'000'000;
  if (code >= 100 && code <= 110) return k100[code - 100];
  if (code >= 200 && code <= 210) return k100[code - 200] * 1000;
  if (code >= 300 && code <= 308) return k300[code - 300] * kSecond;
  if (code >= 400 && code <= 411) return k400[code - 400] * kSecond;
  if (code >= 600 && code <= 606) return k600[code - 600] * kSecond;
  if (code == 700) return 86400 * kSecond;
  if (code >= 1000 && code <= 1099) return (code - 1000) * kSecond;
  if (code >= 1100 && code <= 1199) return (code - 1100) * 60 * kSecond;
  if (code >= 1200 && code <= 1299) return (code - 1200) * 3600 * kSecond;
  return 0;
}

}  // namespace

int MonthLength(int year, int month) {
  if (month < 1 || month > 12) return 0;
  if (month == 2 && year % 4 == 0) return 29;  // the recorder has no century rule
  return kMonthDays[month - 1];
}

std::string DateTimeDigits(const RecorderDateTime& dt) {
  // Words YYMM, DDhh, mmss, each stored low byte first.
  static constexpr int kByteOrder[6] = {1, 0, 3, 2, 5, 4};
  std::string digits(12, '0');
  for (int i = 0; i < 6; ++i) {
    const uint8_t byte = dt[kByteOrder[i]];
    digits[2 * i] = static_cast<char>('0' + (byte >> 4));
    digits[2 * i + 1] = static_cast<char>('0' + (byte & 0x0F));
  }
  return digits;
}

bool IsValidClockText(const std::string& text) {
  if (text.size() < 12) return false;
  for (size_t i = 0; i < 12; ++i)
    if (text[i] < '0' || text[i] > '9') return false;
  const int year = ExpandYear(TwoDigits(text, 0));
  const int month = TwoDigits(text, 2);
  const int day = TwoDigits(text, 4);
  const int hour = TwoDigits(text, 6);
  const int minute = TwoDigits(text, 8);
  const int second = TwoDigits(text, 10);
  return month >= 1 && month <= 12 && day >= 1 && day <= MonthLength(year, month) && hour <= 23 &&
         minute <= 59 && second <= 59;
}

std::string ExpandClockText(const std::string& digits) {
  const std::string d = Padded(digits, 12);
  return d.substr(0, 2) + '/' + d.substr(2, 2) + '/' + d.substr(4, 2) + ' ' + d.substr(6, 2) + ':' +
         d.substr(8, 2) + ':' + d.substr(10, 2);
}

std::optional<std::string> DateTimeText(const RecorderDateTime& dt) {
  const std::string digits = DateTimeDigits(dt);
  if (!IsValidClockText(digits)) return std::nullopt;
  return ExpandClockText(digits);
}

std::string DateTimeTextOrInvalid(const RecorderDateTime& dt) {
  return DateTimeText(dt).value_or(kInvalidDateTimeText);
}

std::string CsvDateTimeText(const std::string& display) {
  const std::string d = Padded(display, 17);
  return '"' + d.substr(0, 8) + "\",\"" + d.substr(9, 8) + '"';
}

std::string CompactClockText(const std::string& display) {
  const std::string d = Padded(display, 17);
  std::string out;
  for (size_t at : {0, 3, 6, 9, 12, 15}) out += d.substr(at, 2);
  return out;
}

DateTimeFields DecodeDateTime(const RecorderDateTime& dt) {
  DateTimeFields f;
  f.year = ExpandYear(FromBcd(dt[1]));
  f.month = FromBcd(dt[0]);
  f.day = FromBcd(dt[3]);
  f.hour = FromBcd(dt[2]);
  f.minute = FromBcd(dt[5]);
  f.second = FromBcd(dt[4]);
  return f;
}

RecorderDateTime EncodeDateTime(const DateTimeFields& f) {
  const int yy = f.year >= 2000 ? f.year - 2000 : f.year - 1900;
  return {ToBcd(f.month), ToBcd(yy), ToBcd(f.hour), ToBcd(f.day), ToBcd(f.second), ToBcd(f.minute)};
}

void AddSeconds(RecorderDateTime& dt, int64_t seconds) {
  if (seconds <= 0) return;  // only forward moves are defined
  DateTimeFields f = DecodeDateTime(dt);
  int64_t s = seconds + f.second;
  f.second = static_cast<int>(s % 60);
  if (s >= 60) {
    s = f.minute + s / 60;
    f.minute = static_cast<int>(s % 60);
    if (s >= 60) {
      s = f.hour + s / 60;
      f.hour = static_cast<int>(s % 24);
      if (s >= 24) {
        s = f.day + s / 24;
        int64_t year = f.year;
        int month = f.month;
        // Any 48 consecutive months hold exactly one 29 February, so whole
        // four-year spans can be skipped without walking month by month.
        constexpr int64_t kFourYears = 4 * 365 + 1;
        if (s > kFourYears) {
          const int64_t spans = (s - 1) / kFourYears;
          s -= spans * kFourYears;
          year += 4 * spans;
        }
        for (;;) {
          const int length = MonthLength(static_cast<int>(year), month);
          if (s <= length) break;
          s -= length;
          if (++month > 12) {
            month = 1;
            ++year;
          }
        }
        f.year = static_cast<int>(year);
        f.month = month;
        f.day = static_cast<int>(s);
      }
    }
  }
  dt = EncodeDateTime(f);
}

int64_t EpochDays(int year, int month, int day) {
  const int64_t y = year;
  const int64_t before = (month >= 1 && month <= 12) ? kDaysBeforeMonth[month - 1] : 0;
  const int64_t leapDay = (year % 4 == 0 && month > 2) ? 1 : 0;
  return 365 * y + before + leapDay + day + (y - 1) / 4 - (y - 1) / 100 + (y - 1) / 400 - 719528;
}

int64_t DateTimeSeconds(const RecorderDateTime& dt) {
  const DateTimeFields f = DecodeDateTime(dt);
  return EpochDays(f.year, f.month, f.day) * 86400 + f.hour * 3600 + f.minute * 60 + f.second;
}

double IntervalSeconds(int code) { return static_cast<double>(IntervalMicros(code)) / 1e6; }

int64_t IntervalSpan(int code, int64_t count) {
  // micros * count / 1e6 truncated, split so the product cannot overflow.
  constexpr int64_t kMillion = 1'000'000;
  const int64_t micros = IntervalMicros(code);
  const int64_t whole = micros / kMillion;
  const int64_t fraction = micros % kMillion;
  return whole * count + fraction * (count / kMillion) + fraction * (count % kMillion) / kMillion;
}

DateTimeFields NowFields() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
          local.tm_hour,        local.tm_min,     local.tm_sec};
}

}  // namespace tessaro
