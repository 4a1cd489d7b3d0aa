#include "core/term/TerminalSession.h"

#include <gtest/gtest.h>
#include <poll.h>

#include <chrono>
#include <filesystem>

#include "core/support/Messages.h"
#include "core/term/CommandHistory.h"
#include "core/term/TermLog.h"
#include "core/term/TermScreen.h"
#include "support/SimLine.h"
#include "support/TempDir.h"

namespace tessaro {
namespace {

using Lines = std::vector<std::string>;
constexpr int kSlaveId = 7;

struct RecordingScreen : TermScreen {
  void AppendLine(const std::string& cp932) override { lines.push_back(cp932); }
  void ShowCommand(const std::string& utf8) override { shownCommand = utf8; }
  void LogFailed(int message) override { logFailures.push_back(message); }

  Lines lines;
  std::string shownCommand;
  std::vector<int> logFailures;
};

class TerminalSessionTest : public ::testing::Test {
 protected:
  TerminalSessionTest() : sim("default", {kSlaveId}) {
    OpenSimLine(sim, line);
    LineSetSlave(line, true, kSlaveId);
  }
  ~TerminalSessionTest() override { LineClose(line); }

  // Receives until the screen holds count lines (or two seconds passed).
  bool ReceiveLines(size_t count) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (screen.lines.size() < count && std::chrono::steady_clock::now() < until) {
      if (terminal.Receive() == 0) ::poll(nullptr, 0, 5);
    }
    return screen.lines.size() >= count;
  }
  Lines Taken(const std::string& prefix) { return CommandsTaken(sim.Recorder(kSlaveId), prefix); }

  SimFixture sim;
  LineContext line;
  TempDir dir;
  CommandHistory history;
  TermLog log;
  RecordingScreen screen;
  TerminalSession terminal{line, history, log, screen};
};

const std::string kSlaveReply = ". 0007FFFF";  // STX shown as "."

TEST_F(TerminalSessionTest, TypedLineGoesOutWithOneHeaderAndIsLogged) {
  ASSERT_EQ(log.Start(dir.Join("term.LOG")), 0);
  for (const char c : std::string("ver")) terminal.TypeCharacter(std::string(1, c));
  terminal.TypeCharacter("\x1b");  // not sent
  terminal.TypeEnter();
  ASSERT_TRUE(ReceiveLines(1));
  EXPECT_EQ(Taken("ver"), Lines{"ver"});
  EXPECT_EQ(screen.lines, Lines{kSlaveReply + "CVX-4A Ver1.20"});
  EXPECT_EQ(history.Entries(), Lines{"ver"});
  EXPECT_EQ(screen.shownCommand, "ver");
  EXPECT_EQ(TempDir::ReadAll(log.Path()), "ver\r\n" + screen.lines[0] + "\r\n");

  // "送信" ends a typed line first; an empty Enter still sends the header.
  terminal.TypeCharacter("x");
  ASSERT_TRUE(terminal.SendCommand("rtcr"));
  terminal.TypeEnter();
  ASSERT_TRUE(ReceiveLines(5));
  EXPECT_EQ(Taken("rtcr"), Lines{"rtcr"});
  EXPECT_EQ(Taken("x"), Lines{"x"});
  EXPECT_EQ(history.Entries(), (Lines{"x", "ver"}));
  EXPECT_TRUE(screen.logFailures.empty());
}

TEST_F(TerminalSessionTest, TypedLineEndsItselfAt255Bytes) {
  const std::string typed(255, 'a');
  for (const char c : typed) terminal.TypeCharacter(std::string(1, c));
  EXPECT_TRUE(terminal.TypedLine().empty());
  EXPECT_EQ(history.Entries(), Lines{typed});
  ASSERT_TRUE(ReceiveLines(2));
  EXPECT_EQ(screen.lines, (Lines{"", kSlaveReply + "??CMD"}));
}

TEST_F(TerminalSessionTest, PasteSendsEachLineOnceWithItsReply) {
  EXPECT_EQ(terminal.Paste("ver\r\nrtcr\n"), TerminalSession::PasteResult::Sent);
  EXPECT_EQ(Taken("ver"), Lines{"ver"});
  EXPECT_EQ(Taken("rtcr"), Lines{"rtcr"});
  ASSERT_EQ(screen.lines.size(), 6u);
  EXPECT_EQ(screen.lines[0], "ver");
  EXPECT_EQ(screen.lines[1], "CVX-4A Ver1.20");
  EXPECT_EQ(screen.lines[4], "");
  EXPECT_EQ(screen.lines[5], "??CMD");
  EXPECT_EQ(history.Entries(), (Lines{"rtcr", "ver"}));  // the empty piece is not kept

  // The longest piece still fits a slaved command line (header, text, CR).
  const std::string limit = "ver" + std::string(1010, ' ') + "\r\nabcdefghi";
  ASSERT_EQ(limit.size(), 1024u);
  EXPECT_EQ(terminal.Paste(limit), TerminalSession::PasteResult::Sent);
  const size_t before = sim.Recorder(kSlaveId).Commands().size();
  EXPECT_EQ(terminal.Paste(limit + "c"), TerminalSession::PasteResult::TooLong);
  EXPECT_EQ(terminal.Paste(""), TerminalSession::PasteResult::NotText);
  EXPECT_EQ(sim.Recorder(kSlaveId).Commands().size(), before);

  sim::FaultSettings faults;
  faults.silentAfter = 0;
  sim.Faults().Set(faults);
  EXPECT_EQ(terminal.Paste("rtcr\r\nver"), TerminalSession::PasteResult::ExchangeFailed);
  EXPECT_EQ(screen.lines.back(), "rtcr");  // "ver" never went out
}

TEST_F(TerminalSessionTest, FailingLogIsReportedOnceAndStops) {
  EXPECT_EQ(log.Start(dir.Join("no/such/folder/term.LOG")), MsgTermLogOpenFailed);
  EXPECT_FALSE(log.On());
  // A file that goes away while logging: reported once, then logging stops.
  const std::string folder = dir.Join("gone");
  ASSERT_EQ(log.Start(dir.WriteFile("gone/term.LOG", "")), 0);
  std::filesystem::remove_all(folder);
  terminal.TypeCharacter("v");
  terminal.TypeCharacter("e");
  terminal.TypeEnter();
  EXPECT_EQ(screen.logFailures, std::vector<int>{MsgTermLogOpenFailed});
  EXPECT_FALSE(log.On());
  ASSERT_TRUE(ReceiveLines(1));
  EXPECT_EQ(Taken("ve"), Lines{"ve"});
}

}  // namespace
}  // namespace tessaro
