#include "ui/shell/ExchangeGuard.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <algorithm>

#include "CollectDialogKit.h"
#include "GuiTestEnvironment.h"
#include "core/support/ExchangeScope.h"
#include "ui/shell/ExchangeTimer.h"

namespace tessaro {
namespace {

// Asks the recorder for its version on a click, on Enter in its field and
// on each of three timer ticks, and counts how many of its asks overlap.
class AskingDialog : public QDialog {
 public:
  explicit AskingDialog(LineContext& line) : line_(line) {
    button = new QPushButton(QStringLiteral("ask"), this);
    field = new QLineEdit(this);
    field->move(0, 40);
    timer = new TExchangeTimer(this);
    timer->setInterval(15);
    connect(button, &QPushButton::clicked, this, &AskingDialog::Ask);
    connect(field, &QLineEdit::returnPressed, this, &AskingDialog::Ask);
    connect(timer, &QTimer::timeout, this, [this] {
      if (++ticks == 3) timer->stop();
      Ask();
    });
  }

  void Ask() {
    maxInFlight = std::max(maxInFlight, ++inFlight);
    std::string reply;
    if (LineCommand(line_, "ver", reply)) ++answered;
    --inFlight;
    ++asked;
  }

  QPushButton* button;
  QLineEdit* field;
  TExchangeTimer* timer;
  int ticks = 0, asked = 0, answered = 0, inFlight = 0, maxInFlight = 0;

 private:
  LineContext& line_;
};

TEST(ExchangeGuardTest, InputAndTimersDuringASlowReplyStartNoSecondExchange) {
  SimLine rig(SimFixture::Profile("default"), true);
  TExchangeGuard guard;
  rig.sim.Faults().Set({.delayMs = 100});
  AskingDialog dialog(rig.line);
  dialog.show();

  // A single-shot timer that falls due during the first reply fires after it.
  TExchangeTimer once;
  once.setSingleShot(true);
  once.setInterval(5);
  int askedWhenFired = -1;
  QObject::connect(&once, &QTimer::timeout, [&] { askedWhenFired = dialog.asked; });
  // The user's click, Enter and close, once the first reply is awaited.
  QTimer user;
  user.setInterval(5);
  bool injected = false;
  QObject::connect(&user, &QTimer::timeout, [&] {
    if (!ExchangeInProgress()) return;
    user.stop();
    injected = true;
    QTest::mouseClick(dialog.button, Qt::LeftButton);
    QTest::keyClick(dialog.field, Qt::Key_Return);
    dialog.close();
  });
  user.start();
  once.start();
  dialog.timer->start();
  QTest::mouseClick(dialog.button, Qt::LeftButton);
  ASSERT_TRUE(WaitUntil([&] { return !dialog.timer->isActive() && dialog.inFlight == 0; }));

  EXPECT_TRUE(injected);
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(dialog.maxInFlight, 1);
  // The first click and the three ticks; the click, key and ticks during
  // a reply were dropped.
  EXPECT_EQ(dialog.asked, 4);
  EXPECT_EQ(dialog.answered, 4);
  EXPECT_EQ(rig.sim.Recorder().Commands().size(), 4u);
  EXPECT_GE(askedWhenFired, 1);
}

}  // namespace
}  // namespace tessaro
