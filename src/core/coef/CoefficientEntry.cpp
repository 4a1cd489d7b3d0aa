#include "core/coef/CoefficientEntry.h"

#include <cctype>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "core/coef/TupleValueText.h"
#include "core/collect/RecorderTuple.h"
#include "core/support/CodePage.h"
#include "core/support/DateTime.h"
#include "core/support/Messages.h"

namespace tessaro {
namespace {

constexpr int kRealEntryLength = 24;  // "-1.797693e+308" and room for a typed form

std::string_view Trimmed(std::string_view text) {
  auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

bool OnlyOf(std::string_view text, std::string_view allowed) {
  for (const char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c)) && allowed.find(c) == std::string_view::npos)
      return false;
  }
  return true;
}

// An optional sign and decimal digits, nothing else.
std::optional<int64_t> WholeNumber(std::string_view text, int base = 10) {
  if (!text.empty() && text.front() == '+') {
    text.remove_prefix(1);
    if (!text.empty() && text.front() == '-') return std::nullopt;
  }
  int64_t value = 0;
  const char* end = text.data() + text.size();
  const auto [last, error] = std::from_chars(text.data(), end, value, base);
  if (text.empty() || error != std::errc() || last != end) return std::nullopt;
  return value;
}

std::string Printf(const char* format, auto value) {
  char text[48];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::optional<std::string> IntegerEntry(int type, std::string_view text) {
  struct Range {
    int64_t low, high;
  };
  const Range range = type == kTypeChar     ? Range{-128, 127}
                      : type == kTypeUInt16 ? Range{0, 65535}
                      : type == kTypeInt32  ? Range{0, 2147483647}
                                            : Range{-32768, 32767};
  if (!OnlyOf(text, type == kTypeInt32 ? "+" : "+-")) return std::nullopt;
  const auto value = WholeNumber(text);
  if (!value || *value < range.low || *value > range.high) return std::nullopt;
  return Printf(type == kTypeInt32 ? "%+.10lld" : "%+.5lld", static_cast<long long>(*value));
}

std::optional<std::string> RealEntry(int type, std::string_view text) {
  if (!OnlyOf(text, "+-.eE")) return std::nullopt;
  const auto value = ParseReal(text);
  if (!value || !std::isfinite(*value)) return std::nullopt;
  if (type == kTypeReal && std::fabs(*value) > FLT_MAX) return std::nullopt;
  return ExponentText(*value);
}

std::optional<std::string> MemoEntry(int type, std::string_view text) {
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) return std::nullopt;
  }
  const auto cp932 = Utf8ToCp932Exact(text);
  if (!cp932) return std::nullopt;
  return Cp932ToUtf8(CutCp932(*cp932, static_cast<size_t>(MemoEntryBytes(type))));
}

// yy/mm/dd hh:mm:ss, a valid recorder time, as its 12 digits.
std::optional<std::string> DateTimeEntry(std::string_view text) {
  static constexpr std::string_view kForm = "99/99/99 99:99:99";
  if (text.size() != kForm.size()) return std::nullopt;
  std::string digits;
  for (size_t i = 0; i < kForm.size(); ++i) {
    if (kForm[i] == '9') {
      if (!std::isdigit(static_cast<unsigned char>(text[i]))) return std::nullopt;
      digits += text[i];
    } else if (text[i] != kForm[i]) {
      return std::nullopt;
    }
  }
  if (!IsValidClockText(digits)) return std::nullopt;
  return digits;
}

std::optional<std::string> BitEntry(int type, std::string_view text) {
  const uint64_t limit = (uint64_t{1} << TupleTypeBits(type)) - 1;
  std::optional<int64_t> value;
  if (!text.empty() && (text.back() == 'h' || text.back() == 'H')) {
    text.remove_suffix(1);
    if (text.empty() || !std::isxdigit(static_cast<unsigned char>(text.front())))
      return std::nullopt;
    value = WholeNumber(text, 16);
  } else if (OnlyOf(text, "+")) {
    value = WholeNumber(text);
  }
  if (!value || *value < 0 || static_cast<uint64_t>(*value) > limit) return std::nullopt;
  return BitValueText(static_cast<uint32_t>(*value));
}

}  // namespace

bool IsEditableType(int type) { return RecorderTuple::ReadSize(type) > 0; }

int TupleTypeBits(int type) {
  switch (type) {
    case kTypeBit8:
      return 8;
    case kTypeBit16:
      return 16;
    case kTypeBit32:
      return 32;
    default:
      return 0;
  }
}

int EntryMaxLength(int type) {
  switch (type) {
    case kTypeInt32:
      return 11;
    case kTypeReal:
    case kTypeDouble:
      return kRealEntryLength;
    case kTypeMemo:
      return 31;
    case kTypeMemo16:
      return 16;
    case kTypeDateTime:
      return 17;
    default:
      return 6;
  }
}

int MemoEntryBytes(int type) { return type == kTypeMemo ? 31 : type == kTypeMemo16 ? 15 : 0; }

uint32_t ShownBitValue(int type, std::string_view shown) {
  const auto digits = static_cast<size_t>(TupleTypeBits(type) / 4);
  if (digits == 0 || shown.size() < digits) return 0;
  const auto value = WholeNumber(shown.substr(0, digits), 16);
  if (!value || !std::isxdigit(static_cast<unsigned char>(shown.front()))) return 0;
  return static_cast<uint32_t>(*value);
}

std::string BitValueText(uint32_t bits) { return std::to_string(bits); }

std::optional<std::string> EntryValueText(int type, std::string_view typed) {
  const std::string_view text = Trimmed(typed);
  switch (type) {
    case kTypeMemo:
    case kTypeMemo16:
      return MemoEntry(type, text);
    case kTypeChar:
    case kTypeInt16:
    case kTypeSInt16:
    case kTypeUInt16:
    case kTypeInt32:
      return IntegerEntry(type, text);
    case kTypeReal:
    case kTypeDouble:
      return RealEntry(type, text);
    case kTypeDateTime:
      return DateTimeEntry(text);
    case kTypeBit8:
    case kTypeBit16:
    case kTypeBit32:
      return BitEntry(type, text);
    default:
      return std::nullopt;
  }
}

std::string CoefficientClipText(const TupleRow& row) {
  return "P;" + row.fields[ColumnType] + ";" + row.fields[ColumnValue];
}

PastedCoefficient ParsePastedCoefficient(const std::string* clipboardText, const TupleRow& row) {
  const PastedCoefficient refused{{}, LoadMessage(MsgClipboardNotPastable)};
  if (clipboardText == nullptr) return refused;
  const std::string_view text = *clipboardText;
  const size_t first = text.find(';');
  const size_t second = first == std::string_view::npos ? first : text.find(';', first + 1);
  if (second == std::string_view::npos || text.substr(0, first) != "P" ||
      text.substr(first + 1, second - first - 1) != row.fields[ColumnType])
    return refused;
  const auto type = TupleTypeFromName(row.fields[ColumnType]);
  if (!type) return refused;
  auto value = EntryValueText(*type, text.substr(second + 1));
  if (!value) return refused;
  return {std::move(*value), {}};
}

}  // namespace tessaro
