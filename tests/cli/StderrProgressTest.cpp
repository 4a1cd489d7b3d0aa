#include "cli/StderrProgress.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <sstream>

namespace tessaro {
namespace {

TEST(StderrProgressTest, LogStyleWithoutTerminal) {
  std::ostringstream out;
  StderrProgress progress(out, false);
  progress.SetCaption("変換");
  progress.SetMessage("テキスト保存準備中...");
  progress.SetPercent(10);
  progress.SetMessage("テキスト保存準備中...");  // unchanged: not repeated
  progress.SetMessage("テキスト保存中...");
  progress.SetPercent(100);
  progress.FlashError("中止ボタンが押されました。");
  progress.Finish();
  EXPECT_EQ(out.str(),
            "変換: テキスト保存準備中...\n変換: テキスト保存中...\n中止ボタンが押されました。\n");
}

TEST(StderrProgressTest, BarRedrawnInPlaceOnTerminal) {
  std::ostringstream out;
  {
    StderrProgress progress(out, true);
    progress.SetMessage("saving");
    progress.SetPercent(50);
    progress.SetPercent(50);
    progress.SetPercent(140);
    progress.FlashError("failed");
  }
  EXPECT_EQ(out.str(),
            "\rsaving [..............................]   0%\x1b[K"
            "\rsaving [###############...............]  50%\x1b[K"
            "\rsaving [##############################] 100%\x1b[K"
            "\nfailed\n");
}

TEST(StderrProgressTest, CancelByRequestAndByInterrupt) {
  std::ostringstream out;
  StderrProgress progress(out, false);
  EXPECT_FALSE(progress.CancelRequested());
  progress.RequestCancel();
  EXPECT_TRUE(progress.CancelRequested());
  // Signals are process-wide: try each in a child.
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    const auto interrupt = [signal] {
      std::ostringstream sink;
      StderrProgress other(sink, false);
      StderrProgress::CancelOnInterrupt();
      ::raise(signal);
      ::_exit(other.CancelRequested() ? 0 : 1);
    };
    EXPECT_EXIT(interrupt(), ::testing::ExitedWithCode(0), "") << signal;
  }
}

}  // namespace
}  // namespace tessaro
