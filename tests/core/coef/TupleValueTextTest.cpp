#include "core/coef/TupleValueText.h"

#include <gtest/gtest.h>

#include <cstring>

#include "support/RecorderArea.h"

namespace tessaro {
namespace {

using namespace std::string_literals;

RecorderTuple Tuple(int type, const std::string& value) {
  const std::string bytes = RecorderArea()
                                .Raw(7, type, 1, static_cast<int>(value.size()), value)
                                .Bytes()
                                .substr(38);  // after the header tuple
  const auto tuple = RecorderTuple::Decode(
      std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
  EXPECT_TRUE(tuple.has_value());
  return tuple.value_or(RecorderTuple{});
}

std::string Float(float f) {
  uint32_t bits;
  std::memcpy(&bits, &f, sizeof bits);
  return RecorderArea::Big(bits, 4);
}

TEST(TupleValueTextTest, FormatsEveryTypeAsTheViewShowsIt) {
  const std::string memo32 = "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345";
  const struct {
    int type;
    std::string value;
    std::string shown;
  } cases[] = {
      {0, "\xFF\x00"s, "-00001"},
      {1, "\x10\xE1", "+04321"},
      {11, "\xFB\x2E", "-01234"},
      {10, "\xFF\xFF", "+65535"},
      {2, "\x07\x5B\xCD\x15", "+0123456789"},
      {2, "\x80\x00\x00\x00"s, "-2147483648"},
      {3, Float(1.5f), "1.500000e+00"},
      {4, std::string("\xBF\x62\x6E\x97\x8D\x4F\xDF\x3B", 8), "-2.250000e-03"},
      {5, memo32, memo32},  // full, no terminator
      {5, std::string(32, '\0'), " "},
      {7, "\x93\xFA\x96\x7B" + std::string(12, '\0'), "日本"},
      {7, std::string(15, 'x') + "\x93", std::string(15, 'x')},  // lead byte without its trail
      {6, "\x26\x12\x08\x10\x23\x45", "26/12/08 10:23:45"},
      {6, "\x26\x13\x08\x10\x23\x45", "261308102345"},  // month 13: the raw digits
      {6, "\x26\x1A\x08\x10\x23\x45", "261A08102345"},
      {20, "\x81\x00"s, "81h"},
      {21, "\x00\xA5"s, "00A5h"},
      {22, "\x80\x00\x00\x01"s, "80000001h"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.shown);
    EXPECT_EQ(FormatTupleValue(Tuple(c.type, c.value)), c.shown);
  }
}

TEST(TupleValueTextTest, RebuildsTheValueFromAWriteReply) {
  const struct {
    int type;
    std::string reply;
    std::string shown;
  } cases[] = {
      {1, "4321", "+04321"},
      {0, "-1", "-00001"},
      {10, "65535", "+65535"},
      {2, "2147483647", "+2147483647"},
      {3, "-2.250000e-03", "-2.250000e-03"},
      {4, "1.5", "1.500000e+00"},
      {5, "", " "},
      {7, "CALIBRATED", "CALIBRATED"},
      {7, std::string(16, 'a') + "tail", std::string(16, 'a')},
      {6, "261208102345", "26/12/08 10:23:45"},
      {6, "261308102345", "261308102345"},  // not a valid time: not expanded
      {20, "129", "81h"},
      {22, "2147483649", "80000001h"},
      {22, "4294967295", "FFFFFFFFh"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.reply);
    EXPECT_EQ(ReplyValueText(c.type, c.reply), c.shown);
  }
}

TEST(TupleValueTextTest, TypeNamesMapBackWithElevenAsOne) {
  EXPECT_EQ(TupleTypeFromName("整数型"), 1);
  EXPECT_EQ(TupleTypeFromName("正整数型"), 10);
  EXPECT_EQ(TupleTypeFromName("ビット32型"), 22);
  EXPECT_EQ(TupleTypeFromName("日付時刻型"), 6);
  EXPECT_EQ(TupleTypeFromName("整数"), std::nullopt);
}

}  // namespace
}  // namespace tessaro
