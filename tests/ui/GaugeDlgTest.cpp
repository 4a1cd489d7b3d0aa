#include "ui/shell/GaugeDlg.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <memory>

#include "GuiTestEnvironment.h"

namespace tessaro {
namespace {

TEST(GaugeDlg, CancelSetsTheFlagAndShowingAgainClearsIt) {
  TGaugeDLG gauge;
  gauge.show();
  gauge.SetPercent(40);
  EXPECT_FALSE(gauge.CancelRequested());
  gauge.CancelButton()->click();
  EXPECT_TRUE(gauge.CancelRequested());
  EXPECT_TRUE(gauge.isVisible());  // only the operation hides it
  gauge.close();                   // counts as cancel, stays open
  EXPECT_TRUE(gauge.isVisible());
  gauge.hide();
  EXPECT_TRUE(gauge.CancelRequested());
  gauge.show();
  EXPECT_FALSE(gauge.CancelRequested());
  EXPECT_EQ(gauge.Percent(), 0);
  EXPECT_TRUE(gauge.CancelButton()->isDefault());
}

TEST(GaugeDlg, ProgressIsClampedToAPercentage) {
  TGaugeDLG gauge;
  gauge.SetPercent(100);
  EXPECT_EQ(gauge.Percent(), 100);
  gauge.SetPercent(250);
  EXPECT_EQ(gauge.Percent(), 100);
  gauge.SetPercent(-3);
  EXPECT_EQ(gauge.Percent(), 0);
}

TEST(GaugeDlg, FlashErrorBlocksThenClearsTheLine) {
  TGaugeDLG gauge;
  gauge.SetFlashMilliseconds(200);
  gauge.SetMessage("step");
  QElapsedTimer timer;
  timer.start();
  gauge.FlashError("failed");
  EXPECT_GE(timer.elapsed(), 190);
  EXPECT_LT(timer.elapsed(), 3000);
  EXPECT_TRUE(gauge.MessageText().isEmpty());
  EXPECT_FALSE(gauge.MessageIsError());
  EXPECT_EQ(gauge.FlashMilliseconds(), 200);
}

TEST(GaugeDlg, AWorkerThreadDrivesTheDialogAndSeesTheCancel) {
  TGaugeDLG gauge;
  gauge.SetFlashMilliseconds(50);
  gauge.show();
  std::atomic<bool> sawCancel{false};
  std::atomic<int> steps{0};
  std::unique_ptr<QThread> worker(QThread::create([&] {
    ProgressReporter& progress = gauge;
    progress.SetCaption("collect");
    for (int i = 0; i <= 100 && !progress.CancelRequested(); i += 10) {
      progress.SetMessage("block " + std::to_string(i));
      progress.SetPercent(i);
      ++steps;
      if (i == 50) progress.FlashError("checksum");
      QThread::msleep(5);
    }
    // Wait for the user's cancel, polling like a block transfer does.
    for (int i = 0; i < 400 && !progress.CancelRequested(); ++i) QThread::msleep(5);
    sawCancel = progress.CancelRequested();
  }));
  worker->start();
  ASSERT_TRUE(WaitUntil([&] { return steps.load() == 11; }));
  EXPECT_EQ(gauge.windowTitle(), "collect");
  EXPECT_EQ(gauge.Percent(), 100);
  EXPECT_EQ(gauge.MessageText(), "block 100");
  gauge.CancelButton()->click();
  ASSERT_TRUE(WaitUntil([&] { return worker->isFinished(); }));
  worker->wait();
  EXPECT_TRUE(sawCancel);
}

}  // namespace
}  // namespace tessaro
