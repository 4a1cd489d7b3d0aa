#include "ui/collect/ConvDlg.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QPushButton>
#include <QRadioButton>
#include <memory>

#include "CollectDialogKit.h"
#include "GuiTestEnvironment.h"
#include "core/collect/CollectionPlan.h"
#include "core/collect/ConversionStep.h"
#include "core/support/Messages.h"
#include "support/RecordingMessageBox.h"
#include "support/RecordingProgress.h"
#include "support/TempDir.h"
#include "support/TestRlbFile.h"
#include "ui/collect/CollectionCommands.h"
#include "ui/collect/CsvTypeGroup.h"
#include "ui/collect/TransTessDlg.h"
#include "ui/controls/IconBtn.h"
#include "ui/shell/GaugeDlg.h"
#include "ui/shell/MainForm.h"

namespace tessaro {
namespace {

TEST(ProposedCsvPathTest, ChangesTheLastExtensionInTheSameFolder) {
  EXPECT_EQ(ProposedCsvPath("/data/DT2026120800.RLB"), "/data/DT2026120800.CSV");
  EXPECT_EQ(ProposedCsvPath("/data/run.1/site.a.rlb"), "/data/run.1/site.a.CSV");
  EXPECT_EQ(ProposedCsvPath("/data.d/noext"), "/data.d/noext.CSV");
  EXPECT_EQ(ProposedCsvPath("relative.RLB"), "relative.CSV");
}

class ConvDlgTest : public CollectDialogTest {
 protected:
  ConvDlgTest() {
    TestRlb rlb;
    rlb.channels = {{1, 1001, -1, 1, 2}, {2, 1001, -2, 11, 2}};
    for (int e = 0; e < 120; ++e) rlb.records.push_back(Concat({Be16(e * 3 - 40), Be16(e)}));
    rlbPath_ = dir_.Join("DT2026120800.RLB");
    EXPECT_TRUE(TestRlbFile(rlb).Write(rlbPath_));
  }

  CollectionContext Context() { return CollectDialogTest::Context(dir_.Path() + "/"); }
  std::string CoreConversion(CsvType type) {
    return CollectDialogTest::CoreConversion(rlbPath_, type);
  }

  std::string rlbPath_;
};

TEST_F(ConvDlgTest, ConvertsTheChosenRlbFileIntoTheProposedCsvFile) {
  TConvDLG dialog(Context());
  dialog.show();
  EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("ファイル変換"));
  EXPECT_EQ(dialog.size(), QSize(280, 110));
  EXPECT_EQ(dialog.CsvTypeGroup()->Type(), CsvType::Q5);
  files_.AnswerOpen(QString::fromStdString(rlbPath_));
  files_.AnswerSaveProposed();
  dialog.CsvTypeGroup()->SetType(CsvType::Corvex);
  dialog.OkButton()->click();

  ASSERT_EQ(files_.Asked().size(), 2u);
  const FileQuestion& open = files_.Asked()[0].question;
  EXPECT_FALSE(files_.Asked()[0].save);
  EXPECT_EQ(open.filter, QString::fromUtf8("RLBﾌｧｲﾙ(*.RLB)|*.RLB|すべてのﾌｧｲﾙ(*.*)|*.*"));
  EXPECT_EQ(open.defaultSuffix, "RLB");
  const FileQuestion& save = files_.Asked()[1].question;
  EXPECT_EQ(save.initialPath.toStdString(), dir_.Join("DT2026120800.CSV"));
  EXPECT_EQ(save.filter, QString::fromUtf8("CSVﾌｧｲﾙ(*.CSV)|*.CSV"));

  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_TRUE(boxes_.Boxes().empty());
  const std::string csv = TempDir::ReadAll(dir_.Join("DT2026120800.CSV"));
  EXPECT_EQ(csv.substr(0, 2), "NO");
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 121);
  EXPECT_EQ(csv, CoreConversion(CsvType::Corvex));
  // The input stays; the progress dialog showed the run and is gone again.
  EXPECT_FALSE(TempDir::ReadAll(rlbPath_).empty());
  EXPECT_FALSE(gauge_.isVisible());
  EXPECT_EQ(gauge_.windowTitle(), QString::fromUtf8("管理情報の読込み"));
}

TEST_F(ConvDlgTest, CancellingEitherFileQuestionKeepsTheDialogOpen) {
  TConvDLG dialog(Context());
  dialog.show();
  dialog.OkButton()->click();  // open question cancelled
  EXPECT_EQ(files_.Asked().size(), 1u);
  EXPECT_TRUE(dialog.isVisible());

  files_.AnswerOpen(QString::fromStdString(rlbPath_));
  dialog.OkButton()->click();  // save question cancelled
  EXPECT_EQ(files_.Asked().size(), 3u);
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_TRUE(TempDir::ReadAll(dir_.Join("DT2026120800.CSV")).empty());

  // Naming the input as the output would destroy it.
  files_.AnswerOpen(QString::fromStdString(rlbPath_));
  files_.AnswerSave(QString::fromStdString(rlbPath_));
  const std::string before = TempDir::ReadAll(rlbPath_);
  dialog.OkButton()->click();
  EXPECT_EQ(boxes_.Texts(), std::vector<std::string>{LoadMessage(MsgCsvNamesRlb)});
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(TempDir::ReadAll(rlbPath_), before);
}

TEST_F(ConvDlgTest, ItsFormBecomesTheCollectionDefaultWhileItOpensOnQ5) {
  {
    TConvDLG dialog(Context());
    dialog.show();
    dialog.CsvTypeGroup()->SetType(CsvType::Corvex);
    dialog.OkButton()->click();  // the form is stored before the file question
  }
  EXPECT_EQ(LoadCollectionOptions(dir_.Join("TESSARO.INI")).csvType, CsvType::Corvex);

  TConvDLG again(Context());
  again.show();
  EXPECT_EQ(again.CsvTypeGroup()->Type(), CsvType::Q5);

  SimLine rig(SimFixture::Profile("default"));
  TTransTessDLG collection(rig.line, false, Context());
  ASSERT_TRUE(collection.Prepare());
  EXPECT_EQ(collection.CsvTypeGroup()->Type(), CsvType::Corvex);
}

TEST_F(ConvDlgTest, HiddenCommandOfTheMainWindowRunsTheDialog) {
  const AppPaths paths = MakeAppPaths(dir_.Path(), dir_.Join("prog") + "/");
  CreateSettingsFolder(paths);
  TMainForm form(paths);
  auto* gauge = new TGaugeDLG(&form);
  form.Attach(nullptr, gauge);
  InstallCollectionCommands(form, files_.Dialogs());
  EXPECT_TRUE(form.FeatureEnabled(FeatureCommand::Convert));
  form.ActionCvt()->trigger();
  EXPECT_FALSE(form.Button(13)->isHidden());

  files_.AnswerOpen(QString::fromStdString(rlbPath_));
  files_.AnswerSave(QString::fromStdString(dir_.Join("out.csv")));
  int idleWhileOpen = -1;
  WhenDialogUp<TConvDLG>([&](TConvDLG& dialog) {
    idleWhileOpen = form.IdleFlag().load();
    dialog.OkButton()->click();
  });
  form.ConvertMenuItem()->trigger();
  EXPECT_EQ(idleWhileOpen, 0);
  EXPECT_EQ(form.IdleFlag().load(), 1);
  EXPECT_TRUE(boxes_.Boxes().empty());
  EXPECT_EQ(TempDir::ReadAll(dir_.Join("out.csv")), CoreConversion(CsvType::Q5));
}

}  // namespace
}  // namespace tessaro
