// The coefficient view and its editor against the simulator: tabs and
// grids, the extended-mode layout, edit, copy and paste with the writes
// they send, refusals, and the print hook.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTableView>
#include <QTimer>

#include "CollectDialogKit.h"
#include "core/coef/TupleTab.h"
#include "core/collect/RecorderTuple.h"
#include "core/support/Messages.h"
#include "support/SimLine.h"
#include "ui/coef/CoefDlg.h"
#include "ui/coef/CoefEditDlg.h"
#include "ui/shell/AppSession.h"
#include "ui/shell/GaugeDlg.h"
#include "ui/shell/QtText.h"

namespace tessaro {
namespace {

using Strings = std::vector<std::string>;

class CoefDlgTest : public testing::Test {
 protected:
  void SetUp() override {
    LineSettings settings;
    settings.ComPort = "TCP/IP";
    settings.IpAddr = "127.0.0.1";
    settings.IpPort = sim_.StartTcp();
    ApplyLineSettings(session_.Line(), settings);
    LineOpen(session_.Line());
    session_.Definitions().Open(DatabasePath());
    session_.AttachGauge(&gauge_);
    gauge_.SetFlashMilliseconds(10);
  }
  void TearDown() override { LineClose(session_.Line()); }

  // Selects the row of tuple number on tab.
  void Select(TCoefDLG& dialog, int tab, int number) {
    dialog.TabCtrl()->setCurrentIndex(tab);
    const auto& rows = dialog.Tables().tables[static_cast<size_t>(tab)].rows;
    for (size_t k = 1; k < rows.size(); ++k)
      if (TupleRowNumber(rows[k]) == number)
        dialog.Grid()->setCurrentIndex(dialog.Grid()->model()->index(static_cast<int>(k) - 1, 3));
  }
  QString Shown(TCoefDLG& dialog, int number) {
    Select(dialog, 1, number);
    return dialog.Grid()->currentIndex().data().toString();
  }
  // Answers the editor the next EditClick opens.
  static void AnswerEditor(const QString& typed) {
    QTimer::singleShot(0, [typed] {
      auto* editor = qobject_cast<TCoefEditDLG*>(QApplication::activeModalWidget());
      ASSERT_NE(editor, nullptr);
      editor->MaskEdit1()->setText(typed);
      editor->accept();
    });
  }
  Strings Writes() { return CommandsTaken(sim_.Recorder(), "eepw"); }

  SimFixture sim_;
  AppSession session_{AppPaths{}};
  TGaugeDLG gauge_;
  RecordingMessageBox boxes_;
  ScopedMessageBoxHandler install_{boxes_};
};

TEST_F(CoefDlgTest, ShowsEveryTabAndLaysTheButtonsOutByMode) {
  TCoefDLG dialog(session_);
  ASSERT_TRUE(dialog.Prepare());
  dialog.show();
  EXPECT_EQ(dialog.TabCtrl()->count(), 7);
  EXPECT_EQ(dialog.TabCtrl()->tabText(6), "FILE4");
  EXPECT_EQ(dialog.Grid()->model()->headerData(3, Qt::Horizontal).toString(), "設定値");
  EXPECT_EQ(Shown(dialog, 402), "+65535");
  EXPECT_EQ(Shown(dialog, 409), "00A5h");
  EXPECT_EQ(dialog.PopupMenu(), nullptr);  // not in extended mode

  EXPECT_FALSE(dialog.EditButton()->isVisible());
  const int c = dialog.ButtonPanel()->width() / 2;
  const int w = dialog.PrintButton()->width();
  EXPECT_EQ(dialog.PrintButton()->x(), c - 7 * w / 4);
  dialog.ToggleExtendedMode();
  EXPECT_TRUE(session_.ExtendedMode());
  EXPECT_TRUE(dialog.EditButton()->isVisible());
  EXPECT_EQ(dialog.PrintButton()->x(), c - w / 2);
  EXPECT_EQ(dialog.CancelButton()->x(), c + 3 * w / 4);

  EXPECT_FALSE(dialog.PrintButton()->isEnabled());
  const CoefficientTables* printed = nullptr;
  dialog.SetPrintHandler([&](const CoefficientTables& tables, QWidget*) { printed = &tables; });
  ASSERT_TRUE(dialog.PrintButton()->isEnabled());
  dialog.PrintButton()->click();
  EXPECT_EQ(printed, &dialog.Tables());
}

TEST_F(CoefDlgTest, EditCopyAndPasteWriteOneRowEach) {
  session_.SetExtendedMode(true);
  TCoefDLG dialog(session_);
  ASSERT_TRUE(dialog.Prepare());
  dialog.show();
  ASSERT_NE(dialog.PopupMenu(), nullptr);

  Select(dialog, 1, 401);
  AnswerEditor("4321");
  dialog.EditClick();
  EXPECT_EQ(Writes(), Strings{"eepw401,+04321"});
  EXPECT_EQ(Shown(dialog, 401), "+04321");

  Select(dialog, 1, 408);
  dialog.CopyClick();
  EXPECT_EQ(QApplication::clipboard()->text(), "P;ビット8型;81h");
  dialog.PasteClick();
  EXPECT_EQ(Writes().back(), "eepw408,129");

  QApplication::clipboard()->setText("P;整数型;+00001");
  dialog.PasteClick();  // another type
  Select(dialog, 0, 100);
  dialog.EditClick();  // the ROM
  dialog.PasteClick();
  EXPECT_EQ(boxes_.Texts(),
            (Strings{LoadMessage(MsgClipboardNotPastable), LoadMessage(MsgRomNotWritable),
                     LoadMessage(MsgRomNotWritable)}));
  EXPECT_EQ(Writes().size(), 2u);

  sim_.Faults().Set({.refused = {"eepw"}});
  Select(dialog, 1, 401);
  AnswerEditor("7");
  dialog.EditClick();
  EXPECT_EQ(boxes_.Texts().back(), LoadMessage(MsgCoefWriteFailed));
  EXPECT_EQ(Shown(dialog, 401), "+04321");
}

TEST_F(CoefDlgTest, AFailedReadIsNotShown) {
  sim_.Faults().Set({.refused = {"romr108"}});
  TCoefDLG dialog(session_);
  EXPECT_FALSE(dialog.Prepare());
  EXPECT_TRUE(dialog.Tables().tables.empty());
}

TEST(CoefEditDlgTest, BitPagesAndTheTextPageCheckOnOk) {
  RecordingMessageBox boxes;
  ScopedMessageBoxHandler install(boxes);
  TCoefEditDLG bits;
  ASSERT_TRUE(bits.Prepare("EEP0408", kTypeBit8, "A5h"));
  std::string checked;
  for (int bit = 0; bit < 8; ++bit) checked += bits.BitBox(bit)->isChecked() ? '1' : '0';
  EXPECT_EQ(checked, "10100101");
  EXPECT_EQ(bits.BitBox(8), nullptr);
  bits.accept();
  EXPECT_EQ(bits.ValueText(), "165");
  bits.AllBitsButton()->click();  // some clear: all set
  EXPECT_TRUE(bits.BitBox(1)->isChecked());
  bits.AllBitsButton()->click();  // all set: all clear
  EXPECT_FALSE(bits.BitBox(0)->isChecked());

  TCoefEditDLG real;
  ASSERT_TRUE(real.Prepare("EEP0405", kTypeDouble, "-2.250000e-03"));
  EXPECT_EQ(real.MaskEdit1()->text(), "-2.250000e-03");  // whole, not cut at 11
  real.show();
  real.MaskEdit1()->setText("1.2.3");
  real.accept();
  EXPECT_TRUE(real.isVisible());
  EXPECT_EQ(boxes.Texts(), Strings{LoadMessage(MsgCoefEntryInvalid)});
  real.MaskEdit1()->setText("-2.250000e-03");
  real.accept();
  EXPECT_EQ(real.result(), QDialog::Accepted);
  EXPECT_EQ(real.ValueText(), "-2.250000e-03");

  TCoefEditDLG none;
  EXPECT_FALSE(none.Prepare("EEP0001", 9, "1"));
}

}  // namespace
}  // namespace tessaro
