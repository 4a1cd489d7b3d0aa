#include "ui/settings/MemoDlg.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "GuiTestEnvironment.h"
#include "SettingsDialogKit.h"
#include "core/support/CodePage.h"
#include "core/support/Messages.h"

namespace tessaro {
namespace {

TEST(MemoDlgTest, EditsPastesCutsAndWritesOnOk) {
  SimAppSession rig;
  TMemoDLG dialog(rig.session);
  ASSERT_TRUE(dialog.Prepare());
  dialog.show();
  QTableWidget* grid = dialog.Grid();
  ASSERT_EQ(grid->rowCount(), 4);
  EXPECT_EQ(grid->item(1, 0)->text(), "00002");
  EXPECT_EQ(grid->item(1, 1)->text(), "PUMP HOUSE");
  EXPECT_EQ(grid->currentRow(), 0);

  // Typing stops at 16 bytes.
  grid->setCurrentCell(2, 1);
  dialog.ChangeButton()->click();
  auto* editor = grid->findChild<QLineEdit*>();
  ASSERT_NE(editor, nullptr);
  editor->selectAll();
  QTest::keyClicks(editor, "ABCDEFGHIJKLMNOPQRST");
  EXPECT_EQ(editor->text(), "ABCDEFGHIJKLMNOP");
  QTest::keyClick(editor, Qt::Key_Return);  // the view commits from the event loop
  EXPECT_TRUE(WaitUntil([&] { return dialog.Memos()[2] == "ABCDEFGHIJKLMNOP"; }));

  // A paste keeps 16 bytes of whole characters; control characters are refused.
  grid->setCurrentCell(1, 1);
  QApplication::clipboard()->setText(QString::fromUtf8("北棟ポンプ室の温度計"));
  dialog.PasteClick();
  EXPECT_EQ(Cp932ToUtf8(dialog.Memos()[1]), "北棟ポンプ室の温");
  QApplication::clipboard()->setText("A\rromw109");
  dialog.PasteClick();
  EXPECT_EQ(Cp932ToUtf8(dialog.Memos()[1]), "北棟ポンプ室の温");
  EXPECT_EQ(rig.boxes.Texts(), (std::vector<std::string>{LoadMessage(MsgMemoBadCharacter)}));

  grid->setCurrentCell(0, 1);
  dialog.CutClick();
  EXPECT_EQ(QApplication::clipboard()->text(), "SITE-A");
  EXPECT_EQ(grid->item(0, 1)->text(), "");

  dialog.Apply();
  EXPECT_EQ(rig.Sent("battw"),
            (std::vector<std::string>{"battw620,", "battw621," + dialog.Memos()[1],
                                      "battw622,ABCDEFGHIJKLMNOP", "battw623,CH2 TEMP"}));
  EXPECT_EQ(rig.boxes.Count(), 1u);
}

TEST(MemoDlgTest, NoMemosLeavesOnlyTheHeaderAndNothingToDo) {
  sim::RecorderProfile profile = sim::DefaultProfile();
  profile.userMemos.clear();
  SimAppSession rig(profile);
  TMemoDLG dialog(rig.session);
  ASSERT_TRUE(dialog.Prepare());
  dialog.show();
  EXPECT_EQ(dialog.Grid()->rowCount(), 0);
  QApplication::clipboard()->setText("KEEP");
  dialog.EditClick();
  dialog.CutClick();
  dialog.CopyClick();
  dialog.PasteClick();
  dialog.Apply();
  EXPECT_EQ(QApplication::clipboard()->text(), "KEEP");
  EXPECT_TRUE(rig.Sent("battw").empty());
  EXPECT_EQ(rig.boxes.Count(), 0u);

  sim::FaultSettings silent;
  silent.silentAfter = 0;
  rig.sim.Faults().Set(silent);
  TMemoDLG unread(rig.session);
  EXPECT_FALSE(unread.Prepare());
  EXPECT_EQ(rig.boxes.Texts(), (std::vector<std::string>{LoadMessage(MsgLineCheckFailed)}));
}

}  // namespace
}  // namespace tessaro
