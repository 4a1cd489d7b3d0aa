#include "core/line/SerialTermios.h"

#include <gtest/gtest.h>

#include "support/LinePeers.h"

namespace tessaro {
namespace {

TEST(SerialTermios, RoundTripsEveryParameter) {
  for (uint32_t baud : {9600u, 38400u, 115200u, 250000u, 256000u, 14400u}) {
    for (int bits : {5, 6, 7, 8}) {
      for (int parity = 0; parity <= 4; ++parity) {
        SerialParams p;
        p.baud = baud;
        p.dataBits = bits;
        p.parity = parity;
        p.stopBits = 2;
        p.rtsCts = parity % 2 == 0;
        p.xonXoff = parity == 3;
        EXPECT_EQ(DecodeRawTermios(BuildRawTermios(p)), p) << baud << " " << bits << " " << parity;
      }
    }
  }
}

TEST(SerialTermios, NonStandardRatesNeedCustomBaud) {
  EXPECT_FALSE(NeedsCustomBaud(38400));
  EXPECT_FALSE(NeedsCustomBaud(115200));
  EXPECT_TRUE(NeedsCustomBaud(250000));
  EXPECT_TRUE(NeedsCustomBaud(14400));
  EXPECT_EQ(BuildRawTermios({.baud = 250000}).ospeed, 250000u);
}

TEST(SerialTermios, OneAndAHalfStopBitsBecomeTwo) {
  SerialParams p;
  p.stopBits = 1;
  EXPECT_EQ(DecodeRawTermios(BuildRawTermios(p)).stopBits, 2);
}

TEST(SerialTermios, RawLineHasNoTranslationOrEcho) {
  const RawTermios raw = BuildRawTermios({});
  EXPECT_EQ(raw.lflag, 0u);
  EXPECT_EQ(raw.oflag, 0u);
  EXPECT_EQ(raw.iflag, 0u);  // no parity, no software flow: nothing to check or strip
}

TEST(SerialTermios, PtyTakesAnyRate) {
  testing::PtyPair pty;
  UniqueFd fd(::open(pty.path().c_str(), O_RDWR | O_NOCTTY));
  ASSERT_TRUE(fd);
  SerialParams p;
  p.baud = 250000;
  p.stopBits = 2;
  ASSERT_TRUE(ApplySerialParams(fd.get(), p));
  SerialParams back;
  ASSERT_TRUE(ReadSerialParams(fd.get(), back));
  // A pty forces 8 bits without parity; rate and stop bits it keeps.
  EXPECT_EQ(back.baud, 250000u);
  EXPECT_EQ(back.stopBits, 2);
}

}  // namespace
}  // namespace tessaro
