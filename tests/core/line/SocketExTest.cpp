#include "core/line/SocketEx.h"

#include <gtest/gtest.h>
#include <sys/ioctl.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "core/line/LineFacade.h"
#include "core/line/LineFraming.h"
#include "support/LinePeers.h"

namespace tessaro {
namespace {

using namespace std::string_literals;
using Clock = std::chrono::steady_clock;
using testing::TcpListener;

class SocketExTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sock.SetHost("127.0.0.1");
    sock.SetPort(listener.port());
    sock.SetCommWait(250);
    sock.OnConnect = [this] { ++connects; };
    sock.OnDisconnect = [this] { ++disconnects; };
    sock.Open();
    peer = listener.Accept();
    ASSERT_TRUE(peer);
  }
  void Send(std::string_view bytes) { ASSERT_TRUE(testing::WriteAll(peer.get(), bytes)); }
  int Pending() {
    int n = 0;
    ::ioctl(peer.get(), FIONREAD, &n);
    return n;
  }

  TcpListener listener;
  TSocketEx sock;
  UniqueFd peer;
  std::atomic<int> connects{0};
  std::atomic<int> disconnects{0};
};

TEST_F(SocketExTest, GetCharWaitsCommWaitOnSilence) {
  uint8_t b;
  const auto cost = testing::Measure([&] { EXPECT_FALSE(sock.GetChar(b)); });
  EXPECT_GE(cost.wall, 0.24);
  EXPECT_LT(cost.wall, 2.0);
  EXPECT_LT(cost.cpu, 0.1 * cost.wall);  // waits in poll, never spins
  Send("k");
  ASSERT_TRUE(sock.GetChar(b));
  EXPECT_EQ(b, 'k');
  EXPECT_EQ(connects, 1);
}

TEST_F(SocketExTest, SendLineUnslavedIsTextAndCR) {
  ASSERT_TRUE(sock.SendLine("rtcr"));
  EXPECT_EQ(testing::ReadBytes(peer.get(), 6, 300), "rtcr\r");
  sock.SetSlaved(true);
  sock.SetSlaveID(0x1F);
  ASSERT_TRUE(sock.SendSlaveHeader());
  EXPECT_EQ(testing::ReadBytes(peer.get(), 11, 300), "\x05 001FFFFF");
}

TEST_F(SocketExTest, LongLineWithoutCRGivesFirst1023Bytes) {
  std::string data;
  for (int i = 0; i < 1500; ++i) data += static_cast<char>('a' + i % 26);
  Send(data);
  std::string text;
  ASSERT_TRUE(sock.RecvLine(text));
  EXPECT_EQ(text, data.substr(0, 1023));
  // The rest stays in the socket.
  for (int i = 0; i < 100 && sock.InCount() < 477; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  EXPECT_EQ(sock.InCount(), 477);
}

TEST_F(SocketExTest, RecvLineLeavesBytesAfterCR) {
  Send("one\rtwo\r");
  std::string text;
  ASSERT_TRUE(sock.RecvLine(text));
  EXPECT_EQ(text, "one");
  ASSERT_TRUE(sock.RecvLine(text));
  EXPECT_EQ(text, "two");
  EXPECT_FALSE(sock.RecvLine(text));
}

TEST_F(SocketExTest, ReplyInSlowPiecesIsOneLine) {
  std::thread writer([&] {
    for (char c : "slow reply\r"s) {
      testing::WriteAll(peer.get(), std::string(1, c));
      std::this_thread::sleep_for(std::chrono::milliseconds(30));
    }
  });
  std::string text;
  EXPECT_TRUE(sock.RecvLine(text));
  EXPECT_EQ(text, "slow reply");
  writer.join();
}

TEST_F(SocketExTest, PurgeTakesOnlyWhatArrived) {
  const auto start = Clock::now();
  sock.Purge();
  EXPECT_LT(testing::Seconds(Clock::now() - start), 0.1);
  Send(std::string(1000, 'x'));
  for (int i = 0; i < 100 && sock.InCount() < 1000; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  sock.Purge();
  EXPECT_EQ(sock.InCount(), 0);
}

TEST_F(SocketExTest, RecvBlockResults) {
  uint8_t block[kBlockBufferSize];
  Send("\x04Q");
  EXPECT_EQ(sock.RecvBlock(false, block), BlockEnd);
  uint8_t b;
  ASSERT_TRUE(sock.GetChar(b));  // only the EOT was taken
  EXPECT_EQ(b, 'Q');
  Send("\x15");
  EXPECT_EQ(sock.RecvBlock(false, block), BlockBadStart);
  Send("\x02");
  EXPECT_EQ(sock.RecvBlock(true, block), BlockBadStart);
  EXPECT_EQ(sock.RecvBlock(true, block), BlockTimeout);
  EXPECT_EQ(block[0], 0);
}

TEST_F(SocketExTest, BlocksArriveWholeAndNothingMoreIsTaken) {
  for (bool large : {false, true}) {
    std::string block(BlockLength(large), 'm');
    block[0] = kSOH;
    Send(block + "\x04");
    uint8_t buffer[kBlockBufferSize];
    ASSERT_EQ(sock.RecvBlock(large, buffer), BlockOk);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), block.size()), block);
    EXPECT_EQ(sock.RecvBlock(large, buffer), BlockEnd);
  }
}

TEST_F(SocketExTest, OpenAgainClosesFirstConnection) {
  sock.Open();
  UniqueFd second = listener.Accept();
  ASSERT_TRUE(second);
  // The first connection was closed: its peer reads end of stream.
  EXPECT_EQ(testing::ReadBytes(peer.get(), 1, 1000), "");
  pollfd p{peer.get(), POLLIN, 0};
  ASSERT_EQ(::poll(&p, 1, 0), 1);
  char c;
  EXPECT_EQ(::read(peer.get(), &c, 1), 0);
  ASSERT_TRUE(sock.PutChar('A'));
  EXPECT_EQ(testing::ReadBytes(second.get(), 1), "A");
}

TEST_F(SocketExTest, PeerClosingIsReportedAndReadsFail) {
  Send("last\r");
  peer.reset();
  for (int i = 0; i < 200 && disconnects == 0; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  EXPECT_EQ(disconnects, 1);
  std::string text;
  ASSERT_TRUE(sock.RecvLine(text));  // what arrived before the close is still there
  EXPECT_EQ(text, "last");
  const auto start = Clock::now();
  EXPECT_FALSE(sock.RecvLine(text));
  EXPECT_LT(testing::Seconds(Clock::now() - start), 0.2);
}

TEST(SocketExConnect, UnreachablePortFailsWithinBounds) {
  TSocketEx sock;
  std::atomic<int> errors{0};
  sock.OnError = [&](int code) {
    EXPECT_NE(code, 0);
    ++errors;
  };
  sock.SetHost("127.0.0.1");
  sock.SetPort(testing::ClosedLocalPort());
  sock.SetCommWait(300);
  sock.Open();
  EXPECT_TRUE(sock.Active());
  const auto start = Clock::now();
  std::string reply;
  EXPECT_FALSE(sock.Command("", reply));
  EXPECT_FALSE(sock.CheckLine());
  uint8_t b;
  EXPECT_FALSE(sock.GetChar(b));
  EXPECT_EQ(sock.InCount(), 0);
  sock.Purge();
  EXPECT_LT(testing::Seconds(Clock::now() - start), 3.0);
  for (int i = 0; i < 100 && errors == 0; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  EXPECT_EQ(errors, 1);
  EXPECT_FALSE(sock.Connected());
}

TEST(SocketExConnect, NoClientMeansImmediateFailure) {
  TSocketEx sock;
  uint8_t b;
  const auto start = Clock::now();
  EXPECT_FALSE(sock.GetChar(b));
  EXPECT_FALSE(sock.PutChar('x'));
  EXPECT_FALSE(sock.CheckLine());
  sock.Purge();
  EXPECT_LT(testing::Seconds(Clock::now() - start), 0.1);
}

TEST(SocketExConnect, ReadWaitingForConnectionIsBounded) {
  // A listener whose accept queue is full drops further handshakes, so the
  // component's connect stays pending.
  TcpListener listener(0);
  std::vector<UniqueFd> fillers;
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = htons(static_cast<uint16_t>(listener.port()));
  for (int i = 0; i < 3; ++i) {
    fillers.emplace_back(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    ::connect(fillers.back().get(), reinterpret_cast<sockaddr*>(&addr), sizeof addr);
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  TSocketEx sock;
  sock.SetHost("127.0.0.1");
  sock.SetPort(listener.port());
  sock.SetCommWait(200);
  sock.Open();
  uint8_t b;
  const auto start = Clock::now();
  EXPECT_FALSE(sock.GetChar(b));
  EXPECT_FALSE(sock.PutChar('x'));
  const double took = testing::Seconds(Clock::now() - start);
  EXPECT_GE(took, 0.19);
  EXPECT_LT(took, 2.0);
  const auto closing = Clock::now();
  sock.Close();  // abandons the pending connect
  EXPECT_LT(testing::Seconds(Clock::now() - closing), 0.5);
}

}  // namespace
}  // namespace tessaro
