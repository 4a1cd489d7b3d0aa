#include "ui/CommandDialog.h"

#include <gtest/gtest.h>

#include <QTimer>
#include <new>
#include <stdexcept>

#include "GuiTestEnvironment.h"
#include "core/support/Messages.h"
#include "support/RecordingMessageBox.h"

namespace tessaro {
namespace {

struct Trace {
  int idleDuringPrepare = -1;
  int idleWhileShown = -1;
  bool prepared = false;
  bool applied = false;
  bool destroyed = false;
};

class ProbeDialog : public TCommandDialog {
 public:
  ProbeDialog(Trace& trace, std::atomic<int>& idle, bool prepareOk, bool accept)
      : trace_(trace), idle_(idle), prepareOk_(prepareOk), accept_(accept) {}
  ~ProbeDialog() override { trace_.destroyed = true; }

  bool Prepare() override {
    trace_.prepared = true;
    trace_.idleDuringPrepare = idle_.load();
    QTimer::singleShot(0, this, [this] {
      trace_.idleWhileShown = idle_.load();
      accept_ ? accept() : reject();
    });
    return prepareOk_;
  }
  void Apply() override { trace_.applied = true; }

 private:
  Trace& trace_;
  std::atomic<int>& idle_;
  bool prepareOk_;
  bool accept_;
};

class CommandDialogTest : public testing::Test {
 protected:
  RecordingMessageBox boxes_;
  ScopedMessageBoxHandler install_{boxes_};
  std::atomic<int> idle_{1};
  Trace trace_;

  int Run(bool prepareOk, bool accept, std::function<void(TCommandDialog&)> onAccepted = {}) {
    return RunDialogCommand(
        idle_, [&] { return std::make_unique<ProbeDialog>(trace_, idle_, prepareOk, accept); },
        onAccepted);
  }
};

TEST_F(CommandDialogTest, AcceptedDialogIsPreparedShownAppliedAndDestroyed) {
  bool accepted = false;
  EXPECT_EQ(Run(true, true, [&](TCommandDialog&) { accepted = true; }), QDialog::Accepted);
  EXPECT_EQ(trace_.idleDuringPrepare, 0);
  EXPECT_EQ(trace_.idleWhileShown, 0);
  EXPECT_TRUE(trace_.applied);
  EXPECT_TRUE(accepted);
  EXPECT_TRUE(trace_.destroyed);
  EXPECT_EQ(idle_.load(), 1);
  EXPECT_EQ(boxes_.Count(), 0u);
}

TEST_F(CommandDialogTest, CancelledDialogIsNotApplied) {
  bool accepted = false;
  EXPECT_EQ(Run(true, false, [&](TCommandDialog&) { accepted = true; }), QDialog::Rejected);
  EXPECT_FALSE(trace_.applied);
  EXPECT_FALSE(accepted);
  EXPECT_TRUE(trace_.destroyed);
  EXPECT_EQ(idle_.load(), 1);
}

TEST_F(CommandDialogTest, FailedPreparationReportsFormInitAndNeverShows) {
  EXPECT_EQ(Run(false, true), QDialog::Rejected);
  EXPECT_EQ(trace_.idleWhileShown, -1);
  EXPECT_FALSE(trace_.applied);
  EXPECT_TRUE(trace_.destroyed);
  EXPECT_EQ(
      boxes_.Boxes(),
      (std::vector<RecordedBox>{{BoxKind::Error, LoadMessage(MsgFormInitFailed), BoxResult::Ok}}));
  EXPECT_EQ(idle_.load(), 1);
}

TEST_F(CommandDialogTest, CreationFailuresGetTheirMessages) {
  RunDialogCommand(idle_, []() -> std::unique_ptr<TCommandDialog> { throw std::bad_alloc(); });
  RunDialogCommand(idle_,
                   []() -> std::unique_ptr<TCommandDialog> { throw std::runtime_error("broken"); });
  RunDialogCommand(idle_, [] { return std::unique_ptr<TCommandDialog>(); });
  EXPECT_EQ(boxes_.Texts(),
            (std::vector<std::string>{LoadMessage(MsgOutOfMemory), LoadMessage(MsgFormInitFailed),
                                      LoadMessage(MsgFormInitFailed)}));
  EXPECT_EQ(idle_.load(), 1);
}

TEST_F(CommandDialogTest, IdleScopesNest) {
  {
    IdleScope outer(idle_);
    {
      IdleScope inner(idle_);
      EXPECT_EQ(idle_.load(), 0);
    }
    EXPECT_EQ(idle_.load(), 0);
  }
  EXPECT_EQ(idle_.load(), 1);
}

}  // namespace
}  // namespace tessaro
