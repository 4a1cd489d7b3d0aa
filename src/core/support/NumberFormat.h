#pragma once
// The rules of the numeric edit field (TNumberEdit) without any widget:
// parsing its text into a value, rounding a decimal text, formatting a value
// into text, and which typed or pasted characters it accepts. The field keeps
// its value as an extended-precision real; every rounding is done on the
// decimal text, so 1.005 rounds up exactly as it reads.

#include <cstdint>
#include <optional>
#include <string>

namespace tessaro {

enum class TRoundMode { rmDown, rmRound, rmUp };
enum class TNumberType { ntDecimal, ntHex };

struct NumberFormatOptions {
  bool Comma = false;  // group the integer part in thousands
  int Figure = -1;     // decimals (-1 = unlimited); hex: minimum digits
  bool Fixed = false;  // always exactly Figure decimals
  bool Limit = false;  // keep the value within Min..Max
  long double Min = 0;
  long double Max = 0;
  TNumberType NumberType = TNumberType::ntDecimal;
  TRoundMode RoundMode = TRoundMode::rmDown;
  bool ValidMinus = false;
  char DecimalSeparator = '.';
  char ThousandSeparator = ',';
};

// Removes thousands separators and control characters (decimal mode only).
std::string StripNumberText(const std::string& text, const NumberFormatOptions& options);

// The value of a text; empty, "-" or "+" alone read as 0; nullopt when the
// text is not a number. Decimal texts are read after StripNumberText.
std::optional<long double> ParseNumberText(const std::string& text,
                                           const NumberFormatOptions& options);

// Rounds a decimal text to figure decimals; the separator stays even for 0
// decimals ("1.5" -> "2." with rmRound).
std::string RoundDecimalText(const std::string& text, int figure, TRoundMode mode,
                             char decimalSeparator = '.');

// Regroups the integer part of a decimal text in thousands.
std::string GroupThousands(const std::string& text, char decimalSeparator = '.',
                           char thousandSeparator = ',');

// The shortest plain (no exponent) decimal text that reads back as value.
std::string PlainDecimalText(long double value);

// The value clamped to Min..Max when Limit is on.
long double LimitValue(long double value, const NumberFormatOptions& options);

// Rounded to an integer with the rounding mode (64-bit, saturating).
int64_t ValueAsInt64(long double value, TRoundMode mode);
// Rounded with the rounding mode and clamped to the 32-bit range.
int32_t ValueAsInt32(long double value, TRoundMode mode);

// The text of a value by the options. In hex mode the value becomes the
// integer that is shown, so value is updated.
std::string FormatNumber(long double& value, const NumberFormatOptions& options);

// An edit field's text with its selection (positions in characters of text;
// the field's alphabet is ASCII, so bytes and characters agree).
struct NumberEditState {
  std::string text;
  int selStart = 0;
  int selLength = 0;
};

enum class NumberKeyResult {
  Insert,   // let the field insert the character as usual
  Swallow,  // drop the character
  Handled   // state was changed here (sign keys)
};

// A typed character (Latin-1 range; anything else is swallowed).
NumberKeyResult HandleNumberKey(NumberEditState& state, char32_t ch,
                                const NumberFormatOptions& options);

// Pastes clipboard text: the selection is deleted, then each allowed
// character is inserted at the caret. The caret ends after the last insert.
void PasteNumberText(NumberEditState& state, const std::u32string& clipboard,
                     const NumberFormatOptions& options);

// Regroups the integer part while typing; caret keeps its place relative to
// the characters that are not thousands separators.
void RegroupKeepingCaret(NumberEditState& state, const NumberFormatOptions& options);

}  // namespace tessaro
