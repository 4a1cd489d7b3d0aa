// tessaro-cli coef against the recorder simulator: the listing, one write
// with --set, and the refusals that send nothing.

#include <gtest/gtest.h>

#include <sstream>

#include "cli/CliMain.h"
#include "core/support/Messages.h"
#include "support/SimLine.h"

namespace tessaro {
namespace {

struct Outcome {
  int status;
  std::string out;
  std::string err;
};

class CoefCli : public ::testing::Test {
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

TEST_F(CoefCli, ListsEveryTabWithItsRows) {
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

TEST_F(CoefCli, SetSendsTheEditorsFormAndPrintsTheStoredRow) {
  const Outcome set = Cli({"coef", "--set", "EEP", "401", "4321"});
  ASSERT_EQ(set.status, 0) << set.err;
  EXPECT_EQ(set.out.substr(0, set.out.find('\n')), "sent: eepw401,+04321");
  EXPECT_NE(set.out.find(";EEP0401;整数型;+04321;"), std::string::npos) << set.out;

  const Outcome file = Cli({"coef", "--set", "FILE2", "202", "3"});
  EXPECT_EQ(file.status, 0) << file.err;
  EXPECT_EQ(file.out.substr(0, file.out.find('\n')), "sent: filew2,202,+00003");
}

TEST_F(CoefCli, RefusalsSendNothingOrKeepTheRow) {
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
    if (!c.err.empty())
      EXPECT_EQ(r.err.substr(r.err.size() - std::min(r.err.size(), c.err.size())), c.err);
  }
  EXPECT_EQ(Sent("eepw"), 0u);
  EXPECT_EQ(Sent("filew"), 0u);
  EXPECT_NE(Cli({"coef"}).out.find(";EEP0401;整数型;-01234;"), std::string::npos);
}

}  // namespace
}  // namespace tessaro
