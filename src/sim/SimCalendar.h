#pragma once
// Calendar arithmetic for the simulated recorder: its running clock, the
// record times of generated rings and the packed-BCD bytes it stores.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/support/DateTime.h"

namespace tessaro::sim {

// Seconds since 1970-01-01 00:00:00 of the civil time (no time zone).
int64_t CalendarSeconds(const DateTimeFields& fields);
DateTimeFields FieldsFromSeconds(int64_t seconds);

// Six packed-BCD bytes as a recorder stores them: YY MM DD hh mm ss.
std::vector<uint8_t> DateTimeBytes(const DateTimeFields& fields);
// The twelve nibbles of six BCD bytes as digits, unchecked.
std::string BcdDigits(const uint8_t* bytes);

// YYMMDDhhmmss; a year below 70 is 20YY. Nullopt unless exactly 12 digits
// forming a valid time (February has 29 days in years divisible by 4).
std::optional<DateTimeFields> ParseClockDigits(std::string_view text);
std::string ClockDigits(const DateTimeFields& fields);

uint8_t ToBcd(int value);  // 0..99

}  // namespace tessaro::sim
