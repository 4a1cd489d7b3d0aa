// tessaro-cli clock, memo and coef against the recorder simulator: output, exit
// status, and which commands reach the recorder.

#include <gtest/gtest.h>

#include <regex>
#include <sstream>

#include "cli/CliMain.h"
#include "core/settings/RecorderClock.h"
#include "core/support/Messages.h"
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

TEST_F(SettingsCli, CoefListsEveryTabWithItsRows) {
  const Outcome listed = Cli({"coef"});
  ASSERT_EQ(listed.status, 0) << listed.err;
  const std::string& out = listed.out;
  EXPECT_EQ(
      out.rfind("serial: " + sim_.Recorder().Serial() + "\n[ROM]\nROM;コード;タイプ;設定値;説明\n",
                0),
      0u)
      << out.substr(0, 200);
  for (const char* expected :
       {"\n[EEP]\nEEP;コード;", "\n[BATT]\n", "\n[FILE1]\nFILE;コード;", "\n[FILE4]\n",
        ";EEP0400;文字型;-00001;", ";EEP0402;正整数型;+65535;", ";EEP0409;ビット16型;00A5h;",
        ";EEP0406;メモ型;ABCDEFGHIJKLMNOPQRSTUVWXYZ012345;",
        ";EEP0407;日付時刻型;26/12/08 10:23:45;"})
    EXPECT_NE(out.find(expected), std::string::npos) << expected;
  EXPECT_EQ(out.find("[FILE5]"), std::string::npos);
}

TEST_F(SettingsCli, CoefSetSendsTheEditorsFormAndPrintsTheStoredRow) {
  const Outcome set = Cli({"coef", "--set", "EEP", "401", "4321"});
  ASSERT_EQ(set.status, 0) << set.err;
  EXPECT_EQ(set.out.substr(0, set.out.find('\n')), "sent: eepw401,+04321");
  EXPECT_NE(set.out.find(";EEP0401;整数型;+04321;"), std::string::npos) << set.out;

  const Outcome file = Cli({"coef", "--set", "FILE2", "202", "3"});
  EXPECT_EQ(file.status, 0) << file.err;
  EXPECT_EQ(file.out.substr(0, file.out.find('\n')), "sent: filew2,202,+00003");
}

TEST_F(SettingsCli, CoefRefusalsSendNothingOrKeepTheRow) {
  const std::string entry = LoadMessage(MsgCoefEntryInvalid) + "\n";
  const struct {
    std::vector<std::string> args;
    sim::FaultSettings faults;
    int status;
    std::string err;
  } cases[] = {
      {{"coef", "--set", "ROM", "100", "1"}, {}, 1, LoadMessage(MsgRomNotWritable) + "\n"},
      {{"coef", "--set", "EEP", "400", "128"}, {}, 1, entry},
      {{"coef", "--set", "EEP", "403", "2147483648"}, {}, 1, entry},
      {{"coef", "--set", "EEP", "407", "26/13/08 10:23:45"}, {}, 1, entry},
      {{"coef", "--set", "EEP", "9999", "1"}, {}, 1, ""},
      {{"coef", "--set", "FILE9", "202", "1"}, {}, 1, ""},
      {{"coef", "--set", "DISK", "202", "1"}, {}, 2, ""},
      {{"coef", "--set", "EEP", "401"}, {}, 2, ""},
      {{"coef", "--set", "EEP", "401", "5"},
       {.refused = {"eepw"}},
       1,
       LoadMessage(MsgCoefWriteFailed) + "\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args[2] + " " + c.args.back());
    const Outcome r = Cli(c.args, c.faults);
    EXPECT_EQ(r.status, c.status) << r.err;
    if (!c.err.empty()) {
      EXPECT_EQ(r.err.substr(r.err.size() - std::min(r.err.size(), c.err.size())), c.err);
    }
  }
  EXPECT_EQ(Sent("eepw"), 0u);
  EXPECT_EQ(Sent("filew"), 0u);
  EXPECT_NE(Cli({"coef"}).out.find(";EEP0401;整数型;-01234;"), std::string::npos);
}

}  // namespace
}  // namespace tessaro
