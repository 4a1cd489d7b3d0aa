// A peer that sends a reply one byte at a time, each gap well within
// CommWait: a reply line or block that never ends still fails within its
// whole bound, not after a thousand CommWaits, and a slow reply that does
// end still arrives.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "core/line/CommEx.h"
#include "core/line/LineFacade.h"
#include "core/line/SocketEx.h"
#include "support/LinePeers.h"

namespace tessaro {
namespace {

constexpr int kCommWaitMs = 100;
constexpr auto kGap = std::chrono::milliseconds(30);
constexpr auto kDripFor = std::chrono::milliseconds(1500);  // then silence

enum class Kind { Serial, Tcp };

// A line component connected to a peer descriptor the test writes to.
struct Line {
  explicit Line(Kind kind) {
    if (kind == Kind::Serial) {
      auto comm = std::make_unique<TCommEx>();
      comm->SetDevice(pty.path());
      comm->SetTiming({.closeSettleMs = 0});
      comm->SetBaudRate(115200);
      comm->Open();
      peer = pty.master();
      component = std::move(comm);
    } else {
      auto sock = std::make_unique<TSocketEx>();
      sock->SetHost("127.0.0.1");
      sock->SetPort(listener.port());
      sock->Open();
      accepted = listener.Accept();
      peer = accepted.get();
      component = std::move(sock);
    }
    component->SetCommWait(kCommWaitMs);
  }
  testing::PtyPair pty;
  testing::TcpListener listener;
  UniqueFd accepted;
  int peer = -1;
  std::unique_ptr<TLineComponent> component;
};

// Writes text one byte per gap, then (endless) 'x' per gap until stopped or
// kDripFor has passed.
class Dripper {
 public:
  Dripper(int fd, std::string text, bool endless) {
    thread_ = std::thread([this, fd, text = std::move(text), endless] {
      const auto end = std::chrono::steady_clock::now() + kDripFor;
      for (size_t i = 0; !stop_ && (i < text.size() || endless); ++i) {
        if (std::chrono::steady_clock::now() > end) return;
        const char byte = i < text.size() ? text[i] : 'x';
        if (!testing::WriteAll(fd, std::string_view(&byte, 1))) return;
        std::this_thread::sleep_for(kGap);
      }
    });
  }
  ~Dripper() {
    stop_ = true;
    thread_.join();
  }

 private:
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

TEST(DripFeed, WholeReplyIsBoundedEachByteStillHasCommWait) {
  const struct {
    bool block;
    const char* text;
    bool endless;  // 'x' after the text until the dripper stops
    bool arrives;
  } cases[] = {
      {false, "OKAY\r", false, true},  // longer than CommWait in all
      {false, "", true, false},
      {true, "\x01", true, false},
  };
  for (Kind kind : {Kind::Serial, Kind::Tcp}) {
    for (const auto& c : cases) {
      Line line(kind);
      ASSERT_GE(line.peer, 0);
      Dripper drip(line.peer, c.text, c.endless);
      std::string text;
      uint8_t buffer[1028];
      bool arrived = false;
      const auto cost = testing::Measure([&] {
        arrived = c.block ? line.component->RecvBlock(true, buffer) == BlockOk
                          : line.component->RecvLine(text);
      });
      const std::string what = std::string(kind == Kind::Serial ? "serial " : "tcp ") + c.text;
      EXPECT_EQ(arrived, c.arrives) << what;
      EXPECT_LT(cost.wall, 0.9) << what;
      EXPECT_LT(cost.cpu, 0.5 * cost.wall) << what;  // waits in poll
    }
  }
}

}  // namespace
}  // namespace tessaro
