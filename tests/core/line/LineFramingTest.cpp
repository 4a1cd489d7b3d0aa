#include "core/line/LineFraming.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/line/LineFacade.h"

namespace tessaro {
namespace {

using namespace std::string_literals;

TEST(LineFraming, SlavedCommandCarriesHeaderAndCR) {
  std::string line;
  ASSERT_TRUE(BuildCommandLine(true, 1, "rtcr", "\r", line));
  EXPECT_EQ(line,
            "\x05\x20"
            "0001FFFFrtcr\r"s);
  ASSERT_TRUE(BuildCommandLine(false, 1, "rtcr", "\r", line));
  EXPECT_EQ(line, "rtcr\r");
}

TEST(LineFraming, SlaveHeaderKeepsLastFourUpperHexDigits) {
  EXPECT_EQ(BuildSlaveHeader(0xabc), "\x05 0ABCFFFF");
  EXPECT_EQ(BuildSlaveHeader(0x12345), "\x05 2345FFFF");
  EXPECT_EQ(BuildSlaveHeader(0).size(), 10u);
}

TEST(LineFraming, CommandLineMustFitInBuffer) {
  std::string line;
  EXPECT_TRUE(BuildCommandLine(false, 0, std::string(1023, 'a'), "\r", line));
  EXPECT_FALSE(BuildCommandLine(false, 0, std::string(1024, 'a'), "\r", line));
  EXPECT_TRUE(BuildCommandLine(true, 0, std::string(1013, 'a'), "\r", line));
  EXPECT_FALSE(BuildCommandLine(true, 0, std::string(1014, 'a'), "\r", line));
}

TEST(LineFraming, HexFieldWithForeignCharacterIsZero) {
  EXPECT_EQ(ParseHex4("00fF"), 0xFF);
  EXPECT_EQ(ParseHex4("ABCD"), 0xABCD);
  EXPECT_EQ(ParseHex4("00G1"), 0);
  EXPECT_EQ(ParseHex4(" 001"), 0);
  EXPECT_EQ(ParseHex4("001"), 0);
}

TEST(LineFraming, SlavedReplyIsCheckedAndStripped) {
  std::string text;
  EXPECT_TRUE(
      TakeReplyText("\x02?0001abcd201231"
                    "235959"s,
                    true, 1, text));
  EXPECT_EQ(text, "201231235959");
  EXPECT_FALSE(TakeReplyText("\x02?0002abcdreply"s, true, 1, text));
  EXPECT_FALSE(TakeReplyText("X?0001abcdreply"s, true, 1, text));
  EXPECT_FALSE(TakeReplyText("\x02?0001"s, true, 1, text));
  // Lower-case hex matches; a broken field reads as ID 0.
  EXPECT_TRUE(TakeReplyText("\x02 00ab....ok"s, true, 0xAB, text));
  EXPECT_EQ(text, "ok");
  EXPECT_TRUE(TakeReplyText("\x02 0x01....ok"s, true, 0, text));
}

TEST(LineFraming, ReplyEndsAtNul) {
  std::string text;
  EXPECT_TRUE(TakeReplyText("ab\0cd"s, false, 0, text));
  EXPECT_EQ(text, "ab");
}

TEST(LineFraming, CheckReplyIgnoresCaseAndTail) {
  EXPECT_TRUE(IsCheckReply("??CMD"));
  EXPECT_TRUE(IsCheckReply("??cMd and more"));
  EXPECT_FALSE(IsCheckReply("?CMD"));
  EXPECT_FALSE(IsCheckReply("??CM"));
  EXPECT_FALSE(IsCheckReply("!!CMD"));
}

std::vector<uint8_t> MakeBlock(bool large, uint8_t number) {
  std::vector<uint8_t> block(BlockLength(large));
  block[0] = kSOH;
  block[1] = number;
  block[2] = static_cast<uint8_t>(~number);
  uint8_t sum = 0;
  for (int i = 0; i < BlockDataLength(large); ++i) {
    block[3 + i] = static_cast<uint8_t>(i * 7 + number);
    sum = static_cast<uint8_t>(sum + block[3 + i]);
  }
  block[3 + BlockDataLength(large)] = sum;
  return block;
}

TEST(LineCheckBlock, AcceptsIntactBlocksOfBothSizes) {
  EXPECT_TRUE(LineCheckBlock(false, MakeBlock(false, 0).data()));
  EXPECT_TRUE(LineCheckBlock(true, MakeBlock(true, 0xFE).data()));
}

TEST(LineCheckBlock, RejectsEverySingleBitDataError) {
  for (bool large : {false, true}) {
    auto block = MakeBlock(large, 3);
    for (int i = 3; i < 3 + BlockDataLength(large); ++i) {
      for (int bit = 0; bit < 8; ++bit) {
        block[i] ^= static_cast<uint8_t>(1 << bit);
        ASSERT_FALSE(LineCheckBlock(large, block.data())) << "byte " << i << " bit " << bit;
        block[i] ^= static_cast<uint8_t>(1 << bit);
      }
    }
  }
}

TEST(LineCheckBlock, RejectsBadComplementAndSum) {
  auto block = MakeBlock(false, 5);
  block[2] ^= 0x01;
  EXPECT_FALSE(LineCheckBlock(false, block.data()));
  block = MakeBlock(false, 5);
  block[131] ^= 0x80;
  EXPECT_FALSE(LineCheckBlock(false, block.data()));
  // A small block checked as large reads past its sum byte: never valid here.
  auto large = MakeBlock(true, 5);
  large[1027] ^= 0x01;
  EXPECT_FALSE(LineCheckBlock(true, large.data()));
}

}  // namespace
}  // namespace tessaro
