#include "sim/TupleArea.h"

#include <gtest/gtest.h>

#include "sim/SimCalendar.h"

namespace tessaro::sim {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes Encoded(const SimTuple& tuple) {
  Bytes out;
  EncodeTuple(tuple, out);
  return out;
}

TEST(SimTupleEncoding, IntegerTuplesAreBigEndianWithFixedSizes) {
  EXPECT_EQ(Encoded(MakeIntTuple(202, kTypeInt16, 4)), (Bytes{0x00, 0xCA, 8, 1, 2, 1, 0x00, 0x04}));
  EXPECT_EQ(Encoded(MakeIntTuple(806, kTypeInt32, 0x12345678)),
            (Bytes{0x03, 0x26, 10, 2, 4, 1, 0x12, 0x34, 0x56, 0x78}));
  EXPECT_EQ(Encoded(MakeIntTuple(881, kTypeInt32, -1)),
            (Bytes{0x03, 0x71, 10, 2, 4, 1, 0xFF, 0xFF, 0xFF, 0xFF}));
  // One-byte values stand in byte 6; byte 7 is unused.
  EXPECT_EQ(Encoded(MakeIntTuple(400, kTypeChar, -1)), (Bytes{0x01, 0x90, 8, 0, 1, 1, 0xFF, 0x00}));
  EXPECT_EQ(Encoded(MakeIntTuple(120, kTypeBit16, 0x00A5)),
            (Bytes{0x00, 0x78, 8, 21, 2, 1, 0x00, 0xA5}));
  EXPECT_EQ(Encoded(MakeIntTuple(410, kTypeBit32, 0x80000001LL)).size(), 10u);
}

TEST(SimTupleEncoding, RealTextAndDateTimeTuples) {
  EXPECT_EQ(Encoded(MakeRealTuple(404, kTypeReal, 1.5)),
            (Bytes{0x01, 0x94, 10, 3, 4, 1, 0x3F, 0xC0, 0x00, 0x00}));
  EXPECT_EQ(Encoded(MakeRealTuple(405, kTypeDouble, 1.0)),
            (Bytes{0x01, 0x95, 14, 4, 8, 1, 0x3F, 0xF0, 0, 0, 0, 0, 0, 0}));
  // The date-time words are stored big-endian: YY MM DD hh mm ss.
  EXPECT_EQ(Encoded(MakeDateTimeTuple(800, {2026, 12, 8, 10, 23, 45})),
            (Bytes{0x03, 0x20, 12, 6, 6, 1, 0x26, 0x12, 0x08, 0x10, 0x23, 0x45}));
  const Bytes memo = Encoded(MakeTextTuple(210, kTypeMemo16, "SERIAL-NUMBER-LONGER-THAN-16"));
  ASSERT_EQ(memo.size(), 22u);
  EXPECT_EQ(std::string(memo.begin() + 6, memo.end()), "SERIAL-NUMBER-LO");
  const Bytes memo32 = Encoded(MakeTextTuple(406, kTypeMemo, "AB"));
  ASSERT_EQ(memo32.size(), 38u);
  EXPECT_EQ(memo32[4], 1);
  EXPECT_EQ(memo32[5], 32);
  EXPECT_EQ(memo32[8], 0);
}

TEST(SimTupleEncoding, AreaStartsWithTupleZeroAndEndsWithFFFF) {
  TupleArea area;
  area.Put(MakeIntTuple(100, kTypeInt16, 41));
  area.Put(MakeTextTuple(210, kTypeMemo16, "X"));
  area.Put(MakeIntTuple(100, kTypeInt16, 42));  // replaces, keeps the place
  const Bytes image = area.Encode();
  ASSERT_EQ(image.size(), area.EncodedSize());

  std::vector<int> numbers;
  size_t at = 0;
  while (at + 2 <= image.size()) {
    const int number = image[at] << 8 | image[at + 1];
    numbers.push_back(number);
    if (number == 0xFFFF) break;
    ASSERT_GE(image[at + 2], 1);
    EXPECT_EQ(image[at + 2], TupleByteSize(image[at + 3]));
    at += image[at + 2];
  }
  EXPECT_EQ(numbers, (std::vector<int>{0, 100, 210, 0xFFFF}));
  EXPECT_EQ(image[8 + 7], 42);
  // Room for a whole tuple head after the end number.
  EXPECT_EQ(image.size() - at, 8u);
}

TEST(SimTupleValues, ReplyTextsFollowTheType) {
  EXPECT_EQ(TupleValueText(MakeIntTuple(1, kTypeChar, -1)), "-1");
  EXPECT_EQ(TupleValueText(MakeIntTuple(1, kTypeUInt16, 65535)), "65535");
  EXPECT_EQ(TupleValueText(MakeIntTuple(1, kTypeInt16, -32768)), "-32768");
  EXPECT_EQ(TupleValueText(MakeIntTuple(1, kTypeBit32, 0xFFFFFFFFLL)), "4294967295");
  EXPECT_EQ(TupleValueText(MakeDateTimeTuple(1, {1999, 12, 31, 23, 59, 59})), "991231235959");
  EXPECT_EQ(TupleValueText(MakeTextTuple(1, kTypeMemo, "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345")),
            "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345");
  EXPECT_DOUBLE_EQ(std::stod(TupleValueText(MakeRealTuple(1, kTypeReal, -2.5))), -2.5);
}

TEST(SimTupleValues, WritesAcceptTheFormsTheProgramSends) {
  SimTuple i8 = MakeIntTuple(1, kTypeChar, 0);
  EXPECT_TRUE(SetTupleValueFromText(i8, "-0128"));
  EXPECT_EQ(TupleIntValue(i8), -128);
  EXPECT_FALSE(SetTupleValueFromText(i8, "128"));
  EXPECT_FALSE(SetTupleValueFromText(i8, "12abc"));
  EXPECT_EQ(TupleIntValue(i8), -128);

  SimTuple u16 = MakeIntTuple(1, kTypeUInt16, 0);
  EXPECT_FALSE(SetTupleValueFromText(u16, "-1"));
  EXPECT_TRUE(SetTupleValueFromText(u16, "+65535"));

  SimTuple i32 = MakeIntTuple(1, kTypeInt32, 0);
  EXPECT_TRUE(SetTupleValueFromText(i32, "+0123456789"));
  EXPECT_EQ(TupleIntValue(i32), 123456789);

  // Bits arrive as decimal from the editor and as hex with "h" from a paste.
  SimTuple bits = MakeIntTuple(1, kTypeBit16, 0);
  EXPECT_TRUE(SetTupleValueFromText(bits, "165"));
  EXPECT_EQ(TupleIntValue(bits), 0xA5);
  EXPECT_TRUE(SetTupleValueFromText(bits, "00FFh"));
  EXPECT_EQ(TupleIntValue(bits), 0xFF);
  EXPECT_FALSE(SetTupleValueFromText(bits, "65536"));

  SimTuple date = MakeDateTimeTuple(1, {2026, 1, 1, 0, 0, 0});
  EXPECT_TRUE(SetTupleValueFromText(date, "000229120000"));
  EXPECT_EQ(TupleValueText(date), "000229120000");
  EXPECT_TRUE(SetTupleValueFromText(date, "26/12/09 11:00:00"));
  EXPECT_EQ(TupleValueText(date), "261209110000");
  EXPECT_FALSE(SetTupleValueFromText(date, "010229120000"));  // no 29 February in 2001
  EXPECT_FALSE(SetTupleValueFromText(date, "261301000000"));

  SimTuple memo = MakeTextTuple(1, kTypeMemo16, "OLD TEXT");
  EXPECT_TRUE(SetTupleValueFromText(memo, ""));
  EXPECT_EQ(TupleValueText(memo), "");
  EXPECT_TRUE(SetTupleValueFromText(memo, "ABCDEFGHIJKLMNOPQRST"));
  EXPECT_EQ(TupleValueText(memo), "ABCDEFGHIJKLMNOP");

  SimTuple real = MakeRealTuple(1, kTypeDouble, 0);
  EXPECT_TRUE(SetTupleValueFromText(real, "-1.250000e+02"));
  EXPECT_DOUBLE_EQ(std::stod(TupleValueText(real)), -125.0);
  EXPECT_FALSE(SetTupleValueFromText(real, "-NAN"));
}

TEST(SimCalendar, ClockDigitsAndSecondsRoundTrip) {
  const DateTimeFields leap{2028, 2, 29, 23, 59, 59};
  EXPECT_EQ(FieldsFromSeconds(CalendarSeconds(leap) + 1), (DateTimeFields{2028, 3, 1, 0, 0, 0}));
  EXPECT_EQ(CalendarSeconds({1970, 1, 1, 0, 0, 0}), 0);
  EXPECT_EQ(ClockDigits(*ParseClockDigits("691231235959")), "691231235959");
  EXPECT_EQ(ParseClockDigits("691231235959")->year, 2069);
  EXPECT_EQ(ParseClockDigits("700101000000")->year, 1970);
  EXPECT_FALSE(ParseClockDigits("26120810234"));
  EXPECT_FALSE(ParseClockDigits("261208102360"));
  EXPECT_FALSE(ParseClockDigits("261208242345"));
}

}  // namespace
}  // namespace tessaro::sim
