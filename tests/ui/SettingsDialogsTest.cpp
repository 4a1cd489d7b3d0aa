// The measurement mode and interval dialogs against the simulator: read,
// edit in place, copy and paste, the channel count, "unused" lists, and the
// writes on OK.

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QSpinBox>
#include <QTableWidget>

#include "CollectDialogKit.h"
#include "core/support/Messages.h"
#include "ui/settings/ItvlDlg.h"
#include "ui/settings/SampDlg.h"
#include "ui/shell/AppSession.h"
#include "ui/shell/QtText.h"

namespace tessaro {
namespace {

using Strings = std::vector<std::string>;

// A session whose line is open to a simulated recorder.
class SettingsDialogTest : public testing::Test {
 protected:
  void Connect(const sim::RecorderProfile& profile, const sim::FaultSettings& faults = {}) {
    sim_ = std::make_unique<SimFixture>(profile);
    LineSettings settings;
    settings.ComPort = "TCP/IP";
    settings.IpAddr = "127.0.0.1";
    settings.IpPort = sim_->StartTcp();
    sim_->Faults().Set(faults);
    ApplyLineSettings(session_.Line(), settings);
    LineOpen(session_.Line());
    session_.Definitions().Open(DatabasePath());
    session_.AttachGauge(&gauge_);
    gauge_.SetFlashMilliseconds(10);
  }
  ~SettingsDialogTest() override { LineClose(session_.Line()); }

  Strings SentFrom(size_t n) {
    const Strings all = sim_->Recorder().Commands();
    return Strings(all.begin() + static_cast<long>(n), all.end());
  }
  size_t SentCount() { return sim_->Recorder().Commands().size(); }

  AppSession session_{AppPaths{}};
  TGaugeDLG gauge_;
  std::unique_ptr<SimFixture> sim_;
  RecordingMessageBox boxes_;
  ScopedMessageBoxHandler install_{boxes_};
};

TEST_F(SettingsDialogTest, ModeGridEditsCopiesPastesAndWritesOnOk) {
  Connect(sim::DefaultProfile());
  TSampDLG dialog(session_);
  ASSERT_TRUE(dialog.Prepare());
  dialog.show();
  QTableWidget* grid = dialog.Grid();
  EXPECT_EQ(grid->rowCount(), 4);
  EXPECT_EQ(grid->verticalHeaderItem(3)->text(), "00004");
  EXPECT_EQ(dialog.ChannelSpin()->maximum(), 8);
  EXPECT_FALSE(gauge_.isVisible());

  // In place: channel 2 (mode 2) becomes 120.
  grid->setCurrentCell(1, 0);
  dialog.EditClick();
  QComboBox* editor = dialog.Editor();
  ASSERT_TRUE(editor->isVisible());
  EXPECT_EQ(editor->count(), 5);
  EXPECT_EQ(editor->currentIndex(), 1);
  editor->setCurrentIndex(3);
  emit editor->activated(3);
  EXPECT_FALSE(editor->isVisible());
  EXPECT_EQ(grid->item(1, 0)->text(), ToQt(dialog.Modes().ListText(120)));

  // Copy channel 2, paste into channel 3; a code the channel lacks is refused.
  dialog.CopyClick();
  EXPECT_EQ(QApplication::clipboard()->text(), "120");
  grid->setCurrentCell(2, 0);
  dialog.PasteClick();
  EXPECT_EQ(dialog.Modes().channels[2].mode, 120);
  QApplication::clipboard()->setText("999");
  dialog.PasteClick();
  EXPECT_EQ(boxes_.Texts(), Strings{LoadMessage(MsgClipboardNoSettableMode)});
  EXPECT_EQ(dialog.Modes().channels[2].mode, 120);

  dialog.ChannelSpin()->setValue(2);
  EXPECT_EQ(grid->rowCount(), 2);
  const size_t before = SentCount();
  dialog.Apply();
  EXPECT_EQ(SentFrom(before), (Strings{"eepw202,2", "eepw2000,1", "eepw2001,120"}));
}

TEST_F(SettingsDialogTest, ModeReadFailureFlashesAndRefusesThePreparation) {
  Connect(sim::DefaultProfile(), {.refused = {"romr109"}});
  TSampDLG dialog(session_);
  EXPECT_FALSE(dialog.Prepare());
  EXPECT_FALSE(gauge_.isVisible());
}

TEST_F(SettingsDialogTest, IntervalListsShowUnusedAndWriteOnlyWhatHasAList) {
  Connect(SimFixture::Profile("old"));
  TItvlDLG dialog(session_);
  ASSERT_TRUE(dialog.Prepare());
  EXPECT_EQ(dialog.List(0)->currentText(), ToQt(session_.Definitions().IntervalText(1010)));
  for (int i : {1, 2}) {
    ASSERT_EQ(dialog.List(i)->count(), 1);
    EXPECT_EQ(dialog.List(i)->currentText(), Msg(MsgItvlUnused));
  }
  emit dialog.List(0)->activated(0);
  emit dialog.List(1)->activated(0);  // "unused": nothing to choose
  EXPECT_EQ(dialog.Timing().interval.code, 1001);
  EXPECT_EQ(dialog.Timing().preTimer.code, 0);
  const size_t before = SentCount();
  dialog.Apply();
  EXPECT_EQ(SentFrom(before), Strings{"eepw260,1001"});
}

TEST_F(SettingsDialogTest, IntervalReadFailureShowsItsMessage) {
  Connect(sim::DefaultProfile(), {.refused = {"askivl"}});
  TItvlDLG dialog(session_);
  EXPECT_FALSE(dialog.Prepare());
  EXPECT_EQ(boxes_.Texts(), Strings{LoadMessage(MsgIntervalListReadFailed)});
}

}  // namespace
}  // namespace tessaro
