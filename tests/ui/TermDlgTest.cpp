// The terminal and the monitor against the recorder simulator.

#include "ui/terminal/TermDlg.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QPushButton>
#include <QTest>

#include "GuiTestEnvironment.h"
#include "core/support/IniFile.h"
#include "core/support/Messages.h"
#include "core/term/CommandHistory.h"
#include "support/RecordingMessageBox.h"
#include "support/SimLine.h"
#include "support/TempDir.h"
#include "ui/shell/AppSession.h"
#include "ui/shell/ExchangeTimer.h"
#include "ui/terminal/HistoryBox.h"
#include "ui/terminal/InputDlg.h"
#include "ui/terminal/TermEdit.h"

namespace tessaro {
namespace {

AppPaths PathsIn(const TempDir& dir) {
  AppPaths paths;
  paths.commandHistoryFile = dir.Join("TESSARO.CMD");
  return paths;
}

// A session whose line is open to the simulator and whose history file
// starts with one command in each section.
struct TermRig {
  TermRig() {
    dir.WriteFile("TESSARO.CMD", "[TERMINAL]\nSTR0=rtcr\n[INPUT]\nSTR0=romr1\n");
    session.Settings().dataFolder = dir.Path() + "/";
    OpenSimLine(sim, session.Line());
  }
  ~TermRig() { LineClose(session.Line()); }

  std::vector<std::string> History(const char* section) {
    CommandHistory history;
    EXPECT_TRUE(history.Load(session.Paths().commandHistoryFile, section));
    return history.Entries();
  }
  size_t Taken(const std::string& command) {
    const auto taken = CommandsTaken(sim.Recorder(), command);
    return static_cast<size_t>(std::count(taken.begin(), taken.end(), command));
  }

  TempDir dir;
  SimFixture sim;
  AppSession session{PathsIn(dir)};
  RecordingMessageBox boxes;
  ScopedMessageBoxHandler install{boxes};
};

bool Shows(TTermEdit* edit, const QString& text) {
  return WaitUntil([&] { return edit->toPlainText().contains(text); });
}

TEST(TermDlgTest, TypesPastesLogsAndKeepsItsHistory) {
  TermRig rig;
  FileDialogs files;
  files.askSaveFileName = [&](QWidget*, const FileQuestion& question) {
    EXPECT_TRUE(question.initialPath.endsWith(".LOG")) << question.initialPath.toStdString();
    return QString::fromStdString(rig.dir.Join("term.LOG"));
  };
  TTermDLG dialog(rig.session, nullptr, files);
  dialog.show();
  EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("ターミナル"));
  EXPECT_TRUE(dialog.SendButton()->isEnabled());
  dialog.LogButton()->click();
  EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("ターミナル ( term.LOG ) "));

  // Editing keys neither send nor change anything; Enter ends the line.
  QTest::keyClicks(dialog.TermEdit(), "vex");
  QTest::keyClick(dialog.TermEdit(), Qt::Key_Backspace);
  QTest::keyClick(dialog.TermEdit(), Qt::Key_Left);
  QTest::keyClick(dialog.TermEdit(), Qt::Key_Return);
  ASSERT_TRUE(Shows(dialog.TermEdit(), "??CMD"));
  EXPECT_EQ(rig.Taken("vex"), 1u);
  EXPECT_EQ(dialog.CmdList()->currentText(), "vex");

  QGuiApplication::clipboard()->setText("ver\nrtcr");
  dialog.PasteAction()->trigger();
  EXPECT_EQ(rig.Taken("ver"), 1u);
  EXPECT_EQ(rig.Taken("rtcr"), 1u);
  ASSERT_TRUE(Shows(dialog.TermEdit(), "ver\nCVX-4A Ver1.20\nrtcr\n"));
  EXPECT_TRUE(dialog.RecvTimer()->isActive());

  QGuiApplication::clipboard()->setText(QString(1025, 'a'));
  dialog.PasteAction()->trigger();
  EXPECT_EQ(rig.boxes.Texts(), std::vector<std::string>{LoadMessage(MsgPasteTooLong)});

  dialog.reject();
  EXPECT_EQ(rig.History("TERMINAL"), (std::vector<std::string>{"rtcr", "ver", "vex"}));
  EXPECT_EQ(TempDir::ReadAll(rig.dir.Join("term.LOG")).rfind("vex\r\n??CMD\r\nver\r\n", 0), 0u);
}

TEST(InputDlgTest, ListsRepliesChangesCommandAndClosesOnSilence) {
  TermRig rig;
  TInputDLG dialog(rig.session);
  dialog.show();
  EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("モニター コマンド[ver]"));
  EXPECT_FALSE(dialog.ChangeButton()->isEnabled());
  ASSERT_TRUE(Shows(dialog.Output(), "00001 ver CVX-4A Ver1.20\n00002 ver CVX-4A Ver1.20"));

  dialog.CmdList()->setEditText("rtcr");
  EXPECT_TRUE(dialog.ChangeButton()->isEnabled());
  dialog.ChangeButton()->click();
  EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("モニター コマンド[rtcr]"));
  ASSERT_TRUE(Shows(dialog.Output(), "00001 rtcr "));

  sim::FaultSettings faults;
  faults.silentAfter = 0;
  rig.sim.Faults().Set(faults);
  ASSERT_TRUE(WaitUntil([&] { return !dialog.isVisible(); }));
  EXPECT_EQ(rig.boxes.Texts(), std::vector<std::string>{LoadMessage(MsgNoEchoBack)});
  EXPECT_EQ(rig.History("INPUT"), (std::vector<std::string>{"rtcr", "romr1"}));
}

}  // namespace
}  // namespace tessaro
