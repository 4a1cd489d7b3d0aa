// The recorder clock: which replies count as a time, typed settings, where
// editing starts, the PC time sent, and reading and setting the clock of
// the simulator.

#include <gtest/gtest.h>

#include <chrono>

#include "SimSessionRig.h"
#include "core/settings/PcClockStamp.h"
#include "core/settings/RecorderClock.h"
#include "core/support/Messages.h"

namespace tessaro {
namespace {

TEST(ClockText, OnlyTwelveDigitsOfARealTimeCount) {
  const struct {
    const char* reply;
    bool valid;
  } cases[] = {
      {"991231235959", true},   {"000229000000", true},  // 2000 is a leap year
      {"000230120000", false},                           // 30 February
      {"01022900000", false},   {"99123123595", false},  // 11 characters
      {"9912312359590", false},                          // 13 characters
      {"??CMD", false},         {"", false},
      {"991301000000", false},  {"991231240000", false},
      {"99123123595x", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(RecorderClockReply(c.reply).has_value(), c.valid) << c.reply;
  EXPECT_EQ(ClockFields("991231235959"), (DateTimeFields{1999, 12, 31, 23, 59, 59}));
  EXPECT_EQ(ClockFields("691231000000")->year, 2069);
  EXPECT_EQ(ClockDigits({2005, 3, 4, 5, 6, 7}), "050304050607");
}

TEST(ClockText, EditingStartsAtTheRecorderTimeWhenThePickersCanShowIt) {
  const DateTimeFields pc{2024, 6, 1, 12, 0, 0};
  EXPECT_EQ(ClockEditStart("991231235959", pc), (DateTimeFields{1999, 12, 31, 23, 59, 59}));
  EXPECT_EQ(ClockEditStart("330101000000", pc).year, 2033);
  for (const char* outside : {"691231235959", "790101000000", "", "000230000000"})
    EXPECT_EQ(ClockEditStart(outside, pc), pc) << outside;
}

TEST(ClockText, TypedSettingMustBeARealTimeInRange) {
  const struct {
    const char* text;
    bool valid;
  } cases[] = {
      {"2024-02-29 23:59:59", true},
      {"1980-01-01 00:00:00", true},
      {"2033-12-31 23:59:59", true},
      {"1979-12-31 23:59:59", false},
      {"2034-01-01 00:00:00", false},
      {"2023-02-29 00:00:00", false},
      {"2024-13-01 00:00:00", false},
      {"2024-01-01 24:00:00", false},
      {"2024-1-01 00:00:00", false},
      {"2024-01-01 00:00:00x", false},
      {"2024-01-01 +0:00:00", false},
      {"now", false},
      {"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseClockSetting(c.text).has_value(), c.valid) << c.text;
  EXPECT_EQ(ParseClockSetting("2024-02-29 01:02:03"), (DateTimeFields{2024, 2, 29, 1, 2, 3}));
}

TEST(PcClockStampTest, TakesThePcTimeAnewWhenTheLastTickIsStale) {
  int taken = 0;
  PcClockStamp stamp([&] { return std::to_string(++taken); });
  const auto t0 = PcClockStamp::Clock::now();
  EXPECT_EQ(stamp.Fresh(t0), "1");  // no tick yet: never an empty time
  stamp.Take(t0);
  EXPECT_EQ(stamp.Fresh(t0 + std::chrono::milliseconds(900)), "2");
  EXPECT_EQ(stamp.Fresh(t0 + std::chrono::milliseconds(1000)), "3");
  EXPECT_TRUE(RecorderClockReply(PcClockStamp().Fresh()).has_value());
}

TEST(ClockAgainstSim, SetsAndReadsTheClock) {
  SimSessionRig rig;
  const auto before = ReadRecorderClock(rig.session);
  ASSERT_TRUE(before.has_value());

  WriteRecorderClock(rig.session, "991231235959");
  const auto after = ReadRecorderClock(rig.session);
  ASSERT_TRUE(after.has_value());
  EXPECT_TRUE(*after == "991231235959" || *after == "000101000000") << *after;

  // Set from the PC: within a second of the PC afterwards.
  WriteRecorderClock(rig.session, PcClockText(1));
  const std::string recorder = *ReadRecorderClock(rig.session);
  const std::string pc0 = PcClockText(0), pc1 = PcClockText(1);
  EXPECT_TRUE(recorder == pc0 || recorder == pc1) << recorder << " " << pc0;
  EXPECT_EQ(rig.Sent("rtc").size(), 5u);
}

TEST(ClockAgainstSim, RefusalAndSilenceFailWithTheirMessages) {
  SimSessionRig rig;
  sim::FaultSettings refused;
  refused.refused = {"rtcw"};
  rig.sim.Faults().Set(refused);
  EXPECT_EQ(rig.FailureOf([&] { WriteRecorderClock(rig.session, "240101000000"); }),
            MsgClockSetFailed);

  sim::FaultSettings silent;
  silent.silentAfter = 0;
  rig.sim.Faults().Set(silent);
  EXPECT_EQ(rig.FailureOf([&] { ReadRecorderClock(rig.session); }), MsgNoEchoBack);
  EXPECT_EQ(rig.FailureOf([&] { WriteRecorderClock(rig.session, "240101000000"); }), MsgNoEchoBack);
}

}  // namespace
}  // namespace tessaro
