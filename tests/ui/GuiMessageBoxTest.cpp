#include "ui/shell/GuiMessageBox.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QMessageBox>
#include <QThread>
#include <memory>

#include "GuiTestEnvironment.h"
#include "core/support/Messages.h"

namespace tessaro {
namespace {

struct SeenBox {
  QString title;
  QString text;
  bool onUiThread = false;
};

// Presses a button of the next message box and records what it showed.
void PressWhenShown(QMessageBox::StandardButton button, SeenBox& seen) {
  WhenModalAppears([button, &seen](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    seen = {box->windowTitle(), box->text(), QThread::currentThread() == box->thread()};
    box->button(button)->click();
  });
}

TEST(GuiMessageBox, ShowsModalBoxWithTheProgramTitle) {
  TGuiMessageBox boxes;
  SeenBox seen;
  PressWhenShown(QMessageBox::Cancel, seen);
  EXPECT_EQ(boxes.AskWarning("line 1\nline 2"), BoxResult::Cancel);
  EXPECT_EQ(seen.title, QString::fromStdString(LoadMessage(MsgProgramName)));
  EXPECT_EQ(seen.text, "line 1\nline 2");
  PressWhenShown(QMessageBox::Ok, seen);
  EXPECT_EQ(boxes.ShowError(""), BoxResult::Ok);
  EXPECT_TRUE(seen.text.isEmpty());
}

TEST(GuiMessageBox, AWorkerThreadsQuestionIsAskedOnTheUiThread) {
  TGuiMessageBox boxes;
  SeenBox seen;
  PressWhenShown(QMessageBox::No, seen);
  std::atomic<int> answer{-1};
  std::unique_ptr<QThread> worker(
      QThread::create([&] { answer = static_cast<int>(boxes.AskYesNo("continue?")); }));
  worker->start();
  ASSERT_TRUE(WaitUntil([&] { return worker->isFinished(); }));
  worker->wait();
  EXPECT_EQ(answer.load(), static_cast<int>(BoxResult::No));
  EXPECT_TRUE(seen.onUiThread);
  EXPECT_EQ(seen.text, "continue?");
}

}  // namespace
}  // namespace tessaro
