#include "ui/settings/TimeDlg.h"

#include <gtest/gtest.h>

#include <QDateEdit>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimeEdit>

#include "GuiTestEnvironment.h"
#include "SettingsDialogKit.h"
#include "core/settings/RecorderClock.h"
#include "core/support/Messages.h"
#include "ui/shell/ExchangeTimer.h"

namespace tessaro {
namespace {

bool WithinASecondOfPc(const std::string& recorder) {
  return recorder == PcClockText(0) || recorder == PcClockText(1) || recorder == PcClockText(-1);
}

TEST(TimeDlgTest, ShowsBothClocksSetsFromPcAndFromTypedTime) {
  SimAppSession rig;
  std::string reply;
  ASSERT_TRUE(LineCommand(rig.session.Line(), "rtcw991231235958", reply));
  TTimeDLG dialog(rig.session);
  EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("ロガー時刻の設定"));
  dialog.show();
  EXPECT_EQ(dialog.CurrentPage(), TTimeDLG::ViewPage);
  ASSERT_TRUE(
      WaitUntil([&] { return dialog.RecorderClockLabel()->text().startsWith("99/12/31"); }));
  const QRegularExpression shown("^\\d\\d/\\d\\d/\\d\\d \\d\\d:\\d\\d:\\d\\d$");
  EXPECT_TRUE(shown.match(dialog.SystemClockLabel()->text()).hasMatch());

  // "入力" starts the pickers at the recorder's time; their cancel sends nothing.
  dialog.InputButton()->click();
  EXPECT_EQ(dialog.CurrentPage(), TTimeDLG::EditPage);
  EXPECT_FALSE(dialog.Timer()->isActive());
  EXPECT_EQ(dialog.DatePicker()->date(), QDate(1999, 12, 31));
  EXPECT_EQ(dialog.DatePicker()->minimumDate(), QDate(1980, 1, 1));
  EXPECT_EQ(dialog.DatePicker()->maximumDate(), QDate(2033, 12, 31));
  dialog.EditCancelButton()->click();
  EXPECT_EQ(dialog.CurrentPage(), TTimeDLG::ViewPage);
  EXPECT_TRUE(dialog.Timer()->isActive());

  dialog.InputButton()->click();
  dialog.DatePicker()->setDate(QDate(2030, 5, 6));
  dialog.TimePicker()->setTime(QTime(12, 34, 56));
  dialog.OkButton()->click();
  EXPECT_EQ(dialog.CurrentPage(), TTimeDLG::ViewPage);
  EXPECT_EQ(rig.Sent("rtcw").back(), "rtcw300506123456");
  ASSERT_TRUE(
      WaitUntil([&] { return dialog.RecorderClockLabel()->text().startsWith("30/05/06"); }));

  dialog.ChangeButton()->click();
  EXPECT_TRUE(WithinASecondOfPc(rig.sim.Recorder().ClockText())) << rig.sim.Recorder().ClockText();
  EXPECT_EQ(rig.boxes.Count(), 0u);
  EXPECT_TRUE(dialog.isVisible());
}

TEST(TimeDlgTest, RefusedSetStaysOpenSilentRecorderCloses) {
  SimAppSession rig;
  TTimeDLG dialog(rig.session);
  dialog.show();
  sim::FaultSettings faults;
  faults.refused = {"rtcw"};
  rig.sim.Faults().Set(faults);
  dialog.ChangeButton()->click();
  EXPECT_EQ(rig.boxes.Texts(), (std::vector<std::string>{LoadMessage(MsgClockSetFailed)}));
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_TRUE(dialog.Timer()->isActive());

  faults.silentAfter = 0;
  rig.sim.Faults().Set(faults);
  ASSERT_TRUE(WaitUntil([&] { return !dialog.isVisible(); }));
  EXPECT_EQ(rig.boxes.Texts().back(), LoadMessage(MsgNoEchoBack));
  EXPECT_FALSE(dialog.Timer()->isActive());
}

}  // namespace
}  // namespace tessaro
