#include "sim/SimCommandLine.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

namespace tessaro::sim {
namespace {

struct Parsed {
  bool run;
  int status;
  std::string out;
  std::string err;
  SimOptions options;
};

Parsed Parse(const std::vector<std::string>& args) {
  Parsed p{};
  std::ostringstream out, err;
  p.run = ParseSimCommandLine(args, p.options, out, err, p.status);
  p.out = out.str();
  p.err = err.str();
  return p;
}

TEST(SimCommandLine, OptionsReachTheSettings) {
  const Parsed p = Parse({"--pty",
                          "--slave-ids",
                          "3,4",
                          "--profile=wind",
                          "--corrupt-block",
                          "2:3",
                          "--drop-block",
                          "4",
                          "--repeat-block=5",
                          "--stop-after-block",
                          "6",
                          "--fault-transfer",
                          "dd",
                          "--delay",
                          "0",
                          "--silent-after",
                          "7",
                          "--refuse",
                          "romr",
                          "--refuse",
                          "eepw",
                          "--baud",
                          "9600"});
  ASSERT_TRUE(p.run) << p.err;
  const SimOptions& o = p.options;
  EXPECT_EQ(o.tcpPort, -1);  // --pty alone: no TCP listener
  EXPECT_TRUE(o.pty);
  EXPECT_EQ(o.slaveIds, (std::vector<int>{3, 4}));
  EXPECT_EQ(o.profile, "wind");
  EXPECT_EQ(o.faults.corruptBlock, 2);
  EXPECT_EQ(o.faults.corruptTimes, 3);
  EXPECT_EQ(o.faults.dropBlock, 4);
  EXPECT_EQ(o.faults.repeatBlock, 5);
  EXPECT_EQ(o.faults.stopAfterBlock, 6);
  EXPECT_EQ(o.faults.transferFilter, "dd");
  EXPECT_EQ(o.faults.delayMs, 0);
  EXPECT_EQ(o.faults.silentAfter, 7);
  EXPECT_EQ(o.faults.refused, (std::vector<std::string>{"romr", "eepw"}));
  EXPECT_EQ(o.faults.baud, 9600);
  EXPECT_FALSE(o.listProfiles);

  EXPECT_EQ(Parse({}).options.tcpPort, 0);  // nothing given: a free TCP port
  EXPECT_EQ(Parse({"--corrupt-block", "8"}).options.faults.corruptTimes, 1);
}

TEST(SimCommandLine, BadArgumentsAreUsageErrors) {
  for (const auto& args : std::vector<std::vector<std::string>>{{"--drop-block", "x"},
                                                                {"--drop-block", "0"},
                                                                {"--bogus"},
                                                                {"--tcp", "65536"},
                                                                {"--tcp"},
                                                                {"--slave-ids", "3,x"},
                                                                {"--slave-ids", "-1"},
                                                                {"--corrupt-block", "2:0"},
                                                                {"--corrupt-block", ":2"},
                                                                {"--delay", "-1"},
                                                                {"--pty", "extra"}}) {
    const Parsed p = Parse(args);
    EXPECT_FALSE(p.run) << args.front();
    EXPECT_EQ(p.status, 2) << args.front();
    EXPECT_EQ(p.err.rfind("tessaro-sim: ", 0), 0u) << p.err;
    EXPECT_EQ(p.out, "");
  }
}

TEST(SimCommandLine, HelpAndVersionGoToStdout) {
  const Parsed help = Parse({"--help"});
  EXPECT_FALSE(help.run);
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("--corrupt-block K[:TIMES]"), std::string::npos) << help.out;
  const Parsed version = Parse({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_THAT(version.out, ::testing::MatchesRegex("tessaro-sim [0-9]+\\.[0-9]+\\.[0-9]+\n"));
}

}  // namespace
}  // namespace tessaro::sim
