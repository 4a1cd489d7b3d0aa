#include <gtest/gtest.h>

#include <cmath>

#include "core/support/DateTime.h"

namespace tessaro {
namespace {

RecorderDateTime Make(int y, int mo, int d, int h, int mi, int s) {
  return EncodeDateTime({y, mo, d, h, mi, s});
}

TEST(DateTimeTest, EncodePacksBcdWordsLittleEndian) {
  // Words YYMM, DDhh, mmss; bytes MM YY hh DD ss mm.
  EXPECT_EQ(Make(2005, 12, 31, 23, 58, 7), (RecorderDateTime{0x12, 0x05, 0x23, 0x31, 0x07, 0x58}));
  EXPECT_EQ(Make(1999, 1, 2, 3, 4, 5)[1], 0x99);
  EXPECT_EQ(Make(2005, 1, 2, 3, 4, 5)[1], 0x05);
  EXPECT_EQ(DateTimeDigits(Make(2005, 12, 31, 23, 58, 7)), "051231235807");
}

TEST(DateTimeTest, SeventyYearRule) {
  EXPECT_EQ(DecodeDateTime({0x01, 0x69, 0, 0x01, 0, 0}).year, 2069);
  EXPECT_EQ(DecodeDateTime({0x01, 0x70, 0, 0x01, 0, 0}).year, 1970);
  EXPECT_EQ(DecodeDateTime({0x01, 0x00, 0, 0x01, 0, 0}).year, 2000);
  const DateTimeFields f{2041, 7, 9, 13, 45, 59};
  EXPECT_EQ(DecodeDateTime(EncodeDateTime(f)), f);
}

TEST(DateTimeTest, DigitsDoNotCheckNibbles) {
  const RecorderDateTime raw{0xAB, 0xFF, 0x00, 0x00, 0x00, 0x00};
  EXPECT_EQ(DateTimeDigits(raw).substr(0, 4), "??:;");
  EXPECT_FALSE(DateTimeText(raw).has_value());
  EXPECT_EQ(DateTimeTextOrInvalid(raw), std::string(kInvalidDateTimeText));
  EXPECT_EQ(std::string(kInvalidDateTimeText), "?\?/?\?/?? ??:??:??");
}

TEST(DateTimeTest, ClockTextValidation) {
  EXPECT_TRUE(IsValidClockText("000229000000"));  // 2000 is a leap year
  EXPECT_TRUE(IsValidClockText("040229235959"));
  EXPECT_FALSE(IsValidClockText("010229000000"));
  EXPECT_TRUE(IsValidClockText("010228000000"));
  EXPECT_TRUE(IsValidClockText("960229000000"));   // 1996
  EXPECT_FALSE(IsValidClockText("000001000000"));  // month 00
  EXPECT_FALSE(IsValidClockText("001301000000"));  // month 13
  EXPECT_FALSE(IsValidClockText("000100000000"));  // day 00
  EXPECT_FALSE(IsValidClockText("000431000000"));  // 31 April
  EXPECT_FALSE(IsValidClockText("000101240000"));
  EXPECT_FALSE(IsValidClockText("000101006000"));
  EXPECT_FALSE(IsValidClockText("000101000060"));
  EXPECT_FALSE(IsValidClockText("00010100000x"));
  EXPECT_FALSE(IsValidClockText("0001 1000000"));
  EXPECT_FALSE(IsValidClockText("00010100000"));  // eleven characters
  EXPECT_TRUE(IsValidClockText("000101000000 trailing"));
}

TEST(DateTimeTest, TextForms) {
  EXPECT_EQ(ExpandClockText("051231235807"), "05/12/31 23:58:07");
  EXPECT_EQ(CsvDateTimeText("05/12/31 23:58:07"), "\"05/12/31\",\"23:58:07\"");
  EXPECT_EQ(CsvDateTimeText("05/12/31 23:58:07").size(), 21u);
  EXPECT_EQ(CompactClockText("05/12/31 23:58:07"), "051231235807");
  EXPECT_EQ(DateTimeText(Make(2005, 12, 31, 23, 58, 7)), "05/12/31 23:58:07");
  // Short input never reads past its end.
  EXPECT_EQ(ExpandClockText("0512"), "05/12/?? ??:??:??");
  EXPECT_EQ(CompactClockText("05/12"), "0512????????");
}

TEST(DateTimeTest, AddSecondsCarries) {
  struct Case {
    DateTimeFields from;
    int64_t add;
    DateTimeFields to;
  };
  const Case cases[] = {
      {{2004, 2, 28, 10, 20, 30}, 86400, {2004, 2, 29, 10, 20, 30}},
      {{2004, 2, 29, 10, 20, 30}, 86400, {2004, 3, 1, 10, 20, 30}},
      {{2003, 2, 28, 0, 0, 0}, 86400, {2003, 3, 1, 0, 0, 0}},
      {{2009, 12, 31, 23, 59, 59}, 1, {2010, 1, 1, 0, 0, 0}},
      {{1999, 12, 31, 23, 59, 59}, 1, {2000, 1, 1, 0, 0, 0}},
      {{2010, 1, 31, 23, 0, 0}, 0, {2010, 1, 31, 23, 0, 0}},
      {{2010, 1, 31, 23, 0, 0}, 3600 + 61, {2010, 2, 1, 0, 1, 1}},
      {{2010, 1, 31, 23, 0, 0}, -5, {2010, 1, 31, 23, 0, 0}},  // never moves back
  };
  for (const Case& c : cases) {
    RecorderDateTime dt = EncodeDateTime(c.from);
    AddSeconds(dt, c.add);
    EXPECT_EQ(DecodeDateTime(dt), c.to)
        << c.from.year << "-" << c.from.month << "-" << c.from.day << " + " << c.add;
  }
}

// AddSeconds agrees with the day count for long spans (it skips whole
// four-year spans rather than walking every month).
TEST(DateTimeTest, AddSecondsMatchesEpochArithmetic) {
  const RecorderDateTime start = Make(2001, 3, 15, 6, 7, 8);
  for (int64_t add : {int64_t{59}, int64_t{86399}, int64_t{31 * 86400}, int64_t{400} * 86400 + 17,
                      int64_t{1461} * 86400, int64_t{1461} * 86400 - 1,
                      int64_t{5000} * 86400 + 3599, int64_t{20000} * 86400 + 1}) {
    RecorderDateTime dt = start;
    AddSeconds(dt, add);
    EXPECT_EQ(DateTimeSeconds(dt) - DateTimeSeconds(start), add) << add;
    EXPECT_TRUE(DateTimeText(dt).has_value()) << add;
  }
}

TEST(DateTimeTest, EpochDaysAndSeconds) {
  EXPECT_EQ(EpochDays(1970, 1, 1), 0);
  EXPECT_EQ(EpochDays(1970, 1, 2), 1);
  EXPECT_EQ(EpochDays(2000, 1, 1), 10957);
  EXPECT_EQ(EpochDays(2000, 3, 1), 10957 + 60);  // includes 29 February 2000
  EXPECT_EQ(EpochDays(2024, 2, 29), 19782);
  EXPECT_EQ(DateTimeSeconds(Make(1970, 1, 1, 0, 0, 0)), 0);
  EXPECT_EQ(DateTimeSeconds(Make(2001, 9, 9, 1, 46, 40)), 1000000000);
}

TEST(DateTimeTest, IntervalSeconds) {
  EXPECT_DOUBLE_EQ(IntervalSeconds(100), 0.000001);
  EXPECT_DOUBLE_EQ(IntervalSeconds(105), 0.000025);
  EXPECT_DOUBLE_EQ(IntervalSeconds(209), 0.25);
  EXPECT_DOUBLE_EQ(IntervalSeconds(308), 30);
  EXPECT_DOUBLE_EQ(IntervalSeconds(411), 3600);
  EXPECT_DOUBLE_EQ(IntervalSeconds(600), 3600);
  EXPECT_DOUBLE_EQ(IntervalSeconds(606), 86400);
  EXPECT_DOUBLE_EQ(IntervalSeconds(700), 86400);
  EXPECT_DOUBLE_EQ(IntervalSeconds(1000), 0);
  EXPECT_DOUBLE_EQ(IntervalSeconds(1099), 99);
  EXPECT_DOUBLE_EQ(IntervalSeconds(1130), 1800);
  EXPECT_DOUBLE_EQ(IntervalSeconds(1224), 86400);
  for (int unknown : {0, 99, 111, 199, 211, 309, 412, 500, 607, 701, 999, 1300})
    EXPECT_EQ(IntervalSeconds(unknown), 0) << unknown;
}

TEST(DateTimeTest, IntervalSpanTruncates) {
  EXPECT_EQ(IntervalSpan(1105, 3), 900);
  EXPECT_EQ(IntervalSpan(100, 10), 0);
  EXPECT_EQ(IntervalSpan(100, 999999), 0);
  EXPECT_EQ(IntervalSpan(100, 1000000), 1);
  EXPECT_EQ(IntervalSpan(105, 39999), 0);
  EXPECT_EQ(IntervalSpan(105, 40000), 1);
  EXPECT_EQ(IntervalSpan(207, 29), 2);
  EXPECT_EQ(IntervalSpan(207, 30), 3);
  EXPECT_EQ(IntervalSpan(42, 1000), 0);
  // Large counts stay exact.
  EXPECT_EQ(IntervalSpan(700, 1'000'000'000), 86'400'000'000'000);
  EXPECT_EQ(IntervalSpan(110, 3'000'000'000'001), 1'500'000'000);
}

TEST(DateTimeTest, MonthLengthHasNoCenturyRule) {
  EXPECT_EQ(MonthLength(2100, 2), 29);
  EXPECT_EQ(MonthLength(2001, 2), 28);
  EXPECT_EQ(MonthLength(2001, 11), 30);
  EXPECT_EQ(MonthLength(2001, 0), 0);
  EXPECT_EQ(MonthLength(2001, 13), 0);
}

TEST(DateTimeTest, NowIsAPlausibleLocalTime) {
  const DateTimeFields now = NowFields();
  EXPECT_GE(now.year, 2020);
  EXPECT_TRUE(IsValidClockText(DateTimeDigits(EncodeDateTime(now))));
}

}  // namespace
}  // namespace tessaro
