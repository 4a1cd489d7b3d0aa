#include "sim/ProfileLoader.h"

#include <gtest/gtest.h>

#include "sim/Recorder.h"
#include "support/SimFixture.h"

namespace tessaro::sim {
namespace {

std::string Ask(Recorder& recorder, const std::string& command) {
  return recorder.Execute(command).text;
}

TEST(SimProfiles, EveryShippedProfileLoads) {
  const auto profiles = ListProfiles();
  std::vector<std::string> names;
  for (const auto& [name, description] : profiles) {
    names.push_back(name);
    EXPECT_EQ(description.find("unreadable"), std::string::npos) << name << ": " << description;
  }
  for (const char* wanted : {"default", "old", "rings40", "wind", "overwritten", "unknown-mode"}) {
    EXPECT_NE(std::find(names.begin(), names.end(), wanted), names.end()) << wanted;
  }
  EXPECT_EQ(SimFixture::Profile("default").rings, DefaultProfile().rings);
}

TEST(SimProfiles, OldRecorderLacksTheNewerTuples) {
  Recorder recorder(SimFixture::Profile("old"));
  EXPECT_EQ(Ask(recorder, "romr120"), "??");
  EXPECT_EQ(Ask(recorder, "romr108"), "??");
  EXPECT_EQ(recorder.RingCount(), 1);
  EXPECT_EQ(Ask(recorder, "eepr211"), "??");
  EXPECT_EQ(Ask(recorder, "eepr2000"), "??");
  EXPECT_EQ(Ask(recorder, "eepr240"), "1");
  EXPECT_EQ(Ask(recorder, "eepr260"), "1010");
  EXPECT_EQ(Ask(recorder, "eepr280"), "??");
  EXPECT_EQ(Ask(recorder, "askprs"), "??");
  EXPECT_EQ(Ask(recorder, "battr620"), "??CODE");
  EXPECT_EQ(Ask(recorder, "filer1,2000"), "??");
  EXPECT_EQ(Ask(recorder, "filer1,241"), "2");
  EXPECT_EQ(Ask(recorder, "filer1,260"), "1010");
  EXPECT_EQ(Ask(recorder, "filer1,860"), "2");
  EXPECT_EQ(Ask(recorder, "filer1,805"), "??");
  EXPECT_EQ(Ask(recorder, "filer1,620"), "??");
  // No capability word: no 1024-byte transfers.
  EXPECT_EQ(Ask(recorder, "xdm1krr"), "??CMD");
  EXPECT_EQ(Ask(recorder, "xdmrr"), "!!");
}

TEST(SimProfiles, FortyRingsAtAFixedStride) {
  Recorder recorder(SimFixture::Profile("rings40"));
  EXPECT_EQ(Ask(recorder, "romr108"), "40");
  EXPECT_EQ(Ask(recorder, "romr120"), "1");
  EXPECT_EQ(Ask(recorder, "xdm1kbb"), "??CMD");
  const int64_t stride = std::stoll(Ask(recorder, "romr115"));
  const int64_t first = std::stoll(Ask(recorder, "battr640"));
  EXPECT_GE(stride, 1);
  for (int r = 0; r < 40; ++r) {
    EXPECT_EQ(std::stoll(Ask(recorder, "battr" + std::to_string(640 + r))), first + stride * r);
  }
  EXPECT_EQ(Ask(recorder, "filer40,802"), "0");
  EXPECT_EQ(Ask(recorder, "filer40,806"), "4");
  EXPECT_EQ(Ask(recorder, "filer1,802"), "99");
  EXPECT_EQ(Ask(recorder, "filer2,800"), "261206000000");
  EXPECT_EQ(Ask(recorder, "xdmdd40"), "!!");
  EXPECT_EQ(Ask(recorder, "xdmdd41"), "??CODE");
}

TEST(SimProfiles, WindAndUnknownModes) {
  Recorder wind(SimFixture::Profile("wind"));
  EXPECT_EQ(Ask(wind, "filer1,202"), "5");
  EXPECT_EQ(Ask(wind, "filer1,2000"), "600");
  EXPECT_EQ(Ask(wind, "filer1,2004"), "159");
  EXPECT_EQ(Ask(wind, "filer1,2301"), "5");
  EXPECT_EQ(Ask(wind, "filer2,2000"), "138");
  EXPECT_EQ(Ask(wind, "filer2,2300"), "6");
  EXPECT_EQ(Ask(wind, "askmode1"), "600:607,159,138");
  EXPECT_EQ(Ask(wind, "askmode2"), "600:607,159");

  Recorder unknown(SimFixture::Profile("unknown-mode"));
  EXPECT_EQ(Ask(unknown, "filer1,2001"), "999");
  EXPECT_EQ(Ask(unknown, "eepr2001"), "999");
}

TEST(SimProfiles, ParsingOverridesAndBroadcastsLists) {
  std::string error;
  const auto profile = ParseProfile(
      "[Recorder]\nCapability=none\nUserMemos=A|B,C\n[Settings]\nPreTimerList=none\n"
      "[Rings]\nCount=3\nModes=1,2,138\nDecimals=-2\nRecords=7\nStart=261201000000\n"
      "StartStep=-3600\n[Ring2]\nRecords=0\nBatteryLow=none\n",
      "test", error);
  ASSERT_TRUE(profile) << error;
  EXPECT_FALSE(profile->capability);
  EXPECT_FALSE(profile->preTimerList);
  EXPECT_EQ(profile->userMemos, (std::vector<std::string>{"A", "B,C"}));
  ASSERT_EQ(profile->rings.size(), 3u);
  const RingProfile& ring = profile->rings[1];
  ASSERT_EQ(ring.channels.size(), 3u);
  EXPECT_EQ(ring.channels[1].decimals, -2);
  EXPECT_EQ(ring.channels[2].bytes, 6);  // date-time channel
  EXPECT_EQ(ring.channels[2].dataType, 6);
  EXPECT_EQ(ring.start, (DateTimeFields{2026, 11, 30, 23, 0, 0}));
  EXPECT_EQ(profile->rings[2].records, 0);
}

TEST(SimProfiles, BadProfilesAreRefusedWithTheReason) {
  std::string error;
  EXPECT_FALSE(ParseProfile("[Recorder]\nModel=4x\n", "bad", error));
  EXPECT_NE(error.find("Recorder/Model"), std::string::npos) << error;
  EXPECT_FALSE(ParseProfile("[Recorder]\nNumbering=older\n", "bad", error));
  EXPECT_FALSE(ParseProfile("[Recorder]\nRingCountTuple=maybe\n", "bad", error));
  EXPECT_FALSE(ParseProfile("[Rings]\nCount=1\nStart=261332000000\n", "bad", error));
  EXPECT_FALSE(ParseProfile("[Rings]\nCount=1\nBytes=600\nModes=1,1\n", "bad", error));
  EXPECT_NE(error.find("1024"), std::string::npos) << error;
  EXPECT_FALSE(
      ParseProfile("[Recorder]\nNumbering=old\nMaxChannels=20\n[Rings]\nCount=1\nModes=1,1,1,1,1,1,"
                   "1,1,1,1,1,1,1,1,1,1,1,1,1,1,1\n",
                   "bad", error));
  EXPECT_FALSE(LoadProfile("no-such-profile", error));
  EXPECT_NE(error.find("no-such-profile"), std::string::npos);
}

}  // namespace
}  // namespace tessaro::sim
