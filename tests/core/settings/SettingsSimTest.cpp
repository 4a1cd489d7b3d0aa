// Measurement modes and intervals read and written against the recorder
// simulator over TCP: the commands in order, the older numbering,
// refusals, silence and odd lists; then the modes and intervals commands
// of tessaro-cli.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "cli/CliMain.h"
#include "core/line/LineContext.h"
#include "core/line/LineFacade.h"
#include "core/settings/MeasurementInterval.h"
#include "core/settings/MeasurementModes.h"
#include "core/support/DefinitionDb.h"
#include "core/support/Messages.h"
#include "sim/ProfileLoader.h"
#include "support/RecordingProgress.h"
#include "support/SimFixture.h"

namespace tessaro {
namespace {

using Strings = std::vector<std::string>;
using ProfileChange = std::function<void(sim::RecorderProfile&)>;

sim::RecorderProfile Profile(const ProfileChange& change = {}) {
  sim::RecorderProfile profile = sim::DefaultProfile();
  if (change) change(profile);
  return profile;
}

// A simulated recorder and a line open to it.
struct Rig {
  explicit Rig(const sim::RecorderProfile& profile, const sim::FaultSettings& faults = {})
      : sim(profile) {
    LineSettings settings;
    settings.ComPort = "TCP/IP";
    settings.IpAddr = "127.0.0.1";
    settings.IpPort = port = sim.StartTcp();
    ApplyLineSettings(line, settings);
    LineSetCommWait(line, 200);
    LineOpen(line);
    sim.Faults().Set(faults);
    db.Open(TESSARO_BIN_DIR "/DB/Master.mdb");
  }
  ~Rig() { LineClose(line); }

  Strings Sent() { return sim.Recorder().Commands(); }
  // Commands sent from the n-th one on.
  Strings SentFrom(size_t n) {
    const Strings all = Sent();
    return Strings(all.begin() + static_cast<long>(std::min(n, all.size())), all.end());
  }
  // The failure text of a step, empty on success.
  static std::string Failure(const StepResult& step) { return step ? "" : step.message; }

  SimFixture sim;
  LineContext line;
  DefinitionDb db;
  RecordingProgress progress;
  int port = 0;
};

TEST(ModesAgainstSim, ReadsEveryChannelAndWritesOnlyThoseInUse) {
  Rig rig(Profile());
  MeasurementModes modes;
  ASSERT_TRUE(ReadMeasurementModes(rig.line, rig.progress, rig.db, modes));
  EXPECT_EQ(modes.maxChannels, 8);
  EXPECT_EQ(modes.channelCount, 4);
  EXPECT_EQ(modes.baseAddress, 2000);
  Strings expected{"", "romr109", "eepr202", "eepr2000"};
  for (int i = 0; i < 8; ++i) {
    expected.push_back("eepr" + std::to_string(2000 + i));
    expected.push_back("askmode" + std::to_string(i + 1));
  }
  EXPECT_EQ(rig.Sent(), expected);
  ASSERT_EQ(modes.channels.size(), 8u);
  EXPECT_EQ(modes.channels[2].mode, 3);
  EXPECT_EQ(modes.channels[7].codes, (std::vector<int>{1, 2, 3, 120, 300}));
  EXPECT_EQ(modes.ListText(2).find("[温度"), 0u);
  EXPECT_TRUE(rig.progress.Errors().empty());
  EXPECT_EQ(rig.progress.Percents().back(), 100);

  modes.channelCount = 2;
  modes.channels[1].mode = 120;
  modes.channels[5].mode = 300;  // beyond the count: kept, not written
  const size_t before = rig.Sent().size();
  ASSERT_TRUE(WriteMeasurementModes(rig.line, rig.progress, modes));
  EXPECT_EQ(rig.SentFrom(before), (Strings{"eepw202,2", "eepw2000,1", "eepw2001,120"}));
}

TEST(ModesAgainstSim, OlderNumberingReadsAndWritesFrom240WithAtMost20Channels) {
  Rig rig(Profile([](sim::RecorderProfile& p) {
    p.oldNumbering = true;
    p.maxChannels = 2;
  }));
  MeasurementModes modes;
  ASSERT_TRUE(ReadMeasurementModes(rig.line, rig.progress, rig.db, modes));
  EXPECT_EQ(modes.baseAddress, 240);
  EXPECT_EQ(rig.Sent(), (Strings{"", "romr109", "eepr202", "eepr2000", "eepr240", "askmode1",
                                 "eepr241", "askmode2"}));
  const size_t before = rig.Sent().size();
  modes.channelCount = 2;
  ASSERT_TRUE(WriteMeasurementModes(rig.line, rig.progress, modes));
  EXPECT_EQ(rig.SentFrom(before), (Strings{"eepw202,2", "eepw240,1", "eepw241,2"}));

  // 32 channels claimed at the old base: channel 21 would be the interval.
  Rig wide(Profile([](sim::RecorderProfile& p) {
    p.oldNumbering = true;
    p.maxChannels = 32;
  }));
  ASSERT_TRUE(ReadMeasurementModes(wide.line, wide.progress, wide.db, modes));
  EXPECT_EQ(modes.maxChannels, 20);
  const Strings sent = wide.Sent();
  EXPECT_EQ(sent[sent.size() - 2], "eepr259");
}

TEST(ModesAgainstSim, OddCountsAndListsAreReadSafely) {
  const struct {
    const char* name;
    ProfileChange change;
    int count;
    size_t codes;  // of channel 1
  } cases[] = {
      {"count 0", [](sim::RecorderProfile& p) { p.channelCount = 0; }, 1, 5},
      {"count above max", [](sim::RecorderProfile& p) { p.channelCount = 9; }, 1, 5},
      {"huge range", [](sim::RecorderProfile& p) { p.modeList = "1:2000000000"; }, 4, 64},
      {"refused list", [](sim::RecorderProfile& p) { p.modeList = "??"; }, 4, 0},
      {"garbage list", [](sim::RecorderProfile& p) { p.modeList = "x,:,;"; }, 4, 0},
  };
  for (const auto& c : cases) {
    Rig rig(Profile(c.change));
    MeasurementModes modes;
    ASSERT_TRUE(ReadMeasurementModes(rig.line, rig.progress, rig.db, modes)) << c.name;
    EXPECT_EQ(modes.channelCount, c.count) << c.name;
    EXPECT_EQ(modes.channels[0].codes.size(), c.codes) << c.name;
  }
}

TEST(ModesAgainstSim, AnUnknownCodeFlashesOncePerRead) {
  Rig rig(Profile([](sim::RecorderProfile& p) { p.modeList = "1,999,998"; }));
  MeasurementModes modes;
  ASSERT_TRUE(ReadMeasurementModes(rig.line, rig.progress, rig.db, modes));
  EXPECT_EQ(rig.progress.Errors(), Strings{LoadMessage(MsgDefinitionsOutdated)});
  EXPECT_EQ(modes.channels[0].codes, (std::vector<int>{1, 999, 998}));
  EXPECT_TRUE(modes.unknownCodes);
}

TEST(ModesAgainstSim, EachFailedStepCarriesItsMessage) {
  const struct {
    sim::FaultSettings faults;
    int message;
    bool write;  // the failure is in the write
  } cases[] = {
      {{.silentAfter = 0}, MsgLineCheckFailed, false},
      {{.refused = {"romr109"}}, MsgMaxChannelsReadFailed, false},
      {{.silentAfter = 1}, MsgMaxChannelsReadFailed, false},
      {{.silentAfter = 2}, MsgChannelCountReadFailed, false},
      {{.silentAfter = 3}, MsgModeReadFailed, false},
      {{.silentAfter = 5}, MsgModeListReadFailed, false},
      {{.refused = {"eepr2001"}}, MsgModeReadFailed, false},
      {{.refused = {"eepw202"}}, MsgChannelCountWriteFailed, true},
      {{.refused = {"eepw2001"}}, MsgModeWriteFailed, true},
  };
  for (const auto& c : cases) {
    Rig rig(Profile(), c.faults);
    MeasurementModes modes;
    StepResult step = ReadMeasurementModes(rig.line, rig.progress, rig.db, modes);
    if (c.write) {
      ASSERT_TRUE(step) << step.message;
      step = WriteMeasurementModes(rig.line, rig.progress, modes);
    }
    EXPECT_EQ(Rig::Failure(step), LoadMessage(c.message)) << c.message;
  }
  // Cancel between channels.
  Rig rig(Profile());
  rig.progress.CancelAtPercent(50);
  MeasurementModes modes;
  EXPECT_EQ(Rig::Failure(ReadMeasurementModes(rig.line, rig.progress, rig.db, modes)),
            LoadMessage(MsgCancelPressed));
}

TEST(IntervalsAgainstSim, ReadsBothNumberingsAndWritesOnlyWhatHasAList) {
  Rig rig(Profile());
  MeasurementInterval timing;
  ASSERT_TRUE(ReadMeasurementInterval(rig.line, rig.progress, timing));
  EXPECT_EQ(rig.Sent(), (Strings{"", "eepr260", "eepr3000", "eepr280", "eepr234", "askivl",
                                 "askprs", "asksr"}));
  EXPECT_EQ(timing.intervalAddress, 3000);
  EXPECT_EQ(timing.interval.code, 304);
  EXPECT_EQ(timing.preTimer.code, 1000);
  EXPECT_EQ(timing.sampling.codes, (std::vector<int>{300, 301, 302, 303, 304}));
  ASSERT_TRUE(timing.sampling.Choose(2));
  size_t before = rig.Sent().size();
  ASSERT_TRUE(WriteMeasurementInterval(rig.line, rig.progress, timing));
  EXPECT_EQ(rig.SentFrom(before), (Strings{"eepw3000,304", "eepw280,1000", "eepw234,302"}));

  Rig old(SimFixture::Profile("old"));
  ASSERT_TRUE(ReadMeasurementInterval(old.line, old.progress, timing));
  EXPECT_EQ(timing.intervalAddress, 260);
  EXPECT_EQ(timing.preTimer.code, 0);
  EXPECT_FALSE(timing.preTimer.Used());
  // "Unused" is the only entry of an empty list: choosing it changes nothing.
  EXPECT_FALSE(timing.preTimer.Choose(0));
  EXPECT_EQ(timing.preTimer.code, 0);
  before = old.Sent().size();
  ASSERT_TRUE(WriteMeasurementInterval(old.line, old.progress, timing));
  EXPECT_EQ(old.SentFrom(before), (Strings{"eepw260,1010"}));
}

TEST(IntervalsAgainstSim, EachFailedStepCarriesItsMessage) {
  const struct {
    sim::FaultSettings faults;
    int message;
    bool write;
  } cases[] = {
      {{.silentAfter = 0}, MsgLineCheckFailed, false},
      {{.silentAfter = 1}, MsgNoEchoBack, false},
      {{.silentAfter = 2}, MsgIntervalReadFailed, false},
      {{.refused = {"eepr3000"}}, MsgIntervalReadFailed, false},
      {{.silentAfter = 3}, MsgPreTimerReadFailed, false},
      {{.silentAfter = 4}, MsgSamplingReadFailed, false},
      {{.refused = {"askivl"}}, MsgIntervalListReadFailed, false},
      {{.silentAfter = 6}, MsgPreTimerListReadFailed, false},
      {{.silentAfter = 7}, MsgSamplingListReadFailed, false},
      {{.refused = {"eepw3000"}}, MsgIntervalWriteFailed, true},
      {{.refused = {"eepw280"}}, MsgPreTimerWriteFailed, true},
      {{.refused = {"eepw234"}}, MsgSamplingWriteFailed, true},
  };
  for (const auto& c : cases) {
    Rig rig(Profile(), c.faults);
    MeasurementInterval timing;
    StepResult step = ReadMeasurementInterval(rig.line, rig.progress, timing);
    if (c.write) {
      ASSERT_TRUE(step) << step.message;
      step = WriteMeasurementInterval(rig.line, rig.progress, timing);
    }
    EXPECT_EQ(Rig::Failure(step), LoadMessage(c.message)) << c.message;
  }
}

struct Outcome {
  int status;
  std::string out;
  std::string err;
};

Outcome Cli(Rig& rig, Strings args) {
  // The simulator serves one client: a late connect of the rig's own line
  // would replace the command's.
  LineClose(rig.line);
  args.insert(args.begin(), {"--tcp", "127.0.0.1:" + std::to_string(rig.port), "--timeout", "1"});
  std::ostringstream out, err;
  const int status = RunCli(args, LineSettings{}, out, err);
  return {status, out.str(), err.str()};
}

bool Wrote(Rig& rig) {
  for (const std::string& command : rig.Sent())
    if (command.rfind("eepw", 0) == 0) return true;
  return false;
}

TEST(ModesCli, ListsChecksThenWrites) {
  Rig rig(Profile([](sim::RecorderProfile& p) { p.maxChannels = 2; }));
  Outcome r = Cli(rig, {"modes"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out,
            "max channels: 2\nchannels: 1\n"
            "00001\t1\t[電圧][DC ±1V][0.1mV]\t1,2,3,120,300\n"
            "00002\t2\t[温度][熱電対 K][0.1℃]\t1,2,3,120,300\n");

  const struct {
    Strings args;
    int status;
  } refused[] = {
      {{"modes", "--set", "1=9"}, 1},     // not in channel 1's list
      {{"modes", "--channels", "3"}, 1},  // above the maximum
      {{"modes", "--set", "2=1"}, 1},     // channel 2 not in use
      {{"modes", "--set", "1:3"}, 2},     // not CH=CODE
      {{"modes", "--channels", "x"}, 2},
  };
  for (const auto& c : refused) {
    r = Cli(rig, c.args);
    EXPECT_EQ(r.status, c.status) << c.args.back() << r.err;
    EXPECT_FALSE(Wrote(rig)) << c.args.back();
  }
  const size_t before = rig.Sent().size();
  r = Cli(rig, {"modes", "--channels", "2", "--set", "2=120", "1=3"});
  ASSERT_EQ(r.status, 0) << r.err;
  const Strings sent = rig.SentFrom(before);
  EXPECT_EQ(Strings(sent.end() - 3, sent.end()),
            (Strings{"eepw202,2", "eepw2000,3", "eepw2001,120"}));
  EXPECT_NE(r.out.find("channels: 2\n00001\t3\t"), std::string::npos) << r.out;
}

TEST(IntervalsCli, ListsAndWritesOnlyListedCodes) {
  Rig old(SimFixture::Profile("old"));
  Outcome r = Cli(old, {"intervals"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "interval: 1010\t10 秒\npre-timer: unused\nsampling: unused\n");
  r = Cli(old, {"intervals", "--pre-timer", "1000"});
  EXPECT_EQ(r.status, 1);
  r = Cli(old, {"intervals", "--interval", "1060"});
  EXPECT_EQ(r.status, 1);
  EXPECT_FALSE(Wrote(old));

  Rig rig(Profile());
  const size_t before = rig.Sent().size();
  r = Cli(rig, {"intervals", "--sampling", "301"});
  ASSERT_EQ(r.status, 0) << r.err;
  const Strings sent = rig.SentFrom(before);
  EXPECT_EQ(std::count_if(sent.begin(), sent.end(),
                          [](const std::string& s) { return s.rfind("eepw", 0) == 0; }),
            1);
  EXPECT_NE(std::find(sent.begin(), sent.end(), "eepw234,301"), sent.end());
  EXPECT_NE(r.out.find("sampling: 301\t" + rig.db.IntervalText(301) + "\n"), std::string::npos)
      << r.out;
}

}  // namespace
}  // namespace tessaro
