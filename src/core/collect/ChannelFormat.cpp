#include "core/collect/ChannelFormat.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "core/support/DateTime.h"

namespace tessaro {
namespace {

constexpr std::array<std::string_view, 17> kDirectionNames = {
    "N   ", "NNE ", "NE  ", "ENE ", "E   ", "ESE ", "SE  ", "SSE ", "S   ",
    "SSW ", "SW  ", "WSW ", "W   ", "WNW ", "NW  ", "NNW ", "CALM"};
constexpr int kCalmIndex = 16;

constexpr int kDirectionModes[] = {159, 168, 191, 193, 195, 196, 701,
                                   712, 713, 716, 717, 722, 723, 731};

// "%+.Nd" (forceSign), "%-.Nd" and "%.Nu" all come down to an optional sign,
// then the magnitude zero-padded to precision digits. Built without printf:
// the record loop formats millions of values. out has room for 24 characters.
size_t FormatInteger(char* out, int64_t value, int precision, bool forceSign) {
  const bool negative = value < 0;
  uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  char digits[24];
  int n = 0;
  do {
    digits[n++] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  while (n < precision && n < 20) digits[n++] = '0';
  size_t length = 0;
  if (negative)
    out[length++] = '-';
  else if (forceSign)
    out[length++] = '+';
  while (n > 0) out[length++] = digits[--n];
  return length;
}

bool IsSign(char c) { return c == '+' || c == '-'; }
bool EndsZeroRun(const char* text, size_t length, size_t at) {
  return at + 1 >= length || text[at + 1] == '.';
}

// The decimal-point rule on a small buffer; returns the new length. buffer
// has room for length + 1 characters.
size_t InsertDecimalPointInPlace(char* buffer, size_t length, int decimals) {
  if (decimals < 0) {
    const size_t places = static_cast<size_t>(-static_cast<int64_t>(decimals));
    size_t at = length > places ? length - places : 0;
    if (at == 0 && length > 0 && IsSign(buffer[0])) at = 1;  // never in front of the sign
    std::memmove(buffer + at + 1, buffer + at, length - at);
    buffer[at] = '.';
    ++length;
  }
  for (size_t i = 0; i < length; ++i) {
    if (IsSign(buffer[i]) && i + 1 < length && buffer[i + 1] == '0' &&
        !EndsZeroRun(buffer, length, i + 1)) {
      buffer[i + 1] = buffer[i];
      buffer[i] = ' ';
    } else if (buffer[i] == '0' && !EndsZeroRun(buffer, length, i)) {
      buffer[i] = ' ';
    } else {
      break;
    }
  }
  return length;
}

// Appends the integer with the decimal-point rule applied, blanks removed.
void AppendScaled(std::string& out, int64_t value, int precision, bool forceSign, int decimals) {
  char buffer[64];
  const size_t digits = FormatInteger(buffer, value, precision, forceSign);
  const size_t length = InsertDecimalPointInPlace(buffer, digits, std::max(decimals, -32));
  // The rule only blanks a leading run.
  size_t first = 0;
  while (first < length && buffer[first] == ' ') ++first;
  out.append(buffer + first, length - first);
}

int16_t Int16At(const uint8_t* value) {
  int16_t v;
  std::memcpy(&v, value, sizeof v);
  return v;
}
uint16_t Uint16At(const uint8_t* value) { return static_cast<uint16_t>(Int16At(value)); }

std::string TimeOfDayText(uint8_t hour, uint8_t minute, uint8_t second, uint8_t day = 0x01) {
  const RecorderDateTime dt = {0x01, 0x00, hour, day, second, minute};
  const std::optional<std::string> text = DateTimeText(dt);
  return text ? text->substr(9) : std::string("??:??:??");
}

std::string DateTimeValueText(const uint8_t* value) {
  RecorderDateTime dt;
  std::memcpy(dt.data(), value, dt.size());
  return DateTimeTextOrInvalid(dt);
}

void AppendDirection(std::string& out, int code, ValueStyle style) {
  if (style == ValueStyle::Numeric)
    AppendScaled(out, code, 5, true, 0);
  else
    out += WindDirectionName(code).substr(0, WindDirectionName(code).find(' '));
}

// CSV fields a channel's text spans: speed, direction and time for the
// combined wind records, one for everything else.
int FieldCount(int mode) {
  if (mode == 602 || mode == 606) return 3;
  return mode == 600 || mode == 601 ? 2 : 1;
}

// An empty value that keeps the channel's columns.
void AppendEmptyFields(std::string& out, const ChannelInfo& channel) {
  out.append(static_cast<size_t>(FieldCount(channel.mode) - 1), ',');
}

// Combined wind records: bytes as stored, b0 bit 7 marks a missing value.
void AppendWind(std::string& out, const ChannelInfo& channel, const uint8_t* b, ValueStyle style,
                int calmThreshold) {
  const int mode = channel.mode;
  if (b[0] & 0x80) {
    AppendEmptyFields(out, channel);
    return;
  }
  if (mode == 607) {
    AppendScaled(out, (b[0] << 8) | b[1], 6, false, channel.decimals);
    return;
  }
  if (mode >= 603 && mode <= 605) {
    AppendDirection(out, b[0] & (mode == 603 ? 0x1F : 0x7F), style);
    return;
  }
  const int speed = b[0] * 8 + (b[1] >> 5);
  const int direction = speed <= calmThreshold ? 0 : b[1] & 0x1F;
  AppendScaled(out, speed, 6, false, channel.decimals);
  out += ',';
  AppendDirection(out, direction, style);
  if (FieldCount(mode) == 3) {
    out += ',';
    out += TimeOfDayText(b[2], b[3], b[4]);
  }
}

void AppendByType(std::string& out, const ChannelInfo& channel, const uint8_t* value) {
  const int d = channel.decimals;
  switch (channel.dataType) {
    case 10:
      AppendScaled(out, Uint16At(value), 6, false, d);
      return;
    case 11:
      AppendScaled(out, Int16At(value), 6, false, d);
      return;
    case 2:
      AppendScaled(out, channel.bytes >= 4 ? StoredInt32(value) : Int16At(value), 6, false, d);
      return;
    case 6:
      out += DateTimeValueText(value);
      return;
    case 21: {
      static constexpr char kHex[] = "0123456789ABCDEF";
      const uint16_t v = Uint16At(value);
      for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(v >> shift) & 0x0F];
      out += 'h';
      return;
    }
    case kDataTypeTimeOfDay:
      // Host order holds the words (day, hour) and (minute, second) low byte first.
      out += TimeOfDayText(value[0], value[3], value[2], static_cast<uint8_t>(value[1] | 0x01));
      return;
    default:
      AppendScaled(out, Int16At(value), 5, true, d);
      return;
  }
}

}  // namespace

int ChannelLayoutBytes(const ChannelInfo& channel) {
  if (channel.mode == kModeDateTime) return 6;
  if (IsWindMode(channel.mode)) {
    if (channel.mode >= 603 && channel.mode <= 605) return 1;  // direction in b0 alone
    return channel.mode == 602 || channel.mode == 606 ? 5 : 2;
  }
  if (channel.dataType == 6) return 6;
  if (channel.dataType == kDataTypeTimeOfDay) return 4;
  return 2;
}

int WindDirectionIndex(int code) {
  if (code >= 1 && code <= 15) return code;
  return code == 16 ? 0 : kCalmIndex;
}

int32_t StoredInt32(const uint8_t* value) {
  const uint32_t high = Uint16At(value);
  const uint32_t low = static_cast<uint32_t>(value[2]) << 8 | value[3];
  return static_cast<int32_t>(high << 16 | low);
}

std::string InsertDecimalPoint(std::string_view text, int decimals) {
  std::string buffer(text);
  buffer.push_back('\0');  // room for the point
  buffer.resize(InsertDecimalPointInPlace(buffer.data(), text.size(), decimals));
  return buffer;
}

std::string StripSpaces(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text)
    if (c != ' ') out += c;
  return out;
}

std::string_view WindDirectionName(int code) { return kDirectionNames[WindDirectionIndex(code)]; }

bool IsWindDirectionChannel(const ChannelInfo& channel) {
  if (channel.dataType >= 150 && channel.dataType <= 153) return true;
  // Direction modes lie between 159 and 731; most channels are outside.
  if (channel.mode < kDirectionModes[0] || channel.mode > std::end(kDirectionModes)[-1])
    return false;
  return std::binary_search(std::begin(kDirectionModes), std::end(kDirectionModes), channel.mode);
}

void AppendCsvValue(std::string& out, const ChannelInfo& channel, const uint8_t* value,
                    ValueStyle style, int calmThreshold) {
  if (channel.bytes < ChannelLayoutBytes(channel)) {
    // A channel too narrow for its layout has no value to show.
    AppendEmptyFields(out, channel);
    return;
  }
  if (channel.mode == kModeDateTime) {
    out += DateTimeValueText(value);
  } else if (IsWindMode(channel.mode)) {
    AppendWind(out, channel, value, style, calmThreshold);
  } else if (IsWindDirectionChannel(channel)) {
    AppendDirection(out, Int16At(value), style);
  } else {
    AppendByType(out, channel, value);
  }
}

std::string FormatChannelValue(const ChannelInfo& channel, const uint8_t* value, ValueStyle style,
                               int calmThreshold) {
  std::string out;
  AppendCsvValue(out, channel, value, style, calmThreshold);
  return out;
}

}  // namespace tessaro
