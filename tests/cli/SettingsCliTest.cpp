// tessaro-cli clock and memo against the recorder simulator: output, exit
// status, and which commands reach the recorder.

#include <gtest/gtest.h>

#include <regex>
#include <sstream>

#include "cli/CliMain.h"
#include "core/settings/RecorderClock.h"
#include "support/SimLine.h"

namespace tessaro {
namespace {

struct Outcome {
  int status;
  std::string out;
  std::string err;
};

class SettingsCli : public ::testing::Test {
 protected:
  Outcome Cli(std::vector<std::string> args, const sim::FaultSettings& faults = {}) {
    sim_.Faults().Set(faults);
    args.insert(args.begin(), {"--tcp", "127.0.0.1:" + std::to_string(port_), "--timeout", "1"});
    std::ostringstream out, err;
    const int status = RunCli(args, LineSettings{}, out, err);
    return {status, out.str(), err.str()};
  }
  size_t Sent(const std::string& prefix) { return CommandsTaken(sim_.Recorder(), prefix).size(); }

  SimFixture sim_;
  int port_ = sim_.StartTcp();
};

TEST_F(SettingsCli, ClockShowsAndSets) {
  const Outcome shown = Cli({"clock"});
  ASSERT_EQ(shown.status, 0) << shown.err;
  EXPECT_TRUE(std::regex_match(shown.out, std::regex("recorder: \\d\\d/\\d\\d/\\d\\d \\d\\d:\\d\\d:"
                                                     "\\d\\d\npc: \\d\\d/\\d\\d/\\d\\d "
                                                     "\\d\\d:\\d\\d:\\d\\d\n")))
      << shown.out;

  const Outcome typed = Cli({"clock", "--set", "2030-05-06 12:34:56"});
  EXPECT_EQ(typed.status, 0) << typed.err;
  EXPECT_EQ(typed.out, "set: 30/05/06 12:34:56\n");

  ASSERT_EQ(Cli({"clock", "--set", "pc"}).status, 0);
  const std::string recorder = sim_.Recorder().ClockText();
  EXPECT_TRUE(recorder == PcClockText(0) || recorder == PcClockText(1)) << recorder;
  EXPECT_EQ(Sent("rtcw"), 2u);
}

TEST_F(SettingsCli, ClockFailures) {
  sim::FaultSettings refuseRead, refuseWrite, silent;
  refuseRead.refused = {"rtcr"};
  refuseWrite.refused = {"rtcw"};
  silent.silentAfter = 1;  // the line check only
  const struct {
    std::vector<std::string> args;
    sim::FaultSettings faults;
    int status;
    std::string out;
    std::string err;  // empty: not compared
  } cases[] = {
      {{"clock", "--set", "2034-01-01 00:00:00"}, {}, 2, "", ""},
      {{"clock", "--set", "2023-02-29 00:00:00"}, {}, 2, "", ""},
      {{"clock", "--set", "tomorrow"}, {}, 2, "", ""},
      {{"clock", "--set", "pc"}, refuseWrite, 1, "", "時刻を設定する事ができませんでした。\n"},
      {{"clock"}, silent, 1, "", "レコーダからのエコーバックがありません。\n"},
  };
  for (const auto& c : cases) {
    const Outcome r = Cli(c.args, c.faults);
    EXPECT_EQ(r.status, c.status) << c.args.back() << r.err;
    EXPECT_EQ(r.out, c.out) << c.args.back();
    if (!c.err.empty()) {
      EXPECT_EQ(r.err, c.err);
    }
  }
  EXPECT_EQ(Sent("rtcw"), 0u);  // a usage error sends nothing; a refusal is not logged

  const Outcome unreadable = Cli({"clock"}, refuseRead);
  EXPECT_EQ(unreadable.status, 1);
  EXPECT_EQ(unreadable.out.substr(0, 28), std::string("recorder: ") + kInvalidDateTimeText + "\n");
}

TEST_F(SettingsCli, MemoListsAndSets) {
  const Outcome listed = Cli({"memo"});
  ASSERT_EQ(listed.status, 0) << listed.err;
  EXPECT_EQ(listed.out, "00001\tSITE-A\n00002\tPUMP HOUSE\n00003\tCH1 VOLT\n00004\tCH2 TEMP\n");

  const Outcome set = Cli({"memo", "--set", "2=北棟ポンプ室の温度計", "--set", "4="});
  ASSERT_EQ(set.status, 0) << set.err;
  EXPECT_EQ(set.out, "00001\tSITE-A\n00002\t北棟ポンプ室の温\n00003\tCH1 VOLT\n00004\t\n");
  EXPECT_EQ(Cli({"memo"}).out, set.out);
  EXPECT_EQ(Sent("battw"), 4u);
}

TEST_F(SettingsCli, MemoRefusesBadSettingsBeforeWriting) {
  for (const char* bad : {"1=A\rromw109", "1=A\nB", "5=X", "0=X", "X=1", "=A", "1=😀"}) {
    const Outcome r = Cli({"memo", "--set", bad});
    EXPECT_EQ(r.status, 2) << bad;
  }
  EXPECT_EQ(Sent("battw"), 0u);
  sim::FaultSettings refused;
  refused.refused = {"battw622"};
  const Outcome r = Cli({"memo", "--set", "1=A"}, refused);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "メモの書込みに失敗しました。\n");
}

}  // namespace
}  // namespace tessaro
