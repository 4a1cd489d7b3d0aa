#include "ui/print/PrintDlg.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPageLayout>
#include <QPrinter>
#include <QPushButton>
#include <filesystem>

#include "core/support/IniFile.h"
#include "core/support/PrinterChoice.h"
#include "support/RecordingMessageBox.h"
#include "support/TempDir.h"
#include "ui/print/PrinterSettings.h"

namespace tessaro {
namespace {

class PrintSettingsTest : public testing::Test {
 protected:
  PrintSettingsTest() {
    paths_.settingsFile = dir_.Join("TESSARO.INI");
    paths_.printSettingsFile = dir_.Join("TESSARO.PLV");
    printer_.setOutputFormat(QPrinter::PdfFormat);
  }
  static void ChangeEverything(QPrinter& printer) {
    printer.setPageSize(QPageSize(QPageSize::A5));
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setPageMargins(QMarginsF(7, 8, 9, 10), QPageLayout::Millimeter);
    printer.setCopyCount(3);
    printer.setColorMode(QPrinter::GrayScale);
  }
  static void ExpectChanged(const QPrinter& printer) {
    EXPECT_EQ(printer.pageLayout().pageSize().id(), QPageSize::A5);
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);
    EXPECT_EQ(printer.pageLayout().margins(QPageLayout::Millimeter), QMarginsF(7, 8, 9, 10));
    EXPECT_EQ(printer.copyCount(), 3);
    EXPECT_EQ(printer.colorMode(), QPrinter::GrayScale);
  }
  static void ExpectDefault(const QPrinter& printer) {
    const QPrinter fresh;
    EXPECT_EQ(printer.pageLayout().pageSize().id(), fresh.pageLayout().pageSize().id());
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Portrait);
    EXPECT_EQ(printer.copyCount(), 1);
  }

  TempDir dir_;
  AppPaths paths_;
  QPrinter printer_;
  RecordingMessageBox boxes_;
  ScopedMessageBoxHandler install_{boxes_};
};

TEST_F(PrintSettingsTest, SetupResultIsSavedConfirmedOrNotAndRestoredByName) {
  TPrintDLG dialog(printer_, paths_);
  int runs = 0;
  dialog.SetSetupDialog([&](QPrinter& printer, QWidget*) {
    ++runs;
    ChangeEverything(printer);
    return true;  // the user's answer does not matter
  });
  dialog.show();
  EXPECT_FALSE(dialog.Shade());
  EXPECT_EQ(dialog.LayoutList()->currentIndex(), 0);
  EXPECT_TRUE(dialog.LayoutList()->isHidden());
  dialog.SetupButton()->click();
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(dialog.PaperLabel()->text(), QStringLiteral("A5"));
  EXPECT_EQ(boxes_.Count(), 0u);

  // The PDF printer has no name; a named one is restored from its name.
  IniFile::Update(paths_.settingsFile,
                  [](IniFile& ini) { return ini.WriteString("Printer", "Name", "Office Laser"); });
  QPrinter restored;
  restored.setOutputFormat(QPrinter::PdfFormat);
  EXPECT_FALSE(RestorePrinterSettings(restored, paths_, {"Other"}));
  ExpectDefault(restored);
  EXPECT_TRUE(RestorePrinterSettings(restored, paths_, {"Other", "Office Laser"}));
  ExpectChanged(restored);
}

TEST_F(PrintSettingsTest, SetupThatCannotRunSavesNothing) {
  TPrintDLG dialog(printer_, paths_);
  dialog.SetSetupDialog([](QPrinter&, QWidget*) { return false; });
  dialog.SetupButton()->click();
  EXPECT_EQ(boxes_.Texts(),
            std::vector<std::string>{"プリンタ設定ダイアログの呼出しに失敗しました。"});
  EXPECT_FALSE(std::filesystem::exists(paths_.printSettingsFile));
}

TEST_F(PrintSettingsTest, UnwritableSettingsFileIsReported) {
  paths_.printSettingsFile = dir_.Join("missing/TESSARO.PLV");
  TPrintDLG dialog(printer_, paths_);
  dialog.SetSetupDialog([](QPrinter&, QWidget*) { return true; });
  dialog.SetupButton()->click();
  EXPECT_EQ(boxes_.Texts(), std::vector<std::string>{"プリンタ設定条件の保存に失敗しました。"});
}

TEST_F(PrintSettingsTest, ForeignOrDamagedSettingsChangeNothing) {
  ChangeEverything(printer_);
  const std::string good = SerializePrinterSettings(printer_);
  QPrinter other;
  other.setOutputFormat(QPrinter::PdfFormat);
  for (const std::string& bad : {std::string(), std::string("\x01\x02\x03"), good.substr(0, 20),
                                 good + std::string(4, '\0')})
    EXPECT_FALSE(ApplyPrinterSettings(other, bad));
  ExpectDefault(other);
  EXPECT_TRUE(ApplyPrinterSettings(other, good));
  ExpectChanged(other);

  // A foreign print settings file leaves the default settings in place.
  dir_.WriteFile("TESSARO.INI", "[Printer]\nName=Office Laser\n");
  dir_.WriteFile("TESSARO.PLV", std::string(300, '\x7f'));
  QPrinter restored;
  restored.setOutputFormat(QPrinter::PdfFormat);
  EXPECT_FALSE(RestorePrinterSettings(restored, paths_, {"Office Laser"}));
  ExpectDefault(restored);
}

}  // namespace
}  // namespace tessaro
