#include "core/support/NumberFormat.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <limits>

namespace tessaro {
namespace {

bool IsDigit(char32_t c) { return c >= '0' && c <= '9'; }
bool IsHexLetter(char32_t c) { return (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }
bool IsSign(char c) { return c == '+' || c == '-'; }

// Adds one to the magnitude of a signed integer text, skipping separators.
std::string IncrementMagnitude(std::string integer) {
  const size_t first = (!integer.empty() && IsSign(integer[0])) ? 1 : 0;
  if (integer.size() == first) integer += '0';
  for (size_t i = integer.size(); i-- > first;) {
    char& c = integer[i];
    if (!IsDigit(static_cast<unsigned char>(c))) continue;
    if (c != '9') {
      ++c;
      return integer;
    }
    c = '0';
  }
  integer.insert(first, 1, '1');
  return integer;
}

std::optional<uint64_t> ParseHexDigits(const std::string& digits, int maxDigits) {
  if (digits.empty() || static_cast<int>(digits.size()) > maxDigits) return std::nullopt;
  uint64_t v = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), v, 16);
  if (ec != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return v;
}

std::string HexText(uint64_t magnitude, int figure) {
  char buf[24];
  std::snprintf(buf, sizeof buf, "%llX", static_cast<unsigned long long>(magnitude));
  std::string digits = buf;
  const size_t width = static_cast<size_t>(std::clamp(figure, 1, 64));
  if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
  return digits;
}

int64_t SaturatedInt64(const std::string& integerText) {
  int64_t v = 0;
  const char* begin = integerText.data();
  const char* end = begin + integerText.size();
  if (begin != end && *begin == '+') ++begin;
  const auto [ptr, ec] = std::from_chars(begin, end, v);
  if (ec == std::errc::result_out_of_range)
    return integerText.starts_with('-') ? std::numeric_limits<int64_t>::min()
                                        : std::numeric_limits<int64_t>::max();
  if (ec != std::errc()) return 0;
  return v;
}

}  // namespace

std::string StripNumberText(const std::string& text, const NumberFormatOptions& options) {
  if (options.NumberType == TNumberType::ntHex) return text;
  std::string out;
  out.reserve(text.size());
  for (char c : text)
    if (c != options.ThousandSeparator && static_cast<unsigned char>(c) >= 0x20) out += c;
  return out;
}

std::optional<long double> ParseNumberText(const std::string& text,
                                           const NumberFormatOptions& options) {
  if (text.empty() || text == "-" || text == "+") return 0.0L;
  if (options.NumberType == TNumberType::ntHex) {
    if (options.ValidMinus) {
      const bool negative = text[0] == '-';
      const auto v = ParseHexDigits(negative ? text.substr(1) : text, 16);
      if (!v) return std::nullopt;
      if (!negative) return static_cast<long double>(static_cast<int64_t>(*v));
      return -static_cast<long double>(*v);
    }
    const auto v = ParseHexDigits(text, 8);
    if (!v) return std::nullopt;
    return static_cast<long double>(static_cast<int32_t>(static_cast<uint32_t>(*v)));
  }
  std::string s = StripNumberText(text, options);
  if (s.empty() || s == "-" || s == "+") return 0.0L;
  bool negative = false;
  size_t start = 0;
  if (IsSign(s[0])) {
    negative = s[0] == '-';
    start = 1;
  }
  std::string body = s.substr(start);
  if (body.empty() || IsSign(body[0])) return std::nullopt;
  const size_t sep = body.find(options.DecimalSeparator);
  long double value = 0;
  if (sep != std::string::npos) {
    body[sep] = '.';
    if (body == ".") return std::nullopt;
    const auto [end, ec] =
        std::from_chars(body.data(), body.data() + body.size(), value, std::chars_format::fixed);
    if (ec != std::errc() || end != body.data() + body.size()) return std::nullopt;
  } else {
    int64_t integer = 0;
    const auto [end, ec] = std::from_chars(body.data(), body.data() + body.size(), integer);
    if (ec != std::errc() || end != body.data() + body.size()) return std::nullopt;
    value = static_cast<long double>(integer);
  }
  return negative ? -value : value;
}

std::string RoundDecimalText(const std::string& text, int figure, TRoundMode mode,
                             char decimalSeparator) {
  const size_t sep = text.find(decimalSeparator);
  if (sep == std::string::npos || sep + 1 == text.size() || figure < 0) return text;
  const std::string fraction = text.substr(sep + 1);
  if (fraction.size() <= static_cast<size_t>(figure)) return text;
  std::string integer = text.substr(0, sep);
  std::string kept = fraction.substr(0, static_cast<size_t>(figure));
  const std::string dropped = fraction.substr(static_cast<size_t>(figure));
  bool carry = false;
  switch (mode) {
    case TRoundMode::rmDown:
      break;
    case TRoundMode::rmRound:
      carry = dropped[0] >= '5' && dropped[0] <= '9';
      break;
    case TRoundMode::rmUp:
      carry = dropped.find_first_not_of('0') != std::string::npos;
      break;
  }
  for (size_t i = kept.size(); carry && i-- > 0;) {
    if (kept[i] == '9') {
      kept[i] = '0';
    } else {
      ++kept[i];
      carry = false;
    }
  }
  if (carry) integer = IncrementMagnitude(integer);
  return integer + decimalSeparator + kept;
}

std::string GroupThousands(const std::string& text, char decimalSeparator, char thousandSeparator) {
  size_t start = (!text.empty() && IsSign(text[0])) ? 1 : 0;
  size_t sep = text.find(decimalSeparator);
  if (sep == std::string::npos) sep = text.size();
  std::string digits;
  for (size_t i = start; i < sep; ++i)
    if (text[i] != thousandSeparator) digits += text[i];
  std::string grouped;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped += thousandSeparator;
    grouped += digits[i];
  }
  return text.substr(0, start) + grouped + text.substr(sep);
}

std::string PlainDecimalText(long double value) {
  if (!(value == value) || value == std::numeric_limits<long double>::infinity() ||
      value == -std::numeric_limits<long double>::infinity() || value == 0)
    return "0";
  // 15 significant digits, the precision the field has always shown.
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.14Le", value);
  std::string s = buf;
  const bool negative = s[0] == '-';
  if (negative) s.erase(0, 1);
  const size_t e = s.find('e');
  const int exponent = std::stoi(s.substr(e + 1));
  std::string digits = s.substr(0, 1) + s.substr(2, e - 2);
  digits.erase(digits.find_last_not_of('0') + 1);
  if (digits.empty()) return "0";
  const int pointAt = exponent + 1;  // digits before the decimal point
  std::string out;
  if (pointAt <= 0) {
    out = "0." + std::string(static_cast<size_t>(-pointAt), '0') + digits;
  } else if (static_cast<size_t>(pointAt) >= digits.size()) {
    out = digits + std::string(static_cast<size_t>(pointAt) - digits.size(), '0');
  } else {
    out = digits.substr(0, static_cast<size_t>(pointAt)) + "." +
          digits.substr(static_cast<size_t>(pointAt));
  }
  return negative ? "-" + out : out;
}

long double LimitValue(long double value, const NumberFormatOptions& options) {
  if (!options.Limit) return value;
  return std::clamp(value, options.Min, std::max(options.Min, options.Max));
}

int64_t ValueAsInt64(long double value, TRoundMode mode) {
  std::string text = RoundDecimalText(PlainDecimalText(value), 0, mode);
  if (text.ends_with('.')) text.pop_back();
  return SaturatedInt64(text);
}

int32_t ValueAsInt32(long double value, TRoundMode mode) {
  return static_cast<int32_t>(std::clamp<int64_t>(ValueAsInt64(value, mode),
                                                  std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

std::string FormatNumber(long double& value, const NumberFormatOptions& options) {
  value = LimitValue(value, options);
  if (options.NumberType == TNumberType::ntHex) {
    if (options.ValidMinus) {
      const int64_t n = ValueAsInt64(value, options.RoundMode);
      value = static_cast<long double>(n);
      const uint64_t magnitude = n < 0 ? 0 - static_cast<uint64_t>(n) : static_cast<uint64_t>(n);
      return (n < 0 ? "-" : "") + HexText(magnitude, options.Figure);
    }
    const int32_t n = ValueAsInt32(value, options.RoundMode);
    value = n;
    return HexText(static_cast<uint32_t>(n), options.Figure);
  }
  std::string text = RoundDecimalText(PlainDecimalText(value), options.Figure, options.RoundMode);
  const char dec = options.DecimalSeparator;
  std::replace(text.begin(), text.end(), '.', dec);
  if (options.Comma) text = GroupThousands(text, dec, options.ThousandSeparator);
  if (options.Fixed && options.Figure >= 0) {
    const size_t sep = text.find(dec);
    if (options.Figure == 0) {
      if (sep != std::string::npos) text.erase(sep);
    } else {
      if (sep == std::string::npos) text += dec;
      const size_t at = text.find(dec);
      std::string fraction = text.substr(at + 1);
      fraction.resize(static_cast<size_t>(options.Figure), '0');
      text = text.substr(0, at + 1) + fraction;
    }
  }
  if (text.ends_with(dec)) text.pop_back();
  return text;
}

NumberKeyResult HandleNumberKey(NumberEditState& state, char32_t ch,
                                const NumberFormatOptions& options) {
  const bool hex = options.NumberType == TNumberType::ntHex;
  if (ch == 0x08 || ch == 0x09 || ch == 0x0D) return NumberKeyResult::Insert;
  if (IsDigit(ch) || (hex && IsHexLetter(ch))) return NumberKeyResult::Insert;
  if (ch == static_cast<unsigned char>(options.DecimalSeparator)) {
    if (hex) return NumberKeyResult::Swallow;
    std::string rest = state.text;
    rest.erase(static_cast<size_t>(state.selStart), static_cast<size_t>(state.selLength));
    return rest.find(options.DecimalSeparator) == std::string::npos ? NumberKeyResult::Insert
                                                                    : NumberKeyResult::Swallow;
  }
  if (ch != '-' && ch != '+') return NumberKeyResult::Swallow;
  if (ch == '-' && !options.ValidMinus) return NumberKeyResult::Swallow;
  if (ch == '+' && hex && !state.text.starts_with('-')) return NumberKeyResult::Swallow;

  if (state.selStart == 0 && state.selLength > 0) {
    state.text.erase(0, static_cast<size_t>(state.selLength));
    state.selLength = 0;
  }
  std::string& t = state.text;
  const char sign = static_cast<char>(ch);
  const char other = sign == '-' ? '+' : '-';
  if (hex && sign == '+') {
    t.erase(0, 1);  // only removes the leading "-"
    state.selStart = std::max(0, state.selStart - 1);
  } else if (t.starts_with(sign)) {
    t.erase(0, 1);
    state.selStart = std::max(0, state.selStart - 1);
  } else if (t.starts_with(other)) {
    t[0] = sign;
  } else {
    t.insert(t.begin(), sign);
    ++state.selStart;
  }
  return NumberKeyResult::Handled;
}

void PasteNumberText(NumberEditState& state, const std::u32string& clipboard,
                     const NumberFormatOptions& options) {
  const bool hex = options.NumberType == TNumberType::ntHex;
  std::string& t = state.text;
  t.erase(static_cast<size_t>(state.selStart), static_cast<size_t>(state.selLength));
  state.selLength = 0;
  size_t caret = static_cast<size_t>(state.selStart);
  if (t.find_first_of("+-", caret) != std::string::npos) return;
  for (size_t i = 0; i < clipboard.size(); ++i) {
    const char32_t c = clipboard[i];
    bool allowed = IsDigit(c) || (hex && IsHexLetter(c));
    if (!hex && c == static_cast<unsigned char>(options.DecimalSeparator))
      allowed = t.find(options.DecimalSeparator) == std::string::npos;
    if (c == '-' || c == '+') {
      const bool signAllowed = c == '-' ? options.ValidMinus : !hex;
      allowed = signAllowed && i == 0 && caret == 0 && !(!t.empty() && IsSign(t[0]));
    }
    if (!allowed) continue;
    t.insert(caret++, 1, static_cast<char>(c));
  }
  state.selStart = static_cast<int>(caret);
}

void RegroupKeepingCaret(NumberEditState& state, const NumberFormatOptions& options) {
  const char thou = options.ThousandSeparator;
  int kept = 0;
  for (int i = 0; i < state.selStart && i < static_cast<int>(state.text.size()); ++i)
    if (state.text[static_cast<size_t>(i)] != thou) ++kept;
  state.text = GroupThousands(state.text, options.DecimalSeparator, thou);
  int caret = 0;
  while (kept > 0 && caret < static_cast<int>(state.text.size())) {
    if (state.text[static_cast<size_t>(caret)] != thou) --kept;
    ++caret;
  }
  state.selStart = caret;
  state.selLength = 0;
}

}  // namespace tessaro
