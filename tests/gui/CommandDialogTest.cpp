#include "ui/CommandDialog.h"

#include <gtest/gtest.h>

#include <QTimer>
#include <new>
#include <stdexcept>

#include "GuiTestEnvironment.h"
#include "core/support/Messages.h"
#include "support/RecordingMessageBox.h"
#include "ui/shell/AppSession.h"

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
  AppSession session_{AppPaths{}};  // no line open, no definitions
  std::atomic<int>& idle_ = session_.IdleFlag();
  Trace trace_;

  int Run(bool prepareOk, bool accept, std::function<void(TCommandDialog&)> onAccepted = {},
          FeatureNeeds needs = {}) {
    return RunDialogCommand(
        session_, nullptr,
        [&](AppSession&, QWidget*) {
          return std::make_unique<ProbeDialog>(trace_, idle_, prepareOk, accept);
        },
        needs, onAccepted);
  }
  static DialogFactory Throwing(auto error) {
    return [error](AppSession&, QWidget*) -> std::unique_ptr<TCommandDialog> { throw error; };
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
  RunDialogCommand(session_, nullptr, Throwing(std::bad_alloc()));
  RunDialogCommand(session_, nullptr, Throwing(std::runtime_error("broken")));
  RunDialogCommand(session_, nullptr,
                   [](AppSession&, QWidget*) { return std::unique_ptr<TCommandDialog>(); });
  EXPECT_EQ(boxes_.Texts(),
            (std::vector<std::string>{LoadMessage(MsgOutOfMemory), LoadMessage(MsgFormInitFailed),
                                      LoadMessage(MsgFormInitFailed)}));
  EXPECT_EQ(idle_.load(), 1);
}

// A need that is not met stops the command before the dialog is created,
// with its own message only; the closed line fails its check at once.
TEST_F(CommandDialogTest, UnmetNeedsStopTheCommandBeforeTheDialog) {
  struct Case {
    FeatureNeeds needs;
    int message;  // 0: the dialog runs
  };
  const Case cases[] = {
      {{}, 0},
      {{.lineCheck = true}, MsgLineCheckFailed},
      {{.definitions = true}, MsgDefinitionDbMissing},
      {{.lineCheck = true, .definitions = true}, MsgDefinitionDbMissing},
  };
  for (const Case& c : cases) {
    boxes_.Clear();
    trace_ = {};
    const int result = Run(true, true, {}, c.needs);
    SCOPED_TRACE(c.message);
    EXPECT_EQ(trace_.prepared, c.message == 0);
    EXPECT_EQ(result, c.message == 0 ? QDialog::Accepted : QDialog::Rejected);
    EXPECT_EQ(boxes_.Texts(), c.message == 0 ? std::vector<std::string>{}
                                             : std::vector<std::string>{LoadMessage(c.message)});
    EXPECT_EQ(idle_.load(), 1);
  }
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
