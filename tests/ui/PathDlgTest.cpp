#include "ui/controls/PathDlg.h"

#include <gtest/gtest.h>

#include <QDir>

#include "GuiTestEnvironment.h"
#include "support/TempDir.h"

namespace tessaro {
namespace {

TEST(PathDlg, FolderEndsWithOneSeparator) {
  EXPECT_EQ(TPathDLG::WithTrailingSeparator("/data/DATA"), "/data/DATA/");
  EXPECT_EQ(TPathDLG::WithTrailingSeparator("/data/DATA/"), "/data/DATA/");
  EXPECT_EQ(TPathDLG::WithTrailingSeparator("/"), "/");
  EXPECT_EQ(TPathDLG::WithTrailingSeparator("/データ"), "/データ/");
}

TEST(PathDlg, StartsAtAnExistingFolderElseAtTheRoot) {
  TempDir dir;
  TPathDLG dlg;
  dlg.SetFolder(QString::fromStdString(dir.Path()));
  EXPECT_EQ(dlg.StartFolder(), QString::fromStdString(dir.Path()));
  dlg.SetFolder(QString::fromStdString(dir.Join("gone")));
  EXPECT_EQ(dlg.StartFolder(), QDir::rootPath());
}

TEST(PathDlg, CancelKeepsTheFolderAndAChoiceReplacesIt) {
  TempDir dir;
  TPathDLG dlg;
  QString title;
  dlg.SetFolder("/old");
  dlg.SetChooser([&](QWidget*, const QString& t, const QString&) {
    title = t;
    return QString();
  });
  EXPECT_FALSE(dlg.Execute());
  EXPECT_EQ(dlg.Folder(), "/old/");
  EXPECT_EQ(title, QString::fromUtf8("フォルダーを選択して下さい。"));
  dlg.SetChooser(
      [&](QWidget*, const QString&, const QString&) { return QString::fromStdString(dir.Path()); });
  EXPECT_TRUE(dlg.Execute());
  EXPECT_EQ(dlg.Folder(), QString::fromStdString(dir.Path()) + "/");
}

}  // namespace
}  // namespace tessaro
