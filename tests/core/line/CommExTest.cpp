#include "core/line/CommEx.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "core/line/CommError.h"
#include "core/line/LineFacade.h"
#include "core/line/LineFraming.h"
#include "core/line/SerialTermios.h"
#include "core/support/Pump.h"
#include "support/LinePeers.h"

namespace tessaro {
namespace {

using namespace std::string_literals;
using testing::PtyPair;
using Clock = std::chrono::steady_clock;

class CommExTest : public ::testing::Test {
 protected:
  void SetUp() override {
    comm.SetDevice(pty.path());
    comm.SetTiming(
        {.closeSettleMs = 0, .purgeLeadMs = 50, .purgeQuietMs = 50, .purgeLimitMs = 2000});
    comm.SetCommWait(250);
    comm.Open();
    ASSERT_TRUE(comm.Active());
  }
  void Send(std::string_view bytes) { ASSERT_TRUE(testing::WriteAll(pty.master(), bytes)); }

  PtyPair pty;
  TCommEx comm;
};

TEST(CommExOpen, MissingPortRaisesAndStaysClosed) {
  TCommEx comm;
  comm.SetDevice("/dev/tessaro-no-such-port");
  try {
    comm.Open();
    FAIL() << "no error raised";
  } catch (const ECommOpenError& e) {
    EXPECT_EQ(e.ErrorCode(), -1);
    EXPECT_STREQ(e.what(), "通信ポートオープンエラー ErrorCode = -1");
  }
  EXPECT_FALSE(comm.Active());
  uint8_t b;
  EXPECT_FALSE(comm.GetChar(b));
  EXPECT_FALSE(comm.PutChar('x'));
}

TEST(CommExOpen, NonTtyIsRefused) {
  TCommEx comm;
  comm.SetDevice("/dev/null");
  EXPECT_THROW(comm.Open(), ECommOpenError);
  EXPECT_FALSE(comm.Active());
}

TEST(CommExOpen, PortNumberNamesTtyS) {
  TCommEx comm;
  comm.SetPort(3);
  EXPECT_EQ(comm.DevicePath(), "/dev/ttyS2");
  comm.SetDevice("/dev/ttyUSB0");
  EXPECT_EQ(comm.DevicePath(), "/dev/ttyUSB0");
}

TEST_F(CommExTest, PortInUseIsRefusedAndFreedOnClose) {
  TCommEx other;
  other.SetTiming({.closeSettleMs = 0});
  other.SetDevice(pty.path());
  EXPECT_THROW(other.Open(), ECommOpenError);
  EXPECT_FALSE(other.Active());
  comm.Close();
  EXPECT_NO_THROW(other.Open());
  EXPECT_TRUE(other.Active());
}

TEST_F(CommExTest, LineParametersApplyWhileOpen) {
  comm.SetBaudRateUserDefined(250000);
  EXPECT_EQ(comm.BaudRate(), -1);
  comm.SetByteSize(cbs7);
  comm.SetStopBits(csb15);
  comm.SetParityBits(cpbOdd);
  UniqueFd probe(::open(pty.path().c_str(), O_RDWR | O_NOCTTY));  // root passes TIOCEXCL
  SerialParams p;
  if (!probe) GTEST_SKIP() << "cannot open the pty a second time to inspect it";
  ASSERT_TRUE(ReadSerialParams(probe.get(), p));
  // A pty forces 8 data bits without parity; those are checked on the
  // termios record built for them (SerialTermiosTest).
  EXPECT_EQ(p.baud, 250000u);
  EXPECT_EQ(p.stopBits, 2);  // nearest to 1.5 on Linux
  EXPECT_TRUE(p.rtsCts);
  comm.FlowNone();
  ASSERT_TRUE(ReadSerialParams(probe.get(), p));
  EXPECT_FALSE(p.rtsCts);
  comm.SetBaudRate(38400);
  ASSERT_TRUE(ReadSerialParams(probe.get(), p));
  EXPECT_EQ(p.baud, 38400u);
}

TEST_F(CommExTest, GetCharTimesOutAfterCommWaitNotEarlier) {
  uint8_t b;
  const auto cost = testing::Measure([&] { EXPECT_FALSE(comm.GetChar(b)); });
  EXPECT_GE(cost.wall, 0.24);
  EXPECT_LT(cost.wall, 2.0);
  Send("Z");
  ASSERT_TRUE(comm.GetChar(b));
  EXPECT_EQ(b, 'Z');
}

TEST_F(CommExTest, WaitOnUiThreadKeepsWindowAlive) {
  std::atomic<int> pumps{0};
  SetPumpHook([&] { ++pumps; });
  uint8_t b;
  EXPECT_FALSE(comm.GetChar(b));
  EXPECT_GE(pumps.load(), 5);  // 250 ms wait in short slices
  const int before = pumps.load();
  comm.SettleDelay(100);
  EXPECT_GT(pumps.load(), before);
  // A worker thread waiting on the line never runs the hook.
  const int afterUi = pumps.load();
  std::thread([&] { EXPECT_FALSE(comm.GetChar(b)); }).join();
  EXPECT_EQ(pumps.load(), afterUi);
  SetPumpHook({});
}

TEST_F(CommExTest, RecvLineTakesUpTo1023BytesBeforeCR) {
  std::string text;
  Send("ABC\rrest");
  ASSERT_TRUE(comm.RecvLine(text));
  EXPECT_EQ(text, "ABC");
  EXPECT_EQ(comm.InCount(), 4);  // nothing after the CR was consumed
  comm.Purge();
  EXPECT_EQ(comm.InCount(), 0);

  Send(std::string(1023, 'x') + "\r");
  ASSERT_TRUE(comm.RecvLine(text));
  EXPECT_EQ(text.size(), 1023u);

  Send(std::string(1024, 'y') + "\r");
  EXPECT_FALSE(comm.RecvLine(text));
}

TEST_F(CommExTest, OtherLineTerminators) {
  std::string text;
  comm.SetRecvType(crCRLF);
  Send("a\rb\r\n");
  ASSERT_TRUE(comm.RecvLine(text));
  EXPECT_EQ(text, "a\rb");
  comm.SetRecvType(crCRoLF);
  Send("lf\ncr\r");
  ASSERT_TRUE(comm.RecvLine(text));
  EXPECT_EQ(text, "lf");
  ASSERT_TRUE(comm.RecvLine(text));
  EXPECT_EQ(text, "cr");
  comm.SetRecvType(crMDM);
  Send("\r\nOK\r\n");
  ASSERT_TRUE(comm.RecvLine(text));
  EXPECT_EQ(text, "OK");
  Send("OK\r\n");
  EXPECT_FALSE(comm.RecvLine(text));
}

TEST_F(CommExTest, SendLineEndsWithCRLFUnlessRecvTypeIsCR) {
  ASSERT_TRUE(comm.SendLine("ver"));
  EXPECT_EQ(testing::ReadBytes(pty.master(), 4), "ver\r");
  comm.SetRecvType(crCRLF);
  ASSERT_TRUE(comm.SendLine("ver"));
  EXPECT_EQ(testing::ReadBytes(pty.master(), 5), "ver\r\n");
}

TEST_F(CommExTest, WriteLongerThanOutQueueSendsNothing) {
  comm.SetOutQueueSize(64);
  const std::string big(65, 'q');
  EXPECT_FALSE(comm.WriteBuffer(reinterpret_cast<const uint8_t*>(big.data()), big.size()));
  EXPECT_EQ(testing::Drain(pty.master()), "");
  EXPECT_TRUE(comm.WriteBuffer(reinterpret_cast<const uint8_t*>(big.data()), 64));
}

TEST_F(CommExTest, RecvBlockResults) {
  uint8_t block[kBlockBufferSize];
  Send("\x04Z");
  EXPECT_EQ(comm.RecvBlock(false, block), BlockEnd);
  EXPECT_EQ(comm.InCount(), 1);  // only the EOT was read
  comm.Purge();
  Send("\x02");
  EXPECT_EQ(comm.RecvBlock(false, block), BlockBadStart);
  Send("\x15");
  EXPECT_EQ(comm.RecvBlock(true, block), BlockBadStart);
  EXPECT_EQ(comm.RecvBlock(false, block), BlockTimeout);
  Send("\x01\x00\xff" + std::string(20, 'd'));  // block cut short
  EXPECT_EQ(comm.RecvBlock(false, block), BlockTimeout);
}

TEST_F(CommExTest, ReceivesBothBlockSizesWhole) {
  for (bool large : {false, true}) {
    std::string block(BlockLength(large), '\0');
    block[0] = kSOH;
    block[1] = 7;
    block[2] = static_cast<char>(~7);
    uint8_t sum = 0;
    for (int i = 0; i < BlockDataLength(large); ++i) {
      block[3 + i] = static_cast<char>(i * 13);
      sum = static_cast<uint8_t>(sum + static_cast<uint8_t>(block[3 + i]));
    }
    block.back() = static_cast<char>(sum);
    // Arrives in pieces, as a real line delivers it.
    std::thread writer([&] {
      for (size_t i = 0; i < block.size(); i += 100) {
        testing::WriteAll(pty.master(), std::string_view(block).substr(i, 100));
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
      }
    });
    uint8_t buffer[kBlockBufferSize] = {};
    EXPECT_EQ(comm.RecvBlock(large, buffer), BlockOk);
    writer.join();
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), block.size()), block);
    EXPECT_TRUE(comm.CheckBlock(large, buffer));
  }
}

TEST_F(CommExTest, PurgeDiscardsUntilQuiet) {
  Send(std::string(3000, 'p'));
  const auto start = Clock::now();
  comm.Purge();
  EXPECT_LT(testing::Seconds(Clock::now() - start), 2.0);
  EXPECT_EQ(comm.InCount(), 0);
  uint8_t b;
  EXPECT_FALSE(comm.GetChar(b));
}

TEST_F(CommExTest, PurgeIsBoundedOnEndlessTalk) {
  std::atomic<bool> stop{false};
  std::thread talker([&] {
    while (!stop) {
      testing::WriteAll(pty.master(), std::string(64, 't'));
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  });
  comm.SetTiming({.closeSettleMs = 0, .purgeLeadMs = 10, .purgeQuietMs = 50, .purgeLimitMs = 300});
  const auto start = Clock::now();
  comm.Purge();
  const double took = testing::Seconds(Clock::now() - start);
  stop = true;
  talker.join();
  EXPECT_GE(took, 0.3);
  EXPECT_LT(took, 2.0);
}

TEST_F(CommExTest, ModemLinesReadFalseWithoutModem) {
  // A pty has no modem lines; the queries must still answer.
  EXPECT_FALSE(comm.DSRState());
  EXPECT_FALSE(comm.RDState());
  Send("x");
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_TRUE(comm.RDState());
}

TEST(CommExWatch, NotifiesReceiveAndCloseWaitsForHandler) {
  PtyPair pty;
  TCommEx comm;
  comm.SetDevice(pty.path());
  comm.SetTiming({.closeSettleMs = 0});
  std::atomic<int> calls{0};
  std::atomic<bool> handlerDone{false};
  comm.OnCommReceive = [&](TCommEx&, uint16_t size) {
    EXPECT_GT(size, 0);
    ++calls;
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    handlerDone = true;
  };
  comm.Open();
  ASSERT_TRUE(testing::WriteAll(pty.master(), "abc"));
  for (int i = 0; i < 100 && calls == 0; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  ASSERT_EQ(calls, 1);
  comm.Close();
  EXPECT_TRUE(handlerDone);
  // Unread data does not wake the watch again: one notification per arrival.
  EXPECT_EQ(calls, 1);
}

TEST(CommExPorts, SortsByNumber) {
  std::vector<std::string> names = {"COM10", "COM2", "COM1"};
  SortPortNames(names);
  EXPECT_EQ(names, (std::vector<std::string>{"COM1", "COM2", "COM10"}));
  names = {"/dev/ttyUSB0", "/dev/ttyS10", "/dev/ttyS2"};
  SortPortNames(names);
  EXPECT_EQ(names, (std::vector<std::string>{"/dev/ttyS2", "/dev/ttyS10", "/dev/ttyUSB0"}));
  std::vector<std::string> ports = {"stale"};
  if (TCommEx::ListSerialPorts(ports)) {
    for (const auto& p : ports) EXPECT_EQ(p.rfind("/dev/", 0), 0u) << p;
  }
}

}  // namespace
}  // namespace tessaro
