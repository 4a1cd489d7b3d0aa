#include "core/coef/TupleValueText.h"

#include <charconv>
#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "core/recorder/RecorderReply.h"
#include "core/support/CodePage.h"
#include "core/support/DateTime.h"
#include "core/support/DefinitionDb.h"

namespace tessaro {
namespace {

std::string Printf(const char* format, auto... values) {
  char text[64];
  std::snprintf(text, sizeof text, format, values...);
  return text;
}

std::string SignedText(int type, int64_t value) {
  return Printf(type == kTypeInt32 ? "%+.10" PRId64 : "%+.5" PRId64, value);
}

int BitDigits(int type) { return type == kTypeBit8 ? 2 : type == kTypeBit16 ? 4 : 8; }

std::string BitText(int type, uint64_t value) {
  const int digits = BitDigits(type);
  const uint64_t mask = (uint64_t{1} << (4 * digits)) - 1;
  return Printf("%0*" PRIX64 "h", digits, value & mask);
}

// The clock digits as stored, valid or not; a nibble above 9 shows as its
// hex digit.
std::string RawClockDigits(const RecorderDateTime& dt) {
  static constexpr int kByteOrder[6] = {1, 0, 3, 2, 5, 4};  // words stored low byte first
  std::string digits;
  for (const int i : kByteOrder) digits += Printf("%02X", dt[static_cast<size_t>(i)]);
  return digits;
}

std::string ClockText(const std::string& digits) {
  return IsValidClockText(digits) ? ExpandClockText(digits.substr(0, 12)) : digits;
}

// A recorder text: up to its first NUL and at most maxBytes, never cut
// inside a double-byte character.
std::string RecorderText(std::string_view bytes, size_t maxBytes) {
  bytes = bytes.substr(0, std::min(maxBytes, bytes.size()));
  bytes = bytes.substr(0, std::min(bytes.find('\0'), bytes.size()));
  // A lead byte at the very end has lost its trail byte; with a byte after
  // it the pair no longer fits and CutCp932 drops it.
  const std::string padded = std::string(bytes) + ' ';
  return Cp932ToUtf8(CutCp932(padded, bytes.size()));
}

// The number at the start of a reply, without the blanks before it.
std::string_view LeadingReal(std::string_view reply) {
  reply.remove_prefix(std::min(reply.find_first_not_of(' '), reply.size()));
  const size_t end = reply.find_first_not_of("+-.0123456789eE");
  return reply.substr(0, end);
}

std::string NonEmpty(std::string text) { return text.empty() ? std::string(" ") : text; }

}  // namespace

std::string FormatTupleValue(const RecorderTuple& tuple) {
  switch (tuple.type) {
    case kTypeChar:
    case kTypeInt16:
    case kTypeSInt16:
    case kTypeUInt16:
    case kTypeInt32:
      return SignedText(tuple.type, tuple.Integer());
    case kTypeReal: {
      float value;
      std::memcpy(&value, tuple.value.data(), sizeof value);
      return ExponentText(static_cast<double>(value));
    }
    case kTypeDouble: {
      double value;
      std::memcpy(&value, tuple.value.data(), sizeof value);
      return ExponentText(value);
    }
    case kTypeMemo:
    case kTypeMemo16:
      return NonEmpty(RecorderText(tuple.Text(), static_cast<size_t>(tuple.ValueSize(tuple.type))));
    case kTypeDateTime:
      return ClockText(RawClockDigits(tuple.DateTime()));
    case kTypeBit8:
    case kTypeBit16:
    case kTypeBit32:
      return BitText(tuple.type, static_cast<uint64_t>(tuple.Integer()));
    default:
      return " ";
  }
}

std::string ReplyValueText(int type, std::string_view reply) {
  const std::string text(reply);
  switch (type) {
    case kTypeChar:
    case kTypeInt16:
    case kTypeSInt16:
    case kTypeUInt16:
    case kTypeInt32:
      return SignedText(type, ReplyInteger(text));
    case kTypeReal:
    case kTypeDouble:
      return ExponentText(ParseReal(LeadingReal(reply)).value_or(0.0));
    case kTypeMemo:
      return NonEmpty(RecorderText(reply, 32));
    case kTypeMemo16:
      return NonEmpty(RecorderText(reply, 16));
    case kTypeDateTime:
      return NonEmpty(ClockText(Cp932ToUtf8(reply.substr(0, 12))));
    case kTypeBit8:
    case kTypeBit16:
    case kTypeBit32:
      return BitText(type, static_cast<uint64_t>(ReplyInteger(text)));
    default:
      return NonEmpty(Cp932ToUtf8(reply));
  }
}

std::string ExponentText(double value) {
  char text[48];
  const auto result =
      std::to_chars(text, text + sizeof text, value, std::chars_format::scientific, 6);
  return std::string(text, result.ptr);
}

std::optional<double> ParseReal(std::string_view text) {
  // from_chars takes no "+"; a second sign after it is not a number.
  if (!text.empty() && text.front() == '+') {
    text.remove_prefix(1);
    if (!text.empty() && text.front() == '-') return std::nullopt;
  }
  double value = 0;
  const char* end = text.data() + text.size();
  const auto [last, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || last != end) return std::nullopt;
  return value;
}

std::optional<int> TupleTypeFromName(std::string_view name) {
  static constexpr int kOrder[] = {kTypeChar,     kTypeInt16,  kTypeUInt16, kTypeInt32,
                                   kTypeReal,     kTypeDouble, kTypeMemo,   kTypeMemo16,
                                   kTypeDateTime, kTypeBit8,   kTypeBit16,  kTypeBit32};
  for (const int type : kOrder)
    if (TupleTypeName(type) == name) return type;
  return std::nullopt;
}

}  // namespace tessaro
