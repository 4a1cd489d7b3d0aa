// tessaro-cli collect and rings against the simulated recorder on TCP.

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <sstream>

#include "cli/CliMain.h"
#include "cli/CollectCommand.h"
#include "core/collect/TemporaryNames.h"
#include "core/line/LineFacade.h"
#include "core/support/Messages.h"
#include "support/CollectRig.h"

namespace tessaro {
namespace {

struct CliRun {
  int status;
  std::string out;
  std::string err;
};

// The command line makes its own connection; the rig's stays out of its way.
CliRun Cli(CollectRig& rig, std::vector<std::string> args) {
  LineClose(rig.Line());
  std::vector<std::string> line = {"--tcp", "127.0.0.1:" + std::to_string(rig.Server().TcpPort()),
                                   "--timeout", "1"};
  line.insert(line.end(), args.begin(), args.end());
  std::ostringstream out, err;
  const int status = RunCli(line, LineSettings{}, out, err);
  return {status, out.str(), err.str()};
}

TEST(CollectCli, CollectsTheChosenRingInTheChosenForm) {
  CollectRig rig(SmallProfile(), Transport::Tcp, false);
  const std::string csv = rig.Path("cli.csv");
  const CliRun run =
      Cli(rig, {"collect", "--ring", "OLD-01", "--form=corvex", "--csv", csv, "--keep-rlb"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, csv + "\n" + rig.Path("cli.RLB") + "\n");
  EXPECT_TRUE(SameText(TempDir::ReadAll(csv), rig.ExpectedCsv(1, CsvType::Corvex)));
  EXPECT_TRUE(SameText(ConvertToText(rig.Path("cli.RLB"), CsvType::Corvex, rig, rig.Path("c.csv")),
                       TempDir::ReadAll(csv)));

  const CliRun plain = Cli(rig, {"collect", "--csv", rig.Path("new.csv"), "--form", "q5"});
  ASSERT_EQ(plain.status, 0) << plain.err;
  EXPECT_TRUE(SameText(TempDir::ReadAll(rig.Path("new.csv")), rig.ExpectedCsv(0, CsvType::Q5)));
  EXPECT_FALSE(FileExists(rig.Path("new.RLB")));
}

TEST(CollectCli, OverwrittenDataNeedsConsent) {
  sim::RecorderProfile profile = SmallProfile();
  profile.dataAreaSize = 10000;
  profile.dataStart = 0;
  profile.rings[0].records = 1000;
  profile.rings[1].records = 833;
  CollectRig rig(profile, Transport::Tcp, false);
  const std::string csv = rig.Path("ow.csv");
  const CliRun refused = Cli(rig, {"collect", "--ring", "OLD-01", "--csv", csv});
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find(LoadMessage(MsgAskDropOverwritten)), std::string::npos);
  EXPECT_FALSE(FileExists(csv));

  const CliRun agreed = Cli(rig, {"collect", "--ring", "OLD-01", "--csv", csv, "--overwrite-ok"});
  ASSERT_EQ(agreed.status, 0) << agreed.err;
  EXPECT_TRUE(SameText(TempDir::ReadAll(csv), rig.ExpectedCsv(1, CsvType::Q5, 167)));
}

TEST(CollectCli, RingsThatCannotBeCollected) {
  sim::RecorderProfile profile = SmallProfile();
  profile.rings[1].channels[1].mode = 603;  // a wind direction channel
  profile.rings.push_back(profile.rings[0]);
  profile.rings[2].records = 0;
  CollectRig rig(profile, Transport::Tcp, false);
  const CliRun q5 =
      Cli(rig, {"collect", "--ring", "OLD-01", "--form", "q5", "--csv", rig.Path("a.csv")});
  EXPECT_EQ(q5.status, 1);
  EXPECT_NE(q5.err.find(LoadMessage(MsgQ5NoMode603)), std::string::npos);
  const CliRun empty = Cli(rig, {"collect", "--ring", "OLD-02", "--csv", rig.Path("b.csv")});
  EXPECT_EQ(empty.status, 1);
  EXPECT_NE(empty.err.find(LoadMessage(MsgNoRingSelected)), std::string::npos) << empty.err;
  EXPECT_EQ(Cli(rig, {"collect", "--ring", "OLD-40"}).status, 2);
  EXPECT_EQ(Cli(rig, {"collect", "--csv", rig.Path("x.RLB")}).status, 2);
  EXPECT_FALSE(FileExists(rig.Path("a.csv")));
}

// A recorder or gateway that ends the ring with EOT after k of its blocks:
// a short ring never passes for data. More blocks than the byte count needs
// are fine: the padding is dropped.
TEST(CollectCli, RingEndedEarlyIsATransferFailure) {
  CollectRig rig(SmallProfile(), Transport::Tcp, false);
  const int blocks = static_cast<int>((rig.Recorder().RingBytes(0).size() + 1023) / 1024);
  ASSERT_GE(blocks, 4);
  for (int k : {0, 1, blocks / 2, blocks - 1}) {
    rig.Faults().Set({.eotAfterBlocks = k, .transferFilter = "dd"});
    const std::string name = "short" + std::to_string(k);
    const CliRun run = Cli(rig, {"collect", "--csv", rig.Path(name + ".csv"), "--keep-rlb"});
    EXPECT_EQ(run.status, 1) << k;
    EXPECT_NE(run.err.find(LoadMessage(MsgDataTransferFailed)), std::string::npos) << run.err;
    EXPECT_FALSE(FileExists(rig.Path(name + ".csv"))) << k;
    EXPECT_FALSE(FileExists(rig.Path(name + ".RLB"))) << k;
  }
  rig.Faults().Set({.extraBlocks = 2});  // two blocks of padding after every area
  const CliRun whole = Cli(rig, {"collect", "--csv", rig.Path("whole.csv"), "--keep-rlb"});
  ASSERT_EQ(whole.status, 0) << whole.err;
  EXPECT_TRUE(SameText(TempDir::ReadAll(rig.Path("whole.csv")), rig.ExpectedCsv(0, CsvType::Q5)));
}

TEST(CollectCli, ProposesTheFileNameInTheDataFolder) {
  CollectRig rig(SmallProfile(), Transport::Tcp, false);
  const std::string data = rig.Path("data");
  rig.Dir().WriteFile("data/keep.txt", "x");
  rig.Dir().WriteFile("ini/TESSARO.INI", "[Path]\nData=" + data + "\n[Csv]\nType=1\n");
  CollectSetup setup;
  setup.settingsFile = rig.Path("ini/TESSARO.INI");
  setup.baseFolder = rig.Path("ini") + "/";
  setup.programFolder = rig.ProgramFolder();
  CollectArguments arguments;
  std::ostringstream out, err;
  ASSERT_EQ(RunCollectCommand(rig.Line(), arguments, setup, out, err), 0) << err.str();
  const DateTimeFields now = NowFields();
  char name[32];
  std::snprintf(name, sizeof name, "/DT%.4d%.2d%.2d00.CSV", now.year, now.month, now.day);
  EXPECT_EQ(out.str(), data + name + "\n");
  // The form of the settings file: Corvex.
  EXPECT_TRUE(SameText(TempDir::ReadAll(data + name), rig.ExpectedCsv(0, CsvType::Corvex)));
}

TEST(CollectCli, RingsListsThePanelValues) {
  CollectRig rig(SmallProfile(), Transport::Tcp, true);
  const CliRun run = Cli(rig, {"--slave", "7", "rings"});
  ASSERT_EQ(run.status, 0) << run.err;
  for (const char* line :
       {"version: CVX-4A Ver1.20\n", "[NEW]\n", "[OLD-01]\n", "data count: 700\n", "channels: 3\n",
        "start: 26/12/01 23:55:00\n", "stop: 26/12/02 00:06:39\n", "memo1: NEW RING\n",
        "memo3: SITE 3\n", "memo1: OLD RING\n"})
    EXPECT_NE(run.out.find(line), std::string::npos) << line;
  EXPECT_NE(run.out.find("serial: " + rig.Recorder().Serial() + "\n"), std::string::npos);
  EXPECT_EQ(Cli(rig, {"--slave", "8", "rings"}).status, 1);  // nobody answers to 8
}

}  // namespace
}  // namespace tessaro

namespace tessaro {
namespace {

// An RLB file of the collection's name, plain or a symbolic link to another
// file, survives byte for byte unless --overwrite agrees; with it, it is
// replaced only by a complete transfer (through the link, which stays).
TEST(CollectCli, ExistingRlbFileIsReplacedOnlyWithAgreement) {
  for (const bool linked : {false, true}) {
    SCOPED_TRACE(linked ? "symbolic link" : "plain file");
    CollectRig rig(SmallProfile(), Transport::Tcp, false);
    const std::string csv = rig.Path("x.csv"), rlb = rig.Path("x.RLB");
    const std::string held = linked ? rig.Dir().WriteFile("held.bin", "earlier")
                                    : rig.Dir().WriteFile("x.RLB", "earlier");
    if (linked) {
      ASSERT_EQ(::symlink(held.c_str(), rlb.c_str()), 0);
    }
    const auto unchanged = [&] {
      EXPECT_EQ(TempDir::ReadAll(held), "earlier");
      EXPECT_EQ(std::filesystem::is_symlink(rlb), linked);
    };

    const CliRun refused = Cli(rig, {"collect", "--csv", csv, "--keep-rlb"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find(LoadMessage(MsgRlbCreateFailed) + "\n" + rlb + ": File exists\n"),
              std::string::npos)
        << refused.err;
    EXPECT_NE(refused.err.find("--overwrite"), std::string::npos);
    EXPECT_FALSE(rig.Sent("romr"));  // refused before the recorder was asked anything
    EXPECT_FALSE(FileExists(csv));
    unchanged();

    // Not kept: the earlier file is no business of this collection.
    const CliRun unkept = Cli(rig, {"collect", "--csv", csv});
    ASSERT_EQ(unkept.status, 0) << unkept.err;
    unchanged();

    rig.Faults().Set({.corruptBlock = 2, .corruptTimes = 4, .transferFilter = "dd"});
    const CliRun broken = Cli(rig, {"collect", "--csv", csv, "--keep-rlb", "--overwrite"});
    EXPECT_EQ(broken.status, 1);
    unchanged();
    rig.Faults().Clear();

    const CliRun agreed = Cli(rig, {"collect", "--csv", csv, "--keep-rlb", "--overwrite"});
    ASSERT_EQ(agreed.status, 0) << agreed.err;
    EXPECT_EQ(std::filesystem::is_symlink(rlb), linked);
    EXPECT_TRUE(
        SameText(ConvertToText(rlb, CsvType::Q5, rig, rig.Path("c.csv")), TempDir::ReadAll(csv)));
    for (const auto& entry : std::filesystem::directory_iterator(rig.Dir().Path()))
      EXPECT_FALSE(IsOutputTemporaryName(entry.path().filename().string())) << entry.path();
  }
}

}  // namespace
}  // namespace tessaro
