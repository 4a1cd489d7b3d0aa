#include <gtest/gtest.h>

#include "core/support/NumberFormat.h"

namespace tessaro {
namespace {

NumberFormatOptions Decimal(int figure, TRoundMode mode, bool fixed = false) {
  NumberFormatOptions o;
  o.Figure = figure;
  o.RoundMode = mode;
  o.Fixed = fixed;
  return o;
}

std::string Format(long double value, const NumberFormatOptions& o) {
  return FormatNumber(value, o);
}

TEST(NumberFormat, RoundingModesWorkOnTheDecimalText) {
  EXPECT_EQ(Format(*ParseNumberText("1.005", {}), Decimal(2, TRoundMode::rmRound, true)), "1.01");
  EXPECT_EQ(Format(*ParseNumberText("1.005", {}), Decimal(2, TRoundMode::rmDown, true)), "1.00");
  EXPECT_EQ(Format(*ParseNumberText("1.001", {}), Decimal(2, TRoundMode::rmUp, true)), "1.01");
  EXPECT_EQ(Format(*ParseNumberText("1.000", {}), Decimal(2, TRoundMode::rmUp, true)), "1.00");
  EXPECT_EQ(Format(-1.96L, Decimal(1, TRoundMode::rmRound)), "-2.0");
  EXPECT_EQ(Format(-1.96L, Decimal(1, TRoundMode::rmRound, true)), "-2.0");
  EXPECT_EQ(Format(9.999L, Decimal(2, TRoundMode::rmRound)), "10.00");
}

TEST(NumberFormat, RoundDecimalTextEdgeCases) {
  EXPECT_EQ(RoundDecimalText("12", 2, TRoundMode::rmUp), "12");
  EXPECT_EQ(RoundDecimalText("12.", 0, TRoundMode::rmUp), "12.");
  EXPECT_EQ(RoundDecimalText("12.345", -1, TRoundMode::rmUp), "12.345");
  EXPECT_EQ(RoundDecimalText("12.3", 2, TRoundMode::rmUp), "12.3");
  EXPECT_EQ(RoundDecimalText("1.5", 0, TRoundMode::rmRound), "2.");
  EXPECT_EQ(RoundDecimalText("-0.96", 1, TRoundMode::rmRound), "-1.0");
  EXPECT_EQ(RoundDecimalText("-.96", 1, TRoundMode::rmRound), "-1.0");
  EXPECT_EQ(RoundDecimalText("99.99", 1, TRoundMode::rmUp), "100.0");
  EXPECT_EQ(RoundDecimalText("9,999.9", 0, TRoundMode::rmRound), "10,000.");
  EXPECT_EQ(RoundDecimalText("1,5", 0, TRoundMode::rmRound, ','), "2,");
}

TEST(NumberFormat, FixedFigurePadsCutsAndDropsTheSeparator) {
  EXPECT_EQ(Format(3, Decimal(2, TRoundMode::rmDown, true)), "3.00");
  EXPECT_EQ(Format(3.5L, Decimal(0, TRoundMode::rmDown, true)), "3");
  EXPECT_EQ(Format(3.5L, Decimal(0, TRoundMode::rmRound)), "4");
  EXPECT_EQ(Format(3.25L, Decimal(-1, TRoundMode::rmDown)), "3.25");
  EXPECT_EQ(Format(0.1L, Decimal(-1, TRoundMode::rmDown)), "0.1");
  EXPECT_EQ(Format(1e20L, Decimal(-1, TRoundMode::rmDown)), "100000000000000000000");
  EXPECT_EQ(Format(-0.000125L, Decimal(-1, TRoundMode::rmDown)), "-0.000125");
}

TEST(NumberFormat, CommaGroupsTheIntegerPart) {
  NumberFormatOptions o = Decimal(2, TRoundMode::rmDown, true);
  o.Comma = true;
  EXPECT_EQ(Format(1234567.891L, o), "1,234,567.89");
  EXPECT_EQ(Format(-1234L, o), "-1,234.00");
  EXPECT_EQ(Format(999, o), "999.00");
  EXPECT_EQ(GroupThousands("12,34567"), "1,234,567");
}

TEST(NumberFormat, LimitClampsTheValue) {
  NumberFormatOptions o;
  o.Limit = true;
  o.Min = 1;
  o.Max = 120;
  long double v = 500;
  EXPECT_EQ(FormatNumber(v, o), "120");
  EXPECT_EQ(v, 120);
  v = -3;
  EXPECT_EQ(FormatNumber(v, o), "1");
}

TEST(NumberFormat, HexFormattingAndParsing) {
  NumberFormatOptions o;
  o.NumberType = TNumberType::ntHex;
  o.Figure = 4;
  long double v = 255;
  EXPECT_EQ(FormatNumber(v, o), "00FF");
  v = 0x12345;
  EXPECT_EQ(FormatNumber(v, o), "12345");
  v = -1;
  EXPECT_EQ(FormatNumber(v, o), "FFFFFFFF");
  EXPECT_EQ(*ParseNumberText("FFFFFFFF", o), -1);
  EXPECT_EQ(*ParseNumberText("7fffffff", o), 2147483647);
  EXPECT_FALSE(ParseNumberText("-FF", o));
  EXPECT_FALSE(ParseNumberText("100000000", o));
  o.ValidMinus = true;
  v = -255;
  EXPECT_EQ(FormatNumber(v, o), "-00FF");
  EXPECT_EQ(*ParseNumberText("-FF", o), -255);
  EXPECT_EQ(*ParseNumberText("100000000", o), 4294967296.0L);
  v = 2.6L;
  o.RoundMode = TRoundMode::rmDown;
  EXPECT_EQ(FormatNumber(v, o), "0002");
  EXPECT_EQ(v, 2);
}

TEST(NumberFormat, ParsingDecimalTexts) {
  NumberFormatOptions o;
  EXPECT_EQ(*ParseNumberText("", o), 0);
  EXPECT_EQ(*ParseNumberText("-", o), 0);
  EXPECT_EQ(*ParseNumberText("+", o), 0);
  EXPECT_EQ(*ParseNumberText("1,234,567", o), 1234567);
  EXPECT_EQ(*ParseNumberText("12\t3", o), 123);
  EXPECT_EQ(*ParseNumberText("-12.5", o), -12.5L);
  EXPECT_EQ(*ParseNumberText("+7", o), 7);
  EXPECT_EQ(*ParseNumberText(".5", o), 0.5L);
  EXPECT_FALSE(ParseNumberText("12a3", o));
  EXPECT_FALSE(ParseNumberText("1e5", o));
  EXPECT_FALSE(ParseNumberText("--1", o));
  EXPECT_FALSE(ParseNumberText(".", o));
  EXPECT_FALSE(ParseNumberText("99999999999999999999", o));
  o.DecimalSeparator = ',';
  o.ThousandSeparator = '.';
  EXPECT_EQ(*ParseNumberText("1.234,5", o), 1234.5L);
}

TEST(NumberFormat, IntegerConversionRoundsAndSaturates) {
  EXPECT_EQ(ValueAsInt32(2.5L, TRoundMode::rmDown), 2);
  EXPECT_EQ(ValueAsInt32(2.5L, TRoundMode::rmRound), 3);
  EXPECT_EQ(ValueAsInt32(2.01L, TRoundMode::rmUp), 3);
  EXPECT_EQ(ValueAsInt32(-2.5L, TRoundMode::rmRound), -3);
  EXPECT_EQ(ValueAsInt32(1e12L, TRoundMode::rmDown), 2147483647);
  EXPECT_EQ(ValueAsInt32(-1e12L, TRoundMode::rmDown), -2147483647 - 1);
  EXPECT_EQ(ValueAsInt64(1e30L, TRoundMode::rmDown), INT64_MAX);
}

NumberKeyResult Key(NumberEditState& s, char32_t c, const NumberFormatOptions& o = {}) {
  return HandleNumberKey(s, c, o);
}

TEST(NumberFormat, KeyFilter) {
  NumberEditState s{"12", 2, 0};
  EXPECT_EQ(Key(s, 'a'), NumberKeyResult::Swallow);
  EXPECT_EQ(Key(s, '3'), NumberKeyResult::Insert);
  EXPECT_EQ(Key(s, 0x08), NumberKeyResult::Insert);
  EXPECT_EQ(Key(s, U'あ'), NumberKeyResult::Swallow);
  EXPECT_EQ(Key(s, '.'), NumberKeyResult::Insert);
  s.text = "1.2";
  EXPECT_EQ(Key(s, '.'), NumberKeyResult::Swallow);
  s.selStart = 1;
  s.selLength = 1;  // the selection replaces the separator
  EXPECT_EQ(Key(s, '.'), NumberKeyResult::Insert);
  // "-" is refused without ValidMinus and leaves the text alone.
  EXPECT_EQ(Key(s, '-'), NumberKeyResult::Swallow);
  EXPECT_EQ(s.text, "1.2");
}

TEST(NumberFormat, SignKeysToggleTheLeadingSign) {
  NumberFormatOptions o;
  o.ValidMinus = true;
  NumberEditState s{"12", 2, 0};
  EXPECT_EQ(Key(s, '-', o), NumberKeyResult::Handled);
  EXPECT_EQ(s.text, "-12");
  EXPECT_EQ(s.selStart, 3);
  EXPECT_EQ(Key(s, '+', o), NumberKeyResult::Handled);
  EXPECT_EQ(s.text, "+12");
  EXPECT_EQ(Key(s, '+', o), NumberKeyResult::Handled);
  EXPECT_EQ(s.text, "12");
  EXPECT_EQ(s.selStart, 2);
  s = {"-12", 1, 0};
  Key(s, '-', o);
  EXPECT_EQ(s.text, "12");
  EXPECT_EQ(s.selStart, 0);
  s = {"345", 0, 2};  // selection at the start is deleted first
  Key(s, '-', o);
  EXPECT_EQ(s.text, "-5");

  o.NumberType = TNumberType::ntHex;
  s = {"FF", 2, 0};
  EXPECT_EQ(Key(s, '+', o), NumberKeyResult::Swallow);
  EXPECT_EQ(Key(s, 'e', o), NumberKeyResult::Insert);
  EXPECT_EQ(Key(s, '.', o), NumberKeyResult::Swallow);
  Key(s, '-', o);
  EXPECT_EQ(s.text, "-FF");
  EXPECT_EQ(Key(s, '+', o), NumberKeyResult::Handled);
  EXPECT_EQ(s.text, "FF");
}

TEST(NumberFormat, PasteKeepsOnlyAllowedCharacters) {
  NumberFormatOptions o;
  NumberEditState s{"", 0, 0};
  PasteNumberText(s, U"1a2.3.4x", o);
  EXPECT_EQ(s.text, "12.34");
  EXPECT_EQ(s.selStart, 5);

  o.ValidMinus = true;
  s = {"56", 0, 0};
  PasteNumberText(s, U"-12", o);
  EXPECT_EQ(s.text, "-1256");
  s = {"-56", 0, 0};  // sign at the caret: nothing pasted
  PasteNumberText(s, U"12", o);
  EXPECT_EQ(s.text, "-56");
  s = {"56", 1, 0};  // a sign is taken only at the very start
  PasteNumberText(s, U"-1", o);
  EXPECT_EQ(s.text, "516");
  s = {"123", 1, 1};  // selection replaced
  PasteNumberText(s, U"99", o);
  EXPECT_EQ(s.text, "1993");
}

TEST(NumberFormat, RegroupWhileTypingKeepsTheCaret) {
  NumberFormatOptions o;
  o.Comma = true;
  NumberEditState s{"1234567", 7, 0};
  RegroupKeepingCaret(s, o);
  EXPECT_EQ(s.text, "1,234,567");
  EXPECT_EQ(s.selStart, 9);
  s = {"1,2345", 3, 0};  // caret after "12"
  RegroupKeepingCaret(s, o);
  EXPECT_EQ(s.text, "12,345");
  EXPECT_EQ(s.selStart, 2);
}

}  // namespace
}  // namespace tessaro
