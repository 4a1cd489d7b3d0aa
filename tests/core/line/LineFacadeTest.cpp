#include "core/line/LineFacade.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>

#include "core/line/CommError.h"
#include "core/line/LineContext.h"
#include "support/LinePeers.h"

namespace tessaro {
namespace {

using namespace std::string_literals;
using Clock = std::chrono::steady_clock;
using testing::FakeRecorder;

LineSettings Serial(const std::string& port) {
  LineSettings s;
  s.ComPort = port;
  return s;
}

TEST(ApplyLineSettings, OnlyExactTcpIpSelectsTcp) {
  LineContext line;
  LineSettings s = Serial("TCP/IP");
  s.IpAddr = "127.0.0.1";
  s.IpPort = 4001;
  s.Over = 7;
  EXPECT_EQ(ApplyLineSettings(line, s), "TCP/IP[127.0.0.1]");
  EXPECT_EQ(line.LineMode, 1);
  EXPECT_EQ(line.ScktLine.Port(), 4001);
  EXPECT_EQ(line.ScktLine.CommWait(), 7000);
  EXPECT_EQ(line.CommLine.CommWait(), 7000);

  for (const char* text : {"tcp/ip", "TCP/IP "}) {
    EXPECT_EQ(ApplyLineSettings(line, Serial(text)), "RS232C[COM1]") << text;
    EXPECT_EQ(line.LineMode, 0);
    EXPECT_EQ(line.CommLine.Port(), 1);
  }
}

TEST(ApplyLineSettings, PortNumberFromComText) {
  LineContext line;
  EXPECT_EQ(ApplyLineSettings(line, Serial("COM12")), "RS232C[COM12]");
  EXPECT_EQ(line.CommLine.Port(), 12);
  EXPECT_EQ(line.CommLine.DevicePath(), "/dev/ttyS11");
  ApplyLineSettings(line, Serial("COMX"));
  EXPECT_EQ(line.CommLine.Port(), 1);
  ApplyLineSettings(line, Serial("COMCOM3"));
  EXPECT_EQ(line.CommLine.Port(), 3);
  EXPECT_EQ(ApplyLineSettings(line, Serial("/dev/ttyUSB0")), "RS232C[/dev/ttyUSB0]");
  EXPECT_EQ(line.CommLine.DevicePath(), "/dev/ttyUSB0");
  ApplyLineSettings(line, Serial("COM2"));
  EXPECT_EQ(line.CommLine.DevicePath(), "/dev/ttyS1");  // the device path no longer applies
}

TEST(ApplyLineSettings, SerialParametersReachTheComponent) {
  LineContext line;
  LineSettings s = Serial("COM1");
  s.Baud = 19200;
  s.Data = 3;
  s.Stop = 2;
  s.Parity = 2;
  ApplyLineSettings(line, s);
  EXPECT_EQ(line.CommLine.BaudRate(), 19200);
  EXPECT_EQ(line.CommLine.ByteSize(), cbs7);
  EXPECT_EQ(line.CommLine.StopBits(), csb2);
  EXPECT_EQ(line.CommLine.ParityBits(), cpbEven);
}

TEST(LineFacade, SerialSettersAreIgnoredInTcpModeAndTheOtherWayRound) {
  LineContext line;
  line.LineMode = 1;
  LineSetBaudRate(line, 115200);
  LineSetComPort(line, "COM5");
  LineFlowNone(line);
  EXPECT_EQ(line.CommLine.BaudRate(), 9600);
  EXPECT_EQ(line.CommLine.Port(), 1);
  EXPECT_EQ(line.CommLine.FlowControls(), CommSet(cfcRtsCts));
  line.LineMode = 0;
  LineSetHost(line, "example.invalid");
  LineSetTcpPort(line, 9);
  EXPECT_EQ(line.ScktLine.Host(), "127.0.0.1");
  EXPECT_EQ(line.ScktLine.Port(), 1000);
  LineSetSlave(line, true, 42);
  LineSetCommWait(line, 1234);
  for (TLineComponent* c : {static_cast<TLineComponent*>(&line.CommLine),
                            static_cast<TLineComponent*>(&line.ScktLine)}) {
    EXPECT_TRUE(c->Slaved());
    EXPECT_EQ(c->SlaveID(), 42);
    EXPECT_EQ(c->CommWait(), 1234);
  }
}

TEST(LineFacade, OpenOfMissingSerialPortRaises) {
  LineContext line;
  line.CommLine.SetTiming({.closeSettleMs = 0});
  ApplyLineSettings(line, Serial("/dev/tessaro-missing"));
  EXPECT_THROW(LineOpen(line), ECommOpenError);
  EXPECT_FALSE(line.CommLine.Active());
  std::string reply;
  EXPECT_FALSE(LineCommand(line, "ver", reply));
  EXPECT_FALSE(LineCheck(line));
}

// The same exchanges over both transports.
class LineExchange : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    line.CommLine.SetTiming({.closeSettleMs = 0, .purgeLeadMs = 20, .purgeQuietMs = 20});
    LineSettings s;
    s.Over = 1;
    if (tcp()) {
      s.ComPort = "TCP/IP";
      s.IpAddr = "127.0.0.1";
      s.IpPort = listener.port();
    } else {
      s.ComPort = pty.path();
    }
    ApplyLineSettings(line, s);
    LineSetCommWait(line, 250);
    LineOpen(line);
    if (tcp()) {
      peer = listener.Accept();
      ASSERT_TRUE(peer);
    }
  }
  bool tcp() const { return GetParam(); }
  int peerFd() const { return tcp() ? peer.get() : pty.master(); }
  void Answer(FakeRecorder::Script script) {
    recorder = std::make_unique<FakeRecorder>(peerFd(), std::move(script));
  }

  testing::PtyPair pty;
  testing::TcpListener listener;
  UniqueFd peer;
  LineContext line;
  std::unique_ptr<FakeRecorder> recorder;
};

TEST_P(LineExchange, SlavedCommandWireBytesAndReply) {
  LineSetSlave(line, true, 1);
  Answer([](const std::string& l) -> std::optional<std::string> {
    if (l.substr(10) == "rtcr") return "\x02X0001abcd201231235959\r"s;
    return "\x02X0002abcd" + l.substr(10) + "\r";  // answers as another recorder
  });
  std::string reply;
  ASSERT_TRUE(LineCommand(line, "rtcr", reply));
  EXPECT_EQ(reply, "201231235959");
  EXPECT_EQ(recorder->received(),
            "\x05\x20"
            "0001FFFFrtcr\r"s);
  EXPECT_FALSE(LineCommand(line, "ver", reply));
  EXPECT_FALSE(LineCheck(line));
}

TEST_P(LineExchange, CheckAcceptsCmdAnswerInAnyCase) {
  Answer([](const std::string&) { return std::optional<std::string>("??cMd tail\r"); });
  EXPECT_TRUE(LineCheck(line));
  EXPECT_EQ(recorder->lines(), 1);
}

TEST_P(LineExchange, CheckRejectsSingleQuestionMark) {
  Answer([](const std::string&) { return std::optional<std::string>("?CMD\r"); });
  EXPECT_FALSE(LineCheck(line));
  EXPECT_EQ(recorder->lines(), 3);
}

TEST_P(LineExchange, CheckSucceedsOnThirdAttempt) {
  int n = 0;
  Answer([&n](const std::string&) -> std::optional<std::string> {
    if (++n < 3) return std::nullopt;
    return "??CMD\r"s;
  });
  EXPECT_TRUE(LineCheck(line));
}

TEST_P(LineExchange, CheckOnSilentLineTakesThreeWaitsAndLittleCpu) {
  const auto cost = testing::Measure([&] { EXPECT_FALSE(LineCheck(line)); });
  EXPECT_GE(cost.wall, 0.7);  // three attempts of 250 ms
  EXPECT_LT(cost.wall, 3.0);
  EXPECT_LT(cost.cpu, 0.1 * cost.wall);
  EXPECT_EQ(testing::ReadBytes(peerFd(), 3), "\r\r\r");
}

TEST_P(LineExchange, LeftoversNeverReachTheReply) {
  ASSERT_TRUE(testing::WriteAll(peerFd(), "stale\rjunk"));
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  Answer(testing::EchoRecorder);
  std::string reply;
  ASSERT_TRUE(LineCommand(line, "eepr3", reply));
  EXPECT_EQ(reply, "eepr3");
}

TEST_P(LineExchange, GarbageAndOverlongRepliesFailWithinBounds) {
  Answer([](const std::string& l) -> std::optional<std::string> {
    if (l == "long") return std::string(5000, 'g');
    return "\x02\x7f\x80garbage without end"s;
  });
  std::string reply;
  const auto start = Clock::now();
  const bool longOk = LineCommand(line, "long", reply);
  if (tcp()) {
    EXPECT_TRUE(longOk);  // the TCP line takes 1023 bytes as a line
    EXPECT_EQ(reply.size(), 1023u);
  } else {
    EXPECT_FALSE(longOk);
  }
  LinePurge(line);
  EXPECT_FALSE(LineCommand(line, "x", reply));
  EXPECT_FALSE(LineCheck(line));
  EXPECT_LT(testing::Seconds(Clock::now() - start), 5.0);
}

TEST_P(LineExchange, BlockTransferWithAcknowledgements) {
  std::string small(132, 's'), large(1028, 'L');
  small[0] = large[0] = kSOH;
  ASSERT_TRUE(testing::WriteAll(peerFd(), small + large + "\x04"));
  uint8_t buffer[kBlockBufferSize];
  EXPECT_EQ(LineRecvBlock(line, false, buffer), BlockOk);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 132), small);
  EXPECT_TRUE(LinePutChar(line, kACK));
  EXPECT_EQ(LineRecvBlock(line, true, buffer), BlockOk);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 1028), large);
  EXPECT_EQ(LineRecvBlock(line, true, buffer), BlockEnd);
  EXPECT_FALSE(LineHasData(line));
  EXPECT_EQ(LineRecvBlock(line, true, buffer), BlockTimeout);
  EXPECT_EQ(testing::ReadBytes(peerFd(), 1), "\x06");
}

TEST_P(LineExchange, SendTextAndHeaderAlone) {
  LineSetSlave(line, true, 0x2A);
  ASSERT_TRUE(LineSendSlaveHeader(line));
  ASSERT_TRUE(LineSendText(line, "xdm1k"));
  EXPECT_EQ(testing::ReadBytes(peerFd(), 26), "\x05 002AFFFF\x05 002AFFFFxdm1k\r");
  LineSetSlave(line, false, 0x2A);
  ASSERT_TRUE(LineSendSlaveHeader(line));
  EXPECT_EQ(testing::Drain(peerFd()), "");
}

INSTANTIATE_TEST_SUITE_P(Transports, LineExchange, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Tcp" : "Serial"; });

}  // namespace
}  // namespace tessaro
