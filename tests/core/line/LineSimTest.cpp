// The line facade against the recorder simulator, over TCP and a
// pseudo-terminal, addressed directly and by slave ID.

#include <gtest/gtest.h>

#include <chrono>
#include <tuple>
#include <vector>

#include "core/line/LineContext.h"
#include "core/line/LineFacade.h"
#include "support/SimFixture.h"

namespace tessaro {
namespace {

using Clock = std::chrono::steady_clock;
constexpr int kSlaveId = 7;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

struct Transfer {
  std::vector<uint8_t> data;
  int blocks = 0;
  int rejected = 0;  // blocks that failed LineCheckBlock and were asked again
  int last = BlockOk;
};

// Receives a block transfer the way the collection does: NAK to start, ACK
// each good block, NAK a damaged one, ACK the closing EOT.
Transfer Receive(LineContext& line, bool large) {
  Transfer t;
  uint8_t block[kBlockBufferSize];
  uint8_t reply = kNAK;
  for (int guard = 0; guard < 10000; ++guard) {
    if (!LinePutChar(line, reply)) break;
    t.last = LineRecvBlock(line, large, block);
    if (t.last != BlockOk) break;
    if (!LineCheckBlock(large, block)) {
      ++t.rejected;
      reply = kNAK;
      continue;
    }
    const int n = large ? kLargeBlockData : kSmallBlockData;
    t.data.insert(t.data.end(), block + 3, block + 3 + n);
    ++t.blocks;
    reply = kACK;
  }
  if (t.last == BlockEnd) LinePutChar(line, kACK);
  return t;
}

class LineAgainstSim : public ::testing::TestWithParam<std::tuple<bool, bool>> {
 protected:
  LineAgainstSim()
      : sim("default", slaved() ? std::vector<int>{kSlaveId, kSlaveId + 1} : std::vector<int>{}) {}

  void SetUp() override {
    LineSettings settings;
    settings.Over = 1;
    if (tcp()) {
      settings.ComPort = "TCP/IP";
      settings.IpAddr = "127.0.0.1";
      settings.IpPort = sim.StartTcp();
    } else {
      settings.ComPort = sim.StartPty();
    }
    SimFixture::UseQuickTiming(line);
    ApplyLineSettings(line, settings);
    LineSetCommWait(line, 500);
    LineSetSlave(line, slaved(), kSlaveId);
    if (slaved()) LineFlowNone(line);
    LineOpen(line);
  }
  void TearDown() override { LineClose(line); }

  bool tcp() const { return std::get<0>(GetParam()); }
  bool slaved() const { return std::get<1>(GetParam()); }

  SimFixture sim;
  LineContext line;
};

TEST_P(LineAgainstSim, ProbeAndCommands) {
  LinePurge(line);
  ASSERT_TRUE(LineCheck(line));
  std::string reply;
  ASSERT_TRUE(LineCommand(line, "rtcr", reply));
  EXPECT_EQ(reply.size(), 12u) << reply;
  ASSERT_TRUE(LineCommand(line, "no-such-command", reply));
  EXPECT_EQ(reply.substr(0, 2), "??");
}

TEST_P(LineAgainstSim, RingTransferInBothBlockSizes) {
  ASSERT_TRUE(LineCheck(line));
  const auto expected = sim.Recorder(slaved() ? kSlaveId : -1).RingBytes(0);
  ASSERT_FALSE(expected.empty());
  for (bool large : {false, true}) {
    std::string reply;
    ASSERT_TRUE(LineCommand(line, large ? "xdm1kdd1" : "xdmdd1", reply));
    ASSERT_EQ(reply.substr(0, 2), "!!") << reply;
    const Transfer t = Receive(line, large);
    EXPECT_EQ(t.last, BlockEnd);
    EXPECT_EQ(t.rejected, 0);
    ASSERT_GE(t.data.size(), expected.size());
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), t.data.begin()));
  }
}

TEST_P(LineAgainstSim, DamagedBlockIsCaughtAndResent) {
  sim::FaultSettings faults;
  faults.corruptBlock = 1;
  faults.transferFilter = "xdm";
  sim.Faults().Set(faults);
  ASSERT_TRUE(LineCheck(line));
  std::string reply;
  ASSERT_TRUE(LineCommand(line, "xdmrr", reply));
  ASSERT_EQ(reply.substr(0, 2), "!!");
  const Transfer t = Receive(line, false);
  EXPECT_EQ(t.last, BlockEnd);
  EXPECT_EQ(t.rejected, 1) << t.blocks << " blocks";
  const auto rom = sim.Recorder(slaved() ? kSlaveId : -1).AreaImage(sim::SimArea::Rom);
  ASSERT_GE(t.data.size(), rom.size());
  EXPECT_TRUE(std::equal(rom.begin(), rom.end(), t.data.begin()));
}

TEST_P(LineAgainstSim, SilentRecorderFailsWithinBounds) {
  sim::FaultSettings faults;
  faults.silentAfter = 0;
  sim.Faults().Set(faults);
  const auto start = Clock::now();
  EXPECT_FALSE(LineCheck(line));
  std::string reply;
  EXPECT_FALSE(LineCommand(line, "ver", reply));
  const double took = SecondsSince(start);
  EXPECT_GE(took, 1.9);  // four waits of 500 ms
  EXPECT_LT(took, 5.0);
}

TEST_P(LineAgainstSim, OtherSlaveOrNoneDoesNotAnswer) {
  if (!slaved()) {
    LineSetSlave(line, true, kSlaveId);  // a direct recorder ignores the header
    EXPECT_FALSE(LineCheck(line));
    return;
  }
  LineSetSlave(line, true, kSlaveId + 5);
  EXPECT_FALSE(LineCheck(line));
  LineSetSlave(line, true, kSlaveId + 1);
  EXPECT_TRUE(LineCheck(line));
}

INSTANTIATE_TEST_SUITE_P(Transports, LineAgainstSim,
                         ::testing::Combine(::testing::Bool(), ::testing::Bool()),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param) ? "Tcp" : "Pty") +
                                  (std::get<1>(info.param) ? "Slaved" : "Direct");
                         });

}  // namespace
}  // namespace tessaro
