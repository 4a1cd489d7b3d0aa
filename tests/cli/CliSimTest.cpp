// tessaro-cli probe and send against the recorder simulator.

#include <gtest/gtest.h>

#include <sstream>

#include "cli/CliMain.h"
#include "support/SimFixture.h"

namespace tessaro {
namespace {

struct Outcome {
  int status;
  std::string out;
  std::string err;
};

Outcome Cli(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  const int status = RunCli(args, LineSettings{}, out, err);
  return {status, out.str(), err.str()};
}

std::string TcpTarget(SimFixture& sim) { return "127.0.0.1:" + std::to_string(sim.StartTcp()); }

TEST(CliAgainstSim, SendOverTcpPrintsReplies) {
  SimFixture sim;
  const Outcome r = Cli({"--tcp", TcpTarget(sim), "--timeout", "2", "send", "rtcr", "nonsense"});
  ASSERT_EQ(r.status, 0) << r.err;
  std::istringstream lines(r.out);
  std::string clock, refusal;
  std::getline(lines, clock);
  std::getline(lines, refusal);
  EXPECT_EQ(clock.size(), 12u) << clock;
  EXPECT_EQ(refusal.substr(0, 2), "??");
}

TEST(CliAgainstSim, SlavedProbePicksTheRecorder) {
  SimFixture sim("default", {3, 4});
  const std::string target = TcpTarget(sim);
  EXPECT_EQ(Cli({"--tcp", target, "--timeout", "1", "--slave", "4", "probe"}).status, 0);
  const Outcome absent = Cli({"--tcp", target, "--timeout", "1", "--slave", "9", "probe"});
  EXPECT_EQ(absent.status, 1);
  EXPECT_EQ(absent.err, "通信条件に問題があります。\n");
}

TEST(CliAgainstSim, ProbeOverPseudoTerminal) {
  SimFixture sim;
  const Outcome r = Cli({"--port", sim.StartPty(), "--baud", "38400", "--timeout", "1", "probe"});
  EXPECT_EQ(r.status, 0) << r.err;
}

TEST(CliAgainstSim, SilentRecorderMeansNoEchoBack) {
  SimFixture sim;
  sim::FaultSettings faults;
  faults.silentAfter = 1;  // answers the probe only
  sim.Faults().Set(faults);
  const Outcome r = Cli({"--tcp", TcpTarget(sim), "--timeout", "1", "send", "ver"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "レコーダからのエコーバックがありません。\n");
}

}  // namespace
}  // namespace tessaro
