#include "core/collect/ChannelFormat.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace tessaro {
namespace {

ChannelInfo Channel(int mode, int dataType, int bytes, int decimals = 0) {
  ChannelInfo ch;
  ch.mode = mode;
  ch.dataType = dataType;
  ch.bytes = bytes;
  ch.decimals = decimals;
  return ch;
}

// A 16-bit value in host order, as ReadRecord leaves it.
std::vector<uint8_t> Host16(int value) {
  const auto v = static_cast<uint16_t>(value);
  std::vector<uint8_t> bytes(2);
  std::memcpy(bytes.data(), &v, 2);
  return bytes;
}

std::string Plain(const ChannelInfo& ch, const std::vector<uint8_t>& bytes) {
  return FormatChannelValue(ch, bytes.data(), ValueStyle::Plain);
}
std::string Numeric(const ChannelInfo& ch, const std::vector<uint8_t>& bytes) {
  return FormatChannelValue(ch, bytes.data(), ValueStyle::Numeric);
}

TEST(InsertDecimalPointTest, WorkedExamples) {
  EXPECT_EQ(InsertDecimalPoint("+00123", -2), "  +1.23");
  EXPECT_EQ(StripSpaces(InsertDecimalPoint("+00123", -2)), "+1.23");
  EXPECT_EQ(StripSpaces(InsertDecimalPoint("+00000", 0)), "+0");
  EXPECT_EQ(StripSpaces(InsertDecimalPoint("-00005", -1)), "-0.5");
  EXPECT_EQ(InsertDecimalPoint("000000", 0), "     0");
  EXPECT_EQ(InsertDecimalPoint("000123", -3), "  0.123");
  EXPECT_EQ(InsertDecimalPoint("+12345", -1), "+1234.5");
  // More digits than the precision: nothing to blank.
  EXPECT_EQ(InsertDecimalPoint("+1234567", -2), "+12345.67");
}

TEST(WindDirectionNameTest, SixteenIsNorthAndOutOfRangeIsCalm) {
  EXPECT_EQ(WindDirectionName(16), "N   ");
  EXPECT_EQ(WindDirectionName(1), "NNE ");
  EXPECT_EQ(WindDirectionName(4), "E   ");
  EXPECT_EQ(WindDirectionName(15), "NNW ");
  EXPECT_EQ(WindDirectionName(0), "CALM");
  EXPECT_EQ(WindDirectionName(17), "CALM");
  EXPECT_EQ(WindDirectionName(31), "CALM");
  EXPECT_EQ(WindDirectionName(-1), "CALM");
}

TEST(FormatChannelValueTest, IntegerTypesWithDecimals) {
  EXPECT_EQ(Plain(Channel(1, 1, 2, -1), Host16(15)), "+1.5");
  EXPECT_EQ(Plain(Channel(1, 1, 2, -1), Host16(-3)), "-0.3");
  EXPECT_EQ(Plain(Channel(1, 1, 2, 0), Host16(0)), "+0");
  EXPECT_EQ(Plain(Channel(1, 1, 2, -2), Host16(-32768)), "-327.68");
  EXPECT_EQ(Plain(Channel(1, 10, 2, 0), Host16(65535)), "65535");
  EXPECT_EQ(Plain(Channel(1, 10, 2, -3), Host16(7)), "0.007");
  EXPECT_EQ(Plain(Channel(1, 11, 2, -2), Host16(-5)), "-0.05");
  EXPECT_EQ(Plain(Channel(1, 11, 2, 0), Host16(42)), "42");
  // Unknown type codes read as signed 16-bit with a sign.
  EXPECT_EQ(Plain(Channel(1, 99, 2, -1), Host16(7)), "+0.7");
}

TEST(FormatChannelValueTest, ThirtyTwoBitKeepsTheRecorderWordOrder) {
  // 123456 = 0x0001E240: first word converted to host order, second as stored.
  const std::vector<uint8_t> bytes = {0x01, 0x00, 0xE2, 0x40};
  EXPECT_EQ(Plain(Channel(1, 2, 4, 0), bytes), "123456");
  EXPECT_EQ(Plain(Channel(1, 2, 4, -3), bytes), "123.456");
  const std::vector<uint8_t> minusOne = {0xFF, 0xFF, 0xFF, 0xFF};
  EXPECT_EQ(Plain(Channel(1, 2, 4, 0), minusOne), "-1");
}

TEST(FormatChannelValueTest, HexKeepsFourDigits) {
  EXPECT_EQ(Plain(Channel(1, 21, 2), Host16(0x8001)), "8001h");
  EXPECT_EQ(Plain(Channel(1, 21, 2), Host16(0x12)), "0012h");
  EXPECT_EQ(Numeric(Channel(1, 21, 2), Host16(0xFFFF)), "FFFFh");
}

TEST(FormatChannelValueTest, DateTimeKeepsTheBlankBetweenDateAndTime) {
  // 26/12/08 10:00:07 in memory order MM YY hh DD ss mm.
  const std::vector<uint8_t> dt = {0x12, 0x26, 0x10, 0x08, 0x07, 0x00};
  EXPECT_EQ(Plain(Channel(138, 1, 6), dt), "26/12/08 10:00:07");
  EXPECT_EQ(Numeric(Channel(138, 6, 6), dt), "26/12/08 10:00:07");
  EXPECT_EQ(Plain(Channel(1, 6, 6), dt), "26/12/08 10:00:07");
  const std::vector<uint8_t> bad = {0x13, 0x26, 0x10, 0x08, 0x07, 0x00};
  EXPECT_EQ(Plain(Channel(138, 6, 6), bad), kInvalidDateTimeText);
}

TEST(FormatChannelValueTest, TimeOfDayChecksWithDayBitSet) {
  // Host order of day 00, 12:34:56: words (day, hour) and (minute, second).
  EXPECT_EQ(Plain(Channel(1, 23, 4), {0x12, 0x00, 0x56, 0x34}), "12:34:56");
  EXPECT_EQ(Plain(Channel(1, 23, 4), {0x23, 0x31, 0x59, 0x59}), "23:59:59");
  EXPECT_EQ(Plain(Channel(1, 23, 4), {0x24, 0x00, 0x00, 0x00}), "??:??:??");
  EXPECT_EQ(Plain(Channel(1, 23, 4), {0x10, 0x00, 0x60, 0x00}), "??:??:??");
  // Day 0x32 becomes 0x33: past the end of January.
  EXPECT_EQ(Plain(Channel(1, 23, 4), {0x10, 0x32, 0x00, 0x00}), "??:??:??");
}

TEST(FormatChannelValueTest, DirectionChannelsNameOrNumber) {
  const ChannelInfo byMode = Channel(701, 1, 2);
  EXPECT_EQ(Plain(byMode, Host16(16)), "N");
  EXPECT_EQ(Numeric(byMode, Host16(16)), "+16");
  EXPECT_EQ(Plain(byMode, Host16(3)), "ENE");
  EXPECT_EQ(Plain(byMode, Host16(0)), "CALM");
  EXPECT_EQ(Numeric(byMode, Host16(0)), "+0");
  const ChannelInfo byType = Channel(1, 152, 2);
  EXPECT_TRUE(IsWindDirectionChannel(byType));
  EXPECT_EQ(Plain(byType, Host16(8)), "S");
  EXPECT_FALSE(IsWindDirectionChannel(Channel(1, 1, 2)));
}

TEST(FormatChannelValueTest, WindSpeedAndDirection) {
  // speed = b0 * 8 + (b1 >> 5) = 19, direction = b1 & 0x1F = 5.
  const std::vector<uint8_t> wind = {0x02, (3 << 5) | 5, 0x10, 0x20, 0x30};
  EXPECT_EQ(Plain(Channel(600, 1, 2, -1), wind), "1.9,ESE");
  EXPECT_EQ(Numeric(Channel(601, 1, 2, -1), wind), "1.9,+5");
  EXPECT_EQ(Plain(Channel(602, 1, 5, -1), wind), "1.9,ESE,10:20:30");
  EXPECT_EQ(Numeric(Channel(606, 1, 5, 0), wind), "19,+5,10:20:30");
  const std::vector<uint8_t> badTime = {0x02, (3 << 5) | 5, 0x10, 0x60, 0x30};
  EXPECT_EQ(Plain(Channel(602, 1, 5, 0), badTime), "19,ESE,??:??:??");
  // A speed not above the calm threshold is calm whatever the direction.
  const std::vector<uint8_t> still = {0x00, 0x05, 0, 0, 0};
  EXPECT_EQ(Plain(Channel(600, 1, 2, 0), still), "0,CALM");
  EXPECT_EQ(FormatChannelValue(Channel(600, 1, 2, 0), wind.data(), ValueStyle::Plain, 19),
            "19,CALM");
}

TEST(FormatChannelValueTest, WindDirectionOnlyAndSpeedOnly) {
  EXPECT_EQ(Plain(Channel(603, 1, 2), {0x70, 0}), "N");  // 0x70 & 0x1F = 16
  EXPECT_EQ(Plain(Channel(604, 1, 2), {0x11, 0}), "CALM");
  EXPECT_EQ(Numeric(Channel(605, 1, 2), {0x0F, 0}), "+15");
  EXPECT_EQ(Plain(Channel(607, 1, 2, -1), {0x01, 0x00}), "25.6");
  // Direction-only channels read b0 alone: one byte holds the whole value.
  EXPECT_EQ(Plain(Channel(603, 1, 1), {0x70}), "N");
  EXPECT_EQ(Numeric(Channel(604, 1, 1), {0x05}), "+5");
  EXPECT_EQ(Plain(Channel(605, 1, 1), {0x04}), "E");
}

TEST(FormatChannelValueTest, MissingWindValueKeepsOnlyTheCommas) {
  EXPECT_EQ(Plain(Channel(600, 1, 2), {0x82, 0x65}), ",");
  EXPECT_EQ(Numeric(Channel(602, 1, 5), {0x80, 0, 0, 0, 0}), ",,");
  EXPECT_EQ(Plain(Channel(603, 1, 2), {0x90, 0}), "");
  EXPECT_EQ(Numeric(Channel(605, 1, 1), {0x84}), "");
  EXPECT_EQ(Plain(Channel(607, 1, 2), {0x80, 0x01}), "");
}

TEST(FormatChannelValueTest, ChannelTooNarrowForItsLayoutIsEmpty) {
  EXPECT_EQ(Plain(Channel(138, 6, 4), {0x12, 0x26, 0x10, 0x08}), "");
  // A narrow wind channel keeps its columns.
  EXPECT_EQ(Plain(Channel(602, 1, 2), {0x02, 0x65}), ",,");
  EXPECT_EQ(Plain(Channel(600, 1, 1), {0x02}), ",");
  EXPECT_EQ(Plain(Channel(607, 1, 1), {0x02}), "");
  EXPECT_EQ(Plain(Channel(603, 1, 0), {0x04}), "");
  EXPECT_EQ(Plain(Channel(1, 1, 1), {0x05}), "");
  EXPECT_EQ(Plain(Channel(159, 1, 1), {0x05}), "");
}

}  // namespace
}  // namespace tessaro
