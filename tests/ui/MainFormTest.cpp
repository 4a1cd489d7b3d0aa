#include "ui/shell/MainForm.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>

#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTcpServer>
#include <QTest>
#include <QThread>
#include <future>
#include <memory>

#include "GuiTestEnvironment.h"
#include "core/line/LineFacade.h"
#include "core/support/IdleFlagServer.h"
#include "core/support/Messages.h"
#include "support/RecordingMessageBox.h"
#include "support/TempDir.h"
#include "ui/controls/IconBtn.h"
#include "ui/controls/Lamp.h"
#include "ui/line/ComEnvDlg.h"
#include "ui/settings/SlaveDlg.h"
#include "ui/shell/ExchangeGuard.h"
#include "ui/shell/FileFilter.h"
#include "ui/shell/GaugeDlg.h"
#include "ui/shell/TerminationSignals.h"

namespace tessaro {
namespace {

// Answers the slave dialog that the next MMenuSlaveClick opens.
void AnswerSlaveDialog(bool on, int id, bool ok) {
  QTimer::singleShot(0, [=] {
    auto* dlg = qobject_cast<TSlaveDLG*>(QApplication::activeModalWidget());
    ASSERT_NE(dlg, nullptr);
    (on ? dlg->OnButton() : dlg->OffButton())->setChecked(true);
    dlg->IdSpin()->setValue(id);
    ok ? dlg->accept() : dlg->reject();
  });
}

class MainFormTest : public testing::Test {
 protected:
  MainFormTest() {
    paths_ = MakeAppPaths(dir_.Path(), dir_.Join("prog") + "/");
    CreateSettingsFolder(paths_);
  }

  void WriteSettings(const std::string& text) {
    TempDir::ReadAll(paths_.settingsFile);  // nothing to keep
    dir_.WriteFile(paths_.settingsFile.substr(dir_.Path().size() + 1), text);
  }
  void WritePosition(const std::string& text) {
    dir_.WriteFile(paths_.positionFile.substr(dir_.Path().size() + 1), text);
  }

  TMainForm& Make() {
    form_ = std::make_unique<TMainForm>(paths_);
    form_->SetTerminateHandler([this] { ++terminations_; });
    auto* comEnv = new TComEnvDLG(form_.get());
    comEnv->SetPortLister([](std::vector<std::string>& list) {
      list.clear();
      return true;
    });
    form_->Attach(comEnv, new TGaugeDLG(form_.get()));
    return *form_;
  }

  // Settings for the TCP line to a listener on this machine.
  void UseTcpServer() {
    ASSERT_TRUE(server_.listen(QHostAddress::LocalHost, 0));
    WriteSettings("[ComPort]\nPort=TCP/IP\n[TcpPort]\nIpAddr=127.0.0.1\nIpPort=" +
                  std::to_string(server_.serverPort()) + "\n");
  }

  TempDir dir_;
  AppPaths paths_;
  RecordingMessageBox boxes_;
  ScopedMessageBoxHandler install_{boxes_};
  QTcpServer server_;
  std::unique_ptr<TMainForm> form_;
  int terminations_ = 0;
};

TEST_F(MainFormTest, WindowHasTheLauncherLayout) {
  UseTcpServer();
  TMainForm& form = Make();
  EXPECT_EQ(form.windowTitle(), QString::fromStdString(LoadMessage(MsgProgramName)));
  EXPECT_EQ(form.ClientHeight(), 325);
  EXPECT_EQ(form.width(), 440);
  EXPECT_EQ(form.Button(1)->geometry(), QRect(15, 10, 200, 40));
  EXPECT_EQ(form.Button(12)->geometry(), QRect(225, 235, 200, 40));
  EXPECT_EQ(form.Button(1)->text(), QString::fromUtf8("通信条件の設定"));
  EXPECT_EQ(form.Button(12)->toolTip(), QString::fromUtf8("Corvex　Tessaroを終了します"));
  EXPECT_TRUE(form.Button(2)->toolTip().isEmpty());
  EXPECT_FALSE(form.Button(2)->statusTip().isEmpty());
  // Functions whose dialogs are not part of the shell wait disabled.
  for (int number : {3, 4, 5, 6, 7, 8, 9, 10, 11, 13})
    EXPECT_FALSE(form.Button(number)->isEnabled()) << number;
  for (int number : {1, 2, 12}) EXPECT_TRUE(form.Button(number)->isEnabled()) << number;
  EXPECT_FALSE(form.FeatureEnabled(FeatureCommand::Clock));
}

TEST_F(MainFormTest, TcpLineShowsItsLabelAndConnectionLamps) {
  UseTcpServer();
  TMainForm& form = Make();
  form.show();
  ASSERT_TRUE(WaitUntil([&] { return form.Lamp(3)->State() == LampState::On; }));
  EXPECT_EQ(form.PortLabel()->text(), "TCP/IP[127.0.0.1]");
  EXPECT_EQ(form.Lamp(0)->State(), LampState::On);
  EXPECT_EQ(form.Lamp(1)->State(), LampState::On);
  EXPECT_EQ(form.Lamp(2)->State(), LampState::On);
  EXPECT_EQ(form.Session().Line().LineMode, kLineModeTcp);
  EXPECT_EQ(boxes_.Count(), 0u);
  EXPECT_EQ(terminations_, 0);
  // The peer going away turns the connection lamps white.
  ASSERT_TRUE(WaitUntil([&] { return server_.hasPendingConnections(); }));
  delete server_.nextPendingConnection();
  EXPECT_TRUE(WaitUntil([&] { return form.Lamp(1)->State() == LampState::Off; }));
}

TEST_F(MainFormTest, TalksToTheSimulatorOverTcp) {
  const QString sim = QStringLiteral(TESSARO_BIN_DIR "/tessaro-sim");
  if (!QFileInfo(sim).isExecutable()) GTEST_SKIP() << "tessaro-sim is not built";
  QProcess simulator;
  simulator.start(sim, {"--tcp", "0"});
  ASSERT_TRUE(simulator.waitForStarted());
  ASSERT_TRUE(simulator.waitForReadyRead(5000));
  const QString line = QString::fromUtf8(simulator.readLine()).trimmed();
  ASSERT_TRUE(line.startsWith("tcp 127.0.0.1:")) << line.toStdString();
  WriteSettings("[ComPort]\nPort=TCP/IP\n[TcpPort]\nIpAddr=127.0.0.1\nIpPort=" +
                line.section(':', 1).toStdString() + "\n");
  TMainForm& form = Make();
  form.show();
  ASSERT_TRUE(WaitUntil([&] { return form.Lamp(3)->State() == LampState::On; }));
  EXPECT_EQ(form.Lamp(1)->State(), LampState::On);
  EXPECT_EQ(form.PortLabel()->text(), "TCP/IP[127.0.0.1]");
  EXPECT_TRUE(LineCheck(form.Session().Line()));
  form_.reset();
  simulator.terminate();
  simulator.waitForFinished();
}

TEST_F(MainFormTest, HintsGoToTheLastStatusPanel) {
  UseTcpServer();
  TMainForm& form = Make();
  QStatusTipEvent tip(form.Button(5)->statusTip());
  QApplication::sendEvent(form.Button(5), &tip);
  EXPECT_EQ(form.Panel(3)->text(), QString::fromUtf8("ロガーの時刻を設定します"));
}

TEST_F(MainFormTest, MissingSerialPortAsksAndNoEndsTheProgram) {
  WriteSettings("[ComPort]\nPort=/dev/ttyTESSARO-NONE\n");
  TMainForm& form = Make();
  boxes_.QueueAnswer(BoxResult::No);
  form.show();
  ASSERT_TRUE(WaitUntil([&] { return form.Terminating(); }));
  EXPECT_EQ(form.Lamp(0)->State(), LampState::Failed);
  EXPECT_EQ(form.Lamp(2)->State(), LampState::Off);
  ASSERT_EQ(boxes_.Count(), 2u);
  // The question comes first, then why the port did not open.
  const std::string question = boxes_.Boxes()[0].text;
  EXPECT_EQ(boxes_.Boxes()[0].kind, BoxKind::YesNo);
  EXPECT_EQ(question.rfind(LoadMessage(MsgPortInUseRetry) + "\n\n", 0), 0u) << question;
  EXPECT_NE(question.find(FormatMessage(MsgPortMissing, "/dev/ttyTESSARO-NONE")), std::string::npos)
      << question;
  EXPECT_EQ(boxes_.Boxes()[1],
            (RecordedBox{BoxKind::Error, LoadMessage(MsgPortUnusable), BoxResult::Ok}));
  EXPECT_EQ(terminations_, 1);
}

TEST_F(MainFormTest, YesOffersTheSettingsDialogAndRetries) {
  ASSERT_TRUE(server_.listen(QHostAddress::LocalHost, 0));
  WriteSettings("[ComPort]\nPort=/dev/ttyTESSARO-NONE\n[TcpPort]\nIpAddr=127.0.0.1\nIpPort=" +
                std::to_string(server_.serverPort()) + "\n");
  TMainForm& form = Make();
  boxes_.QueueAnswer(BoxResult::Yes);
  // The settings dialog comes up modally: choose TCP/IP and confirm.
  WhenModalAppears([&](QWidget* modal) {
    auto* dlg = qobject_cast<TComEnvDLG*>(modal);
    ASSERT_NE(dlg, nullptr);
    dlg->PortList()->setCurrentIndex(0);
    dlg->OkBtn()->click();
  });
  form.show();
  ASSERT_TRUE(WaitUntil([&] { return form.PortLabel()->text() == "TCP/IP[127.0.0.1]"; }));
  EXPECT_FALSE(form.Terminating());
  EXPECT_EQ(form.Lamp(0)->State(), LampState::On);
  EXPECT_EQ(boxes_.Count(), 1u);
}

TEST_F(MainFormTest, HiddenActionsToggleFlagsPanelsAndHeight) {
  UseTcpServer();
  TMainForm& form = Make();
  const int shortHeight = form.height();
  form.ActionCvt()->trigger();
  EXPECT_TRUE(form.ConvertMode());
  EXPECT_EQ(form.ClientHeight(), 370);
  EXPECT_EQ(form.height(), shortHeight + 45);
  EXPECT_FALSE(form.Button(13)->isHidden());
  EXPECT_TRUE(form.ConvertMenuItem()->isVisible());
  EXPECT_EQ(form.Lamp(0)->y(), 325);
  form.ActionCvt()->trigger();
  EXPECT_EQ(form.height(), shortHeight);
  EXPECT_TRUE(form.Button(13)->isHidden());
  EXPECT_EQ(form.Lamp(0)->y(), 280);
  EXPECT_EQ(form.ActionCvt()->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_F12));
  EXPECT_EQ(form.ActionExt()->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_F2));
  EXPECT_EQ(form.ActionMnp()->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_F3));

  form.ActionExt()->trigger();
  EXPECT_TRUE(form.Session().ExtendedMode());
  EXPECT_FALSE(form.Panel(1)->isHidden());
  EXPECT_EQ(form.Panel(1)->width(), 50);
  form.ActionExt()->trigger();
  EXPECT_TRUE(form.Panel(1)->isHidden());

  // Alt + right click on the status bar: high speed; without Alt: nothing.
  QStatusBar* bar = form.statusBar();
  QTest::mouseClick(bar, Qt::RightButton, Qt::NoModifier, QPoint(5, 5));
  EXPECT_FALSE(form.Session().HighSpeedMode());
  QTest::mouseClick(bar, Qt::RightButton, Qt::AltModifier, QPoint(5, 5));
  EXPECT_TRUE(form.Session().HighSpeedMode());
  EXPECT_FALSE(form.Panel(0)->isHidden());
  QTest::mouseClick(bar, Qt::RightButton, Qt::AltModifier, QPoint(5, 5));
  EXPECT_FALSE(form.Session().HighSpeedMode());
  QTest::mouseClick(bar, Qt::LeftButton, Qt::AltModifier, QPoint(5, 5));
  EXPECT_TRUE(form.Session().ExtendedMode());

  // A function that changes a flag through the session shows it at once.
  form.Session().SetExtendedMode(false);
  EXPECT_TRUE(form.Panel(1)->isHidden());
  form.Session().SetSlave(true, 7);
  EXPECT_EQ(form.Panel(2)->text(), QString::fromUtf8("スレーブ[7]"));
  EXPECT_FALSE(form.Panel(2)->isHidden());
}

TEST_F(MainFormTest, SlaveDialogDrivesPanelAndLine) {
  UseTcpServer();
  TMainForm& form = Make();
  AnswerSlaveDialog(true, 5, true);
  form.MMenuSlaveClick();
  EXPECT_TRUE(form.Session().Slaved());
  EXPECT_EQ(form.Session().SlaveId(), 5);
  EXPECT_EQ(form.Panel(2)->text(), QString::fromUtf8("スレーブ[5]"));
  EXPECT_EQ(form.Panel(2)->width(), 70);
  EXPECT_FALSE(form.Panel(2)->isHidden());
  EXPECT_TRUE(form.Session().Line().ScktLine.Slaved());
  EXPECT_EQ(form.Session().Line().CommLine.SlaveID(), 5);

  AnswerSlaveDialog(false, 9, false);  // cancel changes nothing
  form.MMenuSlaveClick();
  EXPECT_TRUE(form.Session().Slaved());
  EXPECT_EQ(form.Session().SlaveId(), 5);

  AnswerSlaveDialog(false, 5, true);
  form.MMenuSlaveClick();
  EXPECT_FALSE(form.Session().Slaved());
  EXPECT_TRUE(form.Panel(2)->isHidden());
  EXPECT_FALSE(form.Session().Line().CommLine.Slaved());
  EXPECT_EQ(form.IdleFlag().load(), 1);
}

TEST_F(MainFormTest, SlaveFlowControlFollowsTheFlagOnASerialLine) {
  UseTcpServer();
  TMainForm& form = Make();
  form.Session().Line().LineMode = kLineModeSerial;
  AnswerSlaveDialog(true, 2, true);
  form.MMenuSlaveClick();
  EXPECT_EQ(form.Session().Line().CommLine.FlowControls(), 0u);
  AnswerSlaveDialog(false, 2, true);
  form.MMenuSlaveClick();
  EXPECT_EQ(form.Session().Line().CommLine.FlowControls(), CommSet(cfcRtsCts));
}

TEST_F(MainFormTest, IdleQueryAnswersZeroWhileADialogIsOpen) {
  UseTcpServer();
  TMainForm& form = Make();
  const std::string name = "TESSARO-TEST-" + std::to_string(QCoreApplication::applicationPid());
  IdleFlagServer server(form.IdleFlag(), name, dir_.Path());
  ASSERT_TRUE(server.Start());
  EXPECT_EQ(QueryIdleFlag(name, dir_.Path()), 1);
  std::optional<int> during;
  QTimer::singleShot(0, [&] {
    during = QueryIdleFlag(name, dir_.Path());
    QApplication::activeModalWidget()->close();
  });
  form.HMenuAboutClick();
  EXPECT_EQ(during, 0);
  EXPECT_EQ(QueryIdleFlag(name, dir_.Path()), 1);
}

TEST_F(MainFormTest, BadSettingsAndPositionGetDefaults) {
  WriteSettings("[ComPort]\nPort=TCP/IP\nBaud=abc\nOver=\n[TcpPort]\nIpPort=port\n");
  WritePosition("[TESSARO]\nLeft=99999\nTop=-99999\n");
  TMainForm& form = Make();
  EXPECT_EQ(form.Session().Settings().line.Baud, 38400);
  EXPECT_EQ(form.Session().Settings().line.Over, 3);
  EXPECT_EQ(form.Session().Settings().line.IpPort, 10001);
  // Nonsense coordinates: the window stays on a screen.
  EXPECT_NE(QGuiApplication::screenAt(form.geometry().center()), nullptr);
  EXPECT_EQ(boxes_.Count(), 0u);
}

TEST_F(MainFormTest, SavedPositionIsUsedAndWrittenOnClose) {
  UseTcpServer();
  WritePosition("[TESSARO]\nLeft=0\nTop=0\n");
  TMainForm& form = Make();
  EXPECT_EQ(form.pos(), QPoint(0, 0));
  form.move(12, 34);
  form.close();
  EXPECT_NE(TempDir::ReadAll(paths_.positionFile).find("Left=12"), std::string::npos);
  EXPECT_NE(TempDir::ReadAll(paths_.positionFile).find("Top=34"), std::string::npos);
}

TEST_F(MainFormTest, MissingDefinitionDatabaseIsReportedWhenNeeded) {
  UseTcpServer();
  TMainForm& form = Make();
  EXPECT_FALSE(form.Session().RequireDefinitions());
  EXPECT_EQ(boxes_.Texts(), (std::vector<std::string>{LoadMessage(MsgDefinitionDbMissing)}));
  // A function that needs the database does not start without it.
  bool created = false;
  form.SetFeatureDialog(FeatureCommand::Mode,
                        [&](AppSession&, QWidget*) {
                          created = true;
                          return std::unique_ptr<TCommandDialog>();
                        },
                        {.definitions = true});
  EXPECT_TRUE(form.Button(7)->isEnabled());
  form.Button(7)->click();
  EXPECT_FALSE(created);
  EXPECT_EQ(boxes_.Count(), 2u);
}

TEST_F(MainFormTest, PluggedFeatureRunsThroughTheCommandPattern) {
  UseTcpServer();
  TMainForm& form = Make();
  int idleWhileShown = -1;
  form.SetFeatureDialog(FeatureCommand::Memo, [&](AppSession&, QWidget*) {
    auto dialog = std::make_unique<TCommandDialog>();
    QTimer::singleShot(0, dialog.get(), [&, d = dialog.get()] {
      idleWhileShown = form.IdleFlag().load();
      d->accept();
    });
    return dialog;
  });
  form.Button(6)->click();
  EXPECT_EQ(idleWhileShown, 0);
  EXPECT_EQ(form.IdleFlag().load(), 1);
}

TEST_F(MainFormTest, FirmwareWriteRunsOnAWorkerBehindTheProgressDialog) {
  UseTcpServer();
  TMainForm& form = Make();
  EXPECT_FALSE(form.Button(11)->isEnabled());
  std::string written;
  bool onWorker = false;
  int result = 1;
  form.SetFirmwareWriter([&](const std::string& file, ProgressReporter& progress) {
    written = file;
    onWorker = QThread::currentThread() != form.thread();
    progress.SetPercent(50);
    return result;
  });
  EXPECT_TRUE(form.Button(11)->isEnabled());
  QString chosen;
  form.SetFirmwareFileChooser([&](QWidget*) { return chosen; });

  form.PMenuMotClick();  // selection cancelled: nothing written, nothing shown
  EXPECT_TRUE(written.empty());
  EXPECT_EQ(boxes_.Count(), 0u);

  chosen = "/data/NEW.MOT";
  form.PMenuMotClick();
  EXPECT_EQ(written, "/data/NEW.MOT");
  EXPECT_TRUE(onWorker);
  EXPECT_FALSE(form.Gauge()->isVisible());
  EXPECT_EQ(form.Gauge()->windowTitle(), QString::fromUtf8("ファームウェア書込み"));
  result = 0;
  form.PMenuMotClick();
  EXPECT_EQ(boxes_.Boxes(),
            (std::vector<RecordedBox>{{BoxKind::Warning, LoadMessage(MsgMotDone), BoxResult::Ok},
                                      {BoxKind::Error, LoadMessage(MsgMotFailed), BoxResult::Ok}}));
  EXPECT_TRUE(form.isEnabled());
  EXPECT_EQ(form.IdleFlag().load(), 1);
}

TEST_F(MainFormTest, CloseDuringAFirmwareWriteIsIgnored) {
  UseTcpServer();
  TMainForm& form = Make();
  form.show();
  TExchangeGuard guard;
  std::promise<void> release;
  form.SetFirmwareWriter([&](const std::string&, ProgressReporter&) {
    release.get_future().wait();
    return 1;
  });
  form.SetFirmwareFileChooser([](QWidget*) { return QStringLiteral("/data/NEW.MOT"); });
  bool closed = true;
  QTimer::singleShot(20, [&] {
    closed = form.close();
    release.set_value();
  });
  form.PMenuMotClick();
  EXPECT_FALSE(closed);
  EXPECT_TRUE(form.isVisible());
  EXPECT_EQ(boxes_.Texts(), std::vector<std::string>{LoadMessage(MsgMotDone)});
  EXPECT_TRUE(form.close());  // idle again
}

// True once the main window has closed (it writes its position then).
bool Closed(const AppPaths& paths) {
  return TempDir::ReadAll(paths.positionFile).find("Left=") != std::string::npos;
}

TEST_F(MainFormTest, TerminationSignalDismissesTheDialogThenCloses) {
  UseTcpServer();
  TMainForm& form = Make();
  TerminationSignals termination([&] { form.QuitWhenIdle(); });
  ASSERT_TRUE(termination.Active());
  int result = -1;
  form.SetFeatureDialog(FeatureCommand::Memo, [&](AppSession&, QWidget*) {
    auto dialog = std::make_unique<TCommandDialog>();
    QObject::connect(dialog.get(), &QDialog::finished, [&](int r) { result = r; });
    return dialog;
  });
  WhenModalAppears([](QWidget*) { ::raise(SIGTERM); });
  form.Button(6)->click();  // returns when the dialog is gone
  EXPECT_EQ(result, QDialog::Rejected);
  EXPECT_TRUE(WaitUntil([&] { return Closed(paths_); }));
}

TEST_F(MainFormTest, TerminationSignalCancelsTheWorkerBeforeClosing) {
  UseTcpServer();
  TMainForm& form = Make();
  TerminationSignals termination([&] { form.QuitWhenIdle(); });
  bool cancelled = false;
  form.SetFirmwareWriter([&](const std::string&, ProgressReporter& progress) {
    ::raise(SIGHUP);
    for (int waited = 0; waited < 5000 && !progress.CancelRequested(); waited += 10)
      ::poll(nullptr, 0, 10);
    cancelled = progress.CancelRequested();
    // Still working: the window must not go before the worker ends.
    ::poll(nullptr, 0, 300);
    EXPECT_FALSE(Closed(paths_));
    return 0;
  });
  form.SetFirmwareFileChooser([](QWidget*) { return QString("/data/NEW.MOT"); });
  form.PMenuMotClick();
  EXPECT_TRUE(cancelled);
  EXPECT_TRUE(WaitUntil([&] { return Closed(paths_); }));
}

TEST(FileFilter, DialogFiltersBecomeQtFilters) {
  EXPECT_EQ(ToQtFileFilter(QString::fromUtf8("MOTﾌｧｲﾙ(*.MOT)|*.MOT|すべてのﾌｧｲﾙ(*.*)|*.*")),
            QString::fromUtf8("MOTﾌｧｲﾙ(*.MOT) (*.MOT *.mot);;すべてのﾌｧｲﾙ(*.*) (*)"));
  EXPECT_EQ(ToQtFileFilter("CSV|*.csv;*.txt"), "CSV (*.csv *.txt)");
}

// Under Xvfb with TESSARO_SCREENSHOT_DIR set, saves the window as PNG files.
TEST_F(MainFormTest, Screenshot) {
  UseTcpServer();
  TMainForm& form = Make();
  form.show();
  WaitUntil([&] { return form.Lamp(3)->State() == LampState::On; });
  const QPixmap shot = form.grab();
  EXPECT_EQ(shot.size() / shot.devicePixelRatio(), form.size());
  const QString folder = qEnvironmentVariable("TESSARO_SCREENSHOT_DIR");
  if (folder.isEmpty()) return;
  shot.save(folder + "/main.png");
  form.ActionCvt()->trigger();
  form.ActionMnp()->trigger();
  form.grab().save(folder + "/main-convert.png");
  QTimer::singleShot(100, [&] {
    QApplication::activeModalWidget()->grab().save(folder + "/about.png");
    QApplication::activeModalWidget()->close();
  });
  form.HMenuAboutClick();
  TComEnvDLG comEnv;
  comEnv.LoadFromSettings(form.Session().Settings().line);
  comEnv.show();
  comEnv.grab().save(folder + "/comenv.png");
  TGaugeDLG gauge;
  gauge.show();
  gauge.SetCaption("ファームウェア書込み");
  gauge.SetMessage("ファームウェア転送中...");
  gauge.SetPercent(40);
  gauge.grab().save(folder + "/gauge.png");
  TSlaveDLG slave;
  slave.show();
  slave.grab().save(folder + "/slave.png");
}

}  // namespace
}  // namespace tessaro
