// Block transfers of the simulator over a real socket, with and without
// injected faults, received by the test's own minimal receiver.

#include <gtest/gtest.h>

#include <chrono>

#include "RawClient.h"
#include "support/SimFixture.h"

namespace tessaro::simtest {
namespace {

using Bytes = std::vector<uint8_t>;
using Clock = std::chrono::steady_clock;

Bytes Padded(Bytes data, size_t block) {
  while (data.size() % block != 0) data.push_back(0xFF);
  return data;
}

std::vector<int> Sequence(size_t count) {
  std::vector<int> numbers;
  for (size_t i = 1; i <= count; ++i) numbers.push_back(static_cast<int>(i & 0xFF));
  return numbers;
}

class SimTransfer : public ::testing::Test {
 protected:
  void SetUp() override {
    port_ = sim_.StartTcp();
    auto client = RawClient::Tcp(port_);
    ASSERT_TRUE(client);
    client_.emplace(std::move(*client));
  }

  // Sends the transfer command, expects "!!" and receives.
  Received Transfer(const std::string& command, ReceiveOptions options) {
    const auto reply = client_->Command(command);
    EXPECT_EQ(reply, "!!") << command;
    if (reply != "!!") return {};
    return client_->Receive(options);
  }

  void ExpectServing() {
    client_->Drain(100);
    EXPECT_EQ(client_->Command("ver"), "CVX-4A Ver1.20");
  }

  SimFixture sim_;
  int port_ = 0;
  std::optional<RawClient> client_;
};

TEST_F(SimTransfer, AllThreeModesDeliverAreasAndRingData) {
  const sim::RecorderImages images = sim_.Recorder().Images();
  struct Mode {
    std::string prefix;
    ReceiveOptions options;
    size_t block;
  };
  const Mode modes[] = {
      {"xdm1k", {.large = true}, 1024}, {"mnp", {.mnp = true}, 128}, {"xdm", {}, 128}};
  for (const Mode& mode : modes) {
    SCOPED_TRACE(mode.prefix);
    const Received rom = Transfer(mode.prefix + "rr", mode.options);
    EXPECT_TRUE(rom.completed);
    EXPECT_EQ(rom.data, Padded(images.rom, mode.block));
    const Received batt = Transfer(mode.prefix + "bb", mode.options);
    EXPECT_EQ(batt.data, Padded(images.batt, mode.block));
    // The NEW ring: 40000 bytes, so 128-byte block numbers wrap past 255.
    const Received ring = Transfer(mode.prefix + "dd1", mode.options);
    EXPECT_TRUE(ring.completed);
    EXPECT_EQ(ring.errors, 0);
    EXPECT_EQ(ring.data, Padded(images.rings[0], mode.block));
    EXPECT_EQ(ring.numbers, Sequence(ring.data.size() / mode.block));
    ExpectServing();
  }
}

TEST_F(SimTransfer, EmptyRingSendsOnlyEot) {
  const Received ring = Transfer("xdm1kdd4", {.large = true});
  EXPECT_TRUE(ring.completed);
  EXPECT_TRUE(ring.data.empty());
  ExpectServing();
}

TEST_F(SimTransfer, NakMakesTheRecorderResendTheSameBlock) {
  const Received ring = Transfer("xdmdd3", {.nakGoodBlock = 3});
  EXPECT_TRUE(ring.completed);
  EXPECT_EQ(ring.data, Padded(sim_.Recorder().RingBytes(2), 128));
  ASSERT_GE(ring.numbers.size(), 5u);
  EXPECT_EQ(std::vector<int>(ring.numbers.begin(), ring.numbers.begin() + 5),
            (std::vector<int>{1, 2, 3, 3, 4}));
}

TEST_F(SimTransfer, CanStopsTheTransferAndCommandsGoOn) {
  const Received ring = Transfer("xdmdd1", {.cancelAfter = 2});
  EXPECT_TRUE(ring.cancelled);
  EXPECT_EQ(ring.data.size(), 256u);
  ExpectServing();
  // CAN before the first block, in place of the opening NAK.
  ASSERT_EQ(client_->Command("xdm1krr"), "!!");
  client_->SendByte(0x18);
  ExpectServing();
}

TEST_F(SimTransfer, CorruptBlockIsRepairedByNak) {
  sim_.Faults().Set({.corruptBlock = 2});
  const Received rom = Transfer("xdmbb", {});
  EXPECT_TRUE(rom.completed);
  EXPECT_EQ(rom.errors, 1);
  EXPECT_EQ(rom.data, Padded(sim_.Recorder().AreaImage(sim::SimArea::Batt), 128));
}

TEST_F(SimTransfer, FourthConsecutiveBadBlockIsCancelled) {
  sim_.Faults().Set({.corruptBlock = 1, .corruptTimes = 4});
  const Received rom = Transfer("xdm1kbb", {.large = true});
  EXPECT_TRUE(rom.cancelled);
  EXPECT_EQ(rom.errors, 4);
  ExpectServing();
}

TEST_F(SimTransfer, MnpCancelsOnTheFirstBadBlock) {
  sim_.Faults().Set({.corruptBlock = 2});
  const Received ring = Transfer("mnpdd1", {.mnp = true});
  EXPECT_TRUE(ring.cancelled);
  EXPECT_EQ(ring.data.size(), 128u);
  ExpectServing();
}

TEST_F(SimTransfer, DroppedBlockIsSentAfterTheTimeoutNak) {
  sim_.Faults().Set({.dropBlock = 2});
  const Received batt = Transfer("xdmbb", {.timeoutMs = 400});
  EXPECT_TRUE(batt.completed);
  EXPECT_EQ(batt.errors, 1);
  EXPECT_EQ(batt.data, Padded(sim_.Recorder().AreaImage(sim::SimArea::Batt), 128));
}

TEST_F(SimTransfer, RepeatedBlockCarriesTheSameNumber) {
  sim_.Faults().Set({.repeatBlock = 3});
  const Received ring = Transfer("xdm1kdd1", {.large = true});
  EXPECT_TRUE(ring.completed);
  ASSERT_GE(ring.numbers.size(), 5u);
  EXPECT_EQ(std::vector<int>(ring.numbers.begin(), ring.numbers.begin() + 5),
            (std::vector<int>{1, 2, 3, 3, 4}));
  // A receiver that does not look at the numbers stores the block twice.
  const Bytes expected = Padded(sim_.Recorder().RingBytes(0), 1024);
  EXPECT_EQ(ring.data.size(), expected.size() + 1024);
}

TEST_F(SimTransfer, SilenceAfterBlockEndsInCancel) {
  sim_.Faults().Set({.stopAfterBlock = 2});
  const Received ring = Transfer("xdm1kdd1", {.large = true, .timeoutMs = 200});
  EXPECT_TRUE(ring.cancelled);
  EXPECT_EQ(ring.data.size(), 2048u);
  ExpectServing();
}

TEST_F(SimTransfer, BlockFaultsCanBeLimitedToRingData) {
  sim_.Faults().Set({.corruptBlock = 1, .corruptTimes = 9, .transferFilter = "dd"});
  const Received rom = Transfer("xdm1krr", {.large = true});
  EXPECT_TRUE(rom.completed);
  EXPECT_EQ(rom.errors, 0);
  const Received ring = Transfer("xdm1kdd1", {.large = true});
  EXPECT_TRUE(ring.cancelled);
}

TEST_F(SimTransfer, DelayRefusalAndSilence) {
  sim_.Faults().Set({.delayMs = 300, .refused = {"romr120"}});
  const auto start = Clock::now();
  EXPECT_EQ(client_->Command("romr120"), "??");
  const auto took = Clock::now() - start;
  EXPECT_GE(took, std::chrono::milliseconds(290));
  EXPECT_LT(took, std::chrono::seconds(3));
  EXPECT_EQ(client_->Command("romr100"), "41");

  sim_.Faults().Set({.silentAfter = 2});
  EXPECT_EQ(client_->Command(""), "??CMD");
  EXPECT_EQ(client_->Command("ver"), "CVX-4A Ver1.20");
  EXPECT_FALSE(client_->Command("ver", 300));
  sim_.Faults().Clear();
  EXPECT_EQ(client_->Command("ver"), "CVX-4A Ver1.20");
}

TEST_F(SimTransfer, ThrottledOutputTakesTheLineTime) {
  sim_.Faults().Set({.baud = 9600});
  const auto start = Clock::now();
  const Received rom = Transfer("xdm1krr", {.large = true, .timeoutMs = 3000});
  const auto took = Clock::now() - start;
  EXPECT_TRUE(rom.completed);
  // 1028 block bytes at 960 bytes a second.
  EXPECT_GE(took, std::chrono::milliseconds(900));
  EXPECT_LT(took, std::chrono::seconds(5));
}

}  // namespace
}  // namespace tessaro::simtest
