#include "ui/collect/TransTessDlg.h"
#include "ui/graph/GraphWindow.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QShortcutEvent>
#include <QStatusBar>
#include <QTest>
#include <algorithm>
#include <filesystem>
#include <memory>

#include "CollectDialogKit.h"
#include "GuiTestEnvironment.h"
#include "core/collect/ConversionStep.h"
#include "core/support/ExchangeScope.h"
#include "core/support/IniFile.h"
#include "core/support/Messages.h"
#include "support/RecordingMessageBox.h"
#include "support/RecordingProgress.h"
#include "support/TempDir.h"
#include "ui/collect/CollectionCommands.h"
#include "ui/collect/ConvDlg.h"
#include "ui/collect/CsvTypeGroup.h"
#include "ui/controls/IconBtn.h"
#include "ui/controls/Lamp.h"
#include "ui/line/ComEnvDlg.h"
#include "ui/shell/ExchangeGuard.h"
#include "ui/shell/GaugeDlg.h"
#include "ui/shell/MainForm.h"

namespace tessaro {
namespace {

constexpr int kRingRow = 2, kDataCountRow = 3, kChannelRow = 4, kStartRow = 6, kMemo1Row = 8;

QStringList ListTexts(const QListWidget* list) {
  QStringList texts;
  for (int i = 0; i < list->count(); ++i) texts << list->item(i)->text();
  return texts;
}

bool SentCommand(sim::Recorder& recorder, const std::string& command) {
  const auto commands = recorder.Commands();
  return std::find(commands.begin(), commands.end(), command) != commands.end();
}

int LineCount(const std::string& text) {
  return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

class TransTessDlgTest : public CollectDialogTest {
 protected:
  TransTessDlgTest() { QDir().mkpath(QString::fromStdString(dir_.Join("data"))); }

  CollectionContext Context() { return CollectDialogTest::Context(dir_.Join("data") + "/"); }
  std::unique_ptr<TTransTessDLG> Prepared(SimLine& rig) {
    auto dialog = std::make_unique<TTransTessDLG>(rig.line, false, Context());
    EXPECT_TRUE(dialog->Prepare());
    dialog->show();
    return dialog;
  }
  int SettingsCsvType() {
    IniFile ini(dir_.Join("TESSARO.INI"));
    ini.Load();
    return ini.ReadInteger("Csv", "Type", -1);
  }
};

TEST_F(TransTessDlgTest, ListsTheRingsAndShowsTheSelectedOne) {
  dir_.WriteFile("TESSARO.INI", "[Rlb]\nSave=0\n[Csv]\nType=1\n");
  SimLine rig(SimFixture::Profile("default"));
  auto dialog = Prepared(rig);
  sim::Recorder& recorder = rig.sim.Recorder();

  EXPECT_EQ(dialog->windowTitle(), QString::fromUtf8("データ回収選択"));
  EXPECT_EQ(dialog->size(), QSize(370, 245));
  EXPECT_EQ(ListTexts(dialog->RingList()), (QStringList{"NEW", "OLD-01", "OLD-02", "OLD-03"}));
  EXPECT_EQ(dialog->SelectedRing(), 0);
  // The options come from the settings file.
  EXPECT_FALSE(dialog->RlbSave()->isChecked());
  EXPECT_EQ(dialog->CsvTypeGroup()->Type(), CsvType::Corvex);
  // The management information was read behind the progress dialog.
  EXPECT_FALSE(gauge_.isVisible());
  EXPECT_EQ(gauge_.windowTitle(), QString::fromUtf8("管理情報の読込み"));
  EXPECT_TRUE(SentCommand(recorder, "filer4,802"));
  EXPECT_TRUE(boxes_.Boxes().empty());

  EXPECT_EQ(dialog->PanelValue(0)->text(), "CVX-4A Ver1.20");
  EXPECT_EQ(dialog->PanelValue(1)->text(), "CX4A00012345");
  EXPECT_EQ(dialog->PanelValue(kRingRow)->text(), "NEW");
  EXPECT_EQ(dialog->PanelValue(kDataCountRow)->text().toLongLong(), recorder.RecordCount(0));
  EXPECT_EQ(dialog->PanelValue(kChannelRow)->text(), "4");
  const QRegularExpression clock("^\\d\\d/\\d\\d/\\d\\d \\d\\d:\\d\\d:\\d\\d$");
  EXPECT_TRUE(clock.match(dialog->PanelValue(kStartRow)->text()).hasMatch())
      << dialog->PanelValue(kStartRow)->text().toStdString();
  EXPECT_FALSE(dialog->PanelValue(kStartRow + 1)->text().isEmpty());

  dialog->RingList()->setCurrentRow(1);
  EXPECT_EQ(dialog->SelectedRing(), 1);
  EXPECT_EQ(dialog->PanelValue(kRingRow)->text(), "OLD-01");
  EXPECT_EQ(dialog->PanelValue(kDataCountRow)->text().toLongLong(), recorder.RecordCount(1));
  EXPECT_EQ(dialog->PanelValue(kMemo1Row)->text().toStdString(),
            recorder.FileTupleText(1, 620).value_or(""));
}

TEST_F(TransTessDlgTest, RecorderWithoutRingCountListsOnlyNew) {
  SimLine rig(SimFixture::Profile("old"));
  auto dialog = Prepared(rig);
  EXPECT_TRUE(SentCommand(rig.sim.Recorder(), "romr108"));
  EXPECT_EQ(ListTexts(dialog->RingList()), QStringList{"NEW"});
  EXPECT_EQ(dialog->PanelValue(1)->text(), "CX2000000777");
  // Defaults without a settings file: keep the RLB file, Q5 series form.
  EXPECT_TRUE(dialog->RlbSave()->isChecked());
  EXPECT_EQ(dialog->CsvTypeGroup()->Type(), CsvType::Q5);
}

TEST_F(TransTessDlgTest, FailedOrCancelledReadingShowsItsTextAndDoesNotOpen) {
  SimLine rig(SimFixture::Profile("default"));
  rig.sim.Faults().Set({.refused = {"eepr210"}});
  TTransTessDLG refused(rig.line, false, Context());
  EXPECT_FALSE(refused.Prepare());
  EXPECT_EQ(boxes_.Boxes(),
            (std::vector<RecordedBox>{
                {BoxKind::Error, LoadMessage(MsgSerialReadFailed), BoxResult::Ok}}));
  EXPECT_FALSE(gauge_.isVisible());

  // Slow replies leave time to press the progress dialog's cancel button.
  boxes_.Clear();
  rig.sim.Faults().Set({.delayMs = 20});
  WhenDialogUp<TGaugeDLG>([](TGaugeDLG& gauge) { gauge.CancelButton()->click(); });
  TTransTessDLG cancelled(rig.line, false, Context());
  EXPECT_FALSE(cancelled.Prepare());
  EXPECT_EQ(boxes_.Texts(), std::vector<std::string>{LoadMessage(MsgCancelPressed)});
  EXPECT_FALSE(gauge_.isVisible());
  EXPECT_FALSE(gauge_.isModal());
}

TEST_F(TransTessDlgTest, Q5FormRefusesAWindDirectionRingAndCorvexTakesIt) {
  SimLine rig(
      ProfileFromText("[Rings]\nCount=2\nModes=1,2\nRecords=30\n"
                      "[Ring1]\nModes=1,603\nRecords=20\n"));
  auto dialog = Prepared(rig);
  dialog->RingList()->setCurrentRow(1);
  dialog->CsvTypeGroup()->SetType(CsvType::Q5);
  dialog->Button1Click();
  EXPECT_EQ(
      boxes_.Boxes(),
      (std::vector<RecordedBox>{{BoxKind::Error, LoadMessage(MsgQ5NoMode603), BoxResult::Ok}}));
  EXPECT_TRUE(files_.Asked().empty());
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(dialog->result(), QDialog::Rejected);
  EXPECT_EQ(SettingsCsvType(), 0);

  // The NEW ring has no such channel.
  dialog->RingList()->setCurrentRow(0);
  dialog->Button1Click();
  EXPECT_EQ(files_.Asked().size(), 1u);

  // The Corvex form takes the ring; the save question is cancelled, which
  // leaves the dialog open and collects nothing.
  boxes_.Clear();
  dialog->RingList()->setCurrentRow(1);
  dialog->CsvTypeGroup()->SetType(CsvType::Corvex);
  dialog->Button1Click();
  EXPECT_TRUE(boxes_.Boxes().empty());
  ASSERT_EQ(files_.Asked().size(), 2u);
  const FileQuestion& asked = files_.Asked()[1].question;
  EXPECT_TRUE(files_.Asked()[1].save);
  EXPECT_EQ(asked.filter, QString::fromUtf8("CSVﾌｧｲﾙ(*.CSV)|*.CSV"));
  EXPECT_EQ(asked.defaultSuffix, "CSV");
  EXPECT_TRUE(QRegularExpression("/data/DT\\d{8}00\\.CSV$").match(asked.initialPath).hasMatch())
      << asked.initialPath.toStdString();
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(dialog->result(), QDialog::Rejected);
  EXPECT_TRUE(dialog->LastRequest().csvPath.empty());
  EXPECT_FALSE(SentCommand(rig.sim.Recorder(), "xdm1kdd2"));
  EXPECT_EQ(SettingsCsvType(), 1);
}

TEST_F(TransTessDlgTest, OverwrittenRingIsCollectedOnlyAfterTheQuestion) {
  SimLine rig(SimFixture::Profile("overwritten"));
  auto dialog = Prepared(rig);
  dialog->CsvTypeGroup()->SetType(CsvType::Corvex);
  boxes_.QueueAnswer(BoxResult::Cancel);
  dialog->Button1Click();
  EXPECT_EQ(boxes_.Boxes(),
            (std::vector<RecordedBox>{
                {BoxKind::Information, LoadMessage(MsgAskDropOverwritten), BoxResult::Cancel},
                {BoxKind::Error, LoadMessage(MsgCollectionAbandoned), BoxResult::Ok}}));
  EXPECT_TRUE(files_.Asked().empty());
  EXPECT_TRUE(dialog->isVisible());

  // OK: the 200 overwritten records (800 bytes of 4-byte records) are left out.
  boxes_.Clear();
  boxes_.QueueAnswer(BoxResult::Ok);
  const std::string csv = dir_.Join("data/over.csv");
  files_.AnswerSave(QString::fromStdString(csv));
  dialog->Button1Click();
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(dialog->LastRequest().skipCount, 200);
  EXPECT_EQ(dialog->LastRequest().skipBytes, 800);
  EXPECT_EQ(dialog->LastRequest().ringMask, 0x80000000u);
  const std::string text = TempDir::ReadAll(csv);
  EXPECT_EQ(LineCount(text), 1 + dialog->Info().rings[0].dataCount - 200);
  EXPECT_EQ(text, CoreConversion(dir_.Join("data/over.RLB"), CsvType::Corvex));
  EXPECT_FALSE(gauge_.isVisible());
}

TEST_F(TransTessDlgTest, UnreadableOptionsAreReportedAndTheDefaultsUsed) {
  std::filesystem::create_directory(dir_.Join("TESSARO.INI"));
  SimLine rig(SimFixture::Profile("default"));
  auto dialog = Prepared(rig);
  EXPECT_EQ(boxes_.Texts(), std::vector<std::string>{LoadMessage(MsgCollectionSettingsAccess)});
  EXPECT_TRUE(dialog->RlbSave()->isChecked());
  EXPECT_EQ(dialog->CsvTypeGroup()->Type(), CsvType::Q5);
}

TEST_F(TransTessDlgTest, RefusesACsvNameThatWouldBeTheRlbFile) {
  // The name itself, and a link to the RLB file the collection would make.
  std::filesystem::create_symlink("link.RLB", dir_.Join("data/link.csv"));
  for (const char* name : {"data/x.RLB", "data/link.csv"}) {
    SimLine rig(SimFixture::Profile("default"));
    auto dialog = Prepared(rig);
    boxes_.Clear();
    files_.AnswerSave(QString::fromStdString(dir_.Join(name)));
    dialog->Button1Click();
    EXPECT_EQ(boxes_.Texts(), std::vector<std::string>{LoadMessage(MsgCsvNamesRlb)}) << name;
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(SentCommand(rig.sim.Recorder(), "xdm1kdd1"));
  }
}

TEST_F(TransTessDlgTest, AnExistingRlbFileIsReplacedOnlyAfterTheQuestion) {
  SimLine rig(SimFixture::Profile("default"));
  auto dialog = Prepared(rig);
  dialog->RlbSave()->setChecked(true);
  dialog->CsvTypeGroup()->SetType(CsvType::Q5);
  const std::string rlb = dir_.WriteFile("data/keep.RLB", "earlier");
  const std::string question = FormatMessage(MsgAskReplaceRlb, "keep.RLB");
  boxes_.QueueAnswer(BoxResult::No);
  files_.AnswerSave(QString::fromStdString(dir_.Join("data/keep.csv")));
  dialog->Button1Click();
  EXPECT_EQ(boxes_.Boxes(), (std::vector<RecordedBox>{{BoxKind::YesNo, question, BoxResult::No}}));
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_FALSE(SentCommand(rig.sim.Recorder(), "xdm1kdd1"));
  EXPECT_EQ(TempDir::ReadAll(rlb), "earlier");

  boxes_.Clear();
  boxes_.QueueAnswer(BoxResult::Yes);
  files_.AnswerSave(QString::fromStdString(dir_.Join("data/keep.csv")));
  dialog->Button1Click();
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  EXPECT_EQ(TempDir::ReadAll(dir_.Join("data/keep.csv")), CoreConversion(rlb, CsvType::Q5));
}

// The collection command of the main window, from the button to the files.
class TransCommandTest : public CollectDialogTest {
 protected:
  TransCommandTest() : sim_(SimFixture::Profile("default")) {
    paths_ = MakeAppPaths(dir_.Path(), ProgramFolder());
    CreateSettingsFolder(paths_);
    QDir().mkpath(QString::fromStdString(dir_.Join("data")));
    IniFile::Update(paths_.settingsFile, [&](IniFile& ini) {
      return ini.WriteString("ComPort", "Port", "TCP/IP") &&
             ini.WriteString("TcpPort", "IpAddr", "127.0.0.1") &&
             ini.WriteInteger("TcpPort", "IpPort", sim_.StartTcp()) &&
             ini.WriteInteger("ComPort", "Over", 1) &&
             ini.WriteString("Path", "Data", dir_.Join("data") + "/");
    });
    form_ = std::make_unique<TMainForm>(paths_);
    auto* comEnv = new TComEnvDLG(form_.get());
    comEnv->SetPortLister([](std::vector<std::string>& list) {
      list.clear();
      return true;
    });
    formGauge_ = new TGaugeDLG(form_.get());
    form_->Attach(comEnv, formGauge_);
    InstallCollectionCommands(*form_, files_.Dialogs());
  }
  ~TransCommandTest() override {
    form_.reset();
    sim_.Stop();
  }

  void ShowConnected() {
    form_->show();
    ASSERT_TRUE(WaitUntil([&] { return form_->Lamp(3)->State() == LampState::On; }));
  }

  SimFixture sim_;
  AppPaths paths_;
  std::unique_ptr<TMainForm> form_;
  TGaugeDLG* formGauge_ = nullptr;
};

TEST_F(TransCommandTest, CollectsARingFromTheButtonToTheCsvFile) {
  ShowConnected();
  EXPECT_TRUE(form_->Button(3)->isEnabled());
  files_.AnswerSave(QString::fromStdString(dir_.Join("data/data.csv")));
  int idleWhileOpen = -1;
  WhenDialogUp<TTransTessDLG>([&](TTransTessDLG& dialog) {
    idleWhileOpen = form_->IdleFlag().load();
    dialog.RingList()->setCurrentRow(1);
    dialog.CsvTypeGroup()->SetType(CsvType::Corvex);
    dialog.RlbSave()->setChecked(true);
    dialog.OkButton()->click();
  });
  form_->Button(3)->click();

  EXPECT_EQ(idleWhileOpen, 0);
  EXPECT_EQ(form_->IdleFlag().load(), 1);
  // The kept RLB file's graph is offered, and opens on yes.
  EXPECT_EQ(boxes_.Texts(), std::vector<std::string>{LoadMessage(MsgGraphAfterCollection)});
  auto* graph = form_->findChild<TGraphWindow*>();
  ASSERT_NE(graph, nullptr);
  EXPECT_TRUE(graph->windowTitle().endsWith(QStringLiteral("data.RLB")));
  EXPECT_TRUE(SentCommand(sim_.Recorder(), "xdm1kdd2"));
  // data.csv gives data.RLB beside it, kept as asked.
  const std::string csv = TempDir::ReadAll(dir_.Join("data/data.csv"));
  EXPECT_EQ(csv.substr(0, 2), "NO");
  EXPECT_EQ(LineCount(csv), 1 + sim_.Recorder().RecordCount(1));
  EXPECT_EQ(csv, CoreConversion(dir_.Join("data/data.RLB"), CsvType::Corvex));
  // The report went to the program folder's LOG folder.
  EXPECT_EQ(QDir(QString::fromStdString(dir_.Join("prog/LOG"))).entryList({"*.LOG"}).size(), 1);
  EXPECT_FALSE(formGauge_->isVisible());
  EXPECT_FALSE(formGauge_->isModal());
  // The progress dialog showed the collection under its caption.
  EXPECT_EQ(formGauge_->windowTitle(), QString::fromUtf8("データ回収"));
}

TEST_F(TransCommandTest, ARecorderThatDoesNotAnswerStopsTheCommandBeforeTheDialog) {
  ShowConnected();
  sim_.Faults().Set({.silentAfter = 0});
  form_->Button(3)->click();
  EXPECT_EQ(boxes_.Texts(), std::vector<std::string>{LoadMessage(MsgLineCheckFailed)});
  EXPECT_TRUE(files_.Asked().empty());
  EXPECT_EQ(form_->IdleFlag().load(), 1);
}

TEST_F(TransCommandTest, DuringACollectionTheMainWindowStartsNothingAndStaysOpen) {
  TExchangeGuard guard;
  ShowConnected();
  int otherStarts = 0;
  form_->SetFeatureDialog(FeatureCommand::Memo, [&](AppSession&, QWidget*) {
    ++otherStarts;
    return std::unique_ptr<TCommandDialog>();
  });
  files_.AnswerSave(QString::fromStdString(dir_.Join("data/data.csv")));
  WhenDialogUp<TTransTessDLG>([&](TTransTessDLG& dialog) {
    dialog.RingList()->setCurrentRow(1);
    dialog.CsvTypeGroup()->SetType(CsvType::Corvex);
    dialog.RlbSave()->setChecked(true);
    sim_.Faults().Set({.baud = 38400});  // slow enough to act during it
    dialog.OkButton()->click();
  });
  bool actedDuringExchange = false;
  bool closed = true;
  QTimer poll;
  poll.setInterval(10);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (!formGauge_->isVisible() || formGauge_->windowTitle() != QString::fromUtf8("データ回収"))
      return;
    poll.stop();
    actedDuringExchange = ExchangeInProgress();
    QTest::mouseClick(form_->Button(6), Qt::LeftButton);
    QTest::mouseClick(form_->Button(12), Qt::LeftButton);
    QTest::mouseClick(form_->statusBar(), Qt::RightButton, Qt::AltModifier, QPoint(5, 5));
    QShortcutEvent shiftF2(form_->ActionExt()->shortcut(), 0);
    QApplication::sendEvent(form_->ActionExt(), &shiftF2);
    closed = form_->close();
    sim_.Faults().Clear();
  });
  poll.start();
  form_->Button(3)->click();

  EXPECT_TRUE(actedDuringExchange);
  EXPECT_FALSE(closed);
  EXPECT_TRUE(form_->isVisible());
  EXPECT_EQ(otherStarts, 0);
  EXPECT_FALSE(form_->Session().HighSpeedMode());
  EXPECT_FALSE(form_->Session().ExtendedMode());
  EXPECT_EQ(boxes_.Texts(), std::vector<std::string>{LoadMessage(MsgGraphAfterCollection)});
  const std::string csv = TempDir::ReadAll(dir_.Join("data/data.csv"));
  EXPECT_EQ(LineCount(csv), 1 + sim_.Recorder().RecordCount(1));
  EXPECT_EQ(csv, CoreConversion(dir_.Join("data/data.RLB"), CsvType::Corvex));
}

}  // namespace
}  // namespace tessaro

namespace tessaro {
namespace {

// Under Xvfb with TESSARO_SCREENSHOT_DIR set, saves the two dialogs and the
// main window with a collection running as PNG files.
TEST_F(TransCommandTest, Screenshot) {
  const QString folder = qEnvironmentVariable("TESSARO_SCREENSHOT_DIR");
  if (folder.isEmpty()) GTEST_SKIP() << "TESSARO_SCREENSHOT_DIR is not set";
  ShowConnected();
  form_->ActionCvt()->trigger();
  files_.AnswerSave(QString::fromStdString(dir_.Join("data/shot.csv")));
  WhenDialogUp<TTransTessDLG>([&](TTransTessDLG& dialog) {
    dialog.RingList()->setCurrentRow(1);
    dialog.grab().save(folder + "/trans.png");
    // A slow line keeps the collection on the screen long enough.
    sim_.Faults().Set({.baud = 38400});
    dialog.OkButton()->click();
  });
  QTimer poll;
  poll.setInterval(20);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (!formGauge_->isVisible() || formGauge_->Percent() < 30 ||
        formGauge_->windowTitle() != QString::fromUtf8("データ回収"))
      return;
    poll.stop();
    QGuiApplication::primaryScreen()->grabWindow(0).save(folder + "/main-collecting.png");
    formGauge_->CancelButton()->click();
  });
  poll.start();
  form_->Button(3)->click();
  EXPECT_FALSE(poll.isActive());

  TConvDLG conv(CollectDialogTest::Context(dir_.Join("data") + "/"));
  conv.show();
  conv.grab().save(folder + "/conv.png");
}

}  // namespace
}  // namespace tessaro
