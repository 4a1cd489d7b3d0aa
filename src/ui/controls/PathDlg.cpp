#include "ui/controls/PathDlg.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

#include "ui/shell/QtText.h"

namespace tessaro {

TPathDLG::TPathDLG(QWidget* owner) : QObject(owner), owner_(owner), title_(Msg(MsgPathTitle)) {
  chooser_ = [](QWidget* parent, const QString& title, const QString& start) {
    return QFileDialog::getExistingDirectory(parent, title, start, QFileDialog::ShowDirsOnly);
  };
}

QString TPathDLG::StartFolder() const {
  if (!folder_.isEmpty() && QFileInfo(folder_).isDir()) return folder_;
  switch (root_) {
    case TRootFolder::rfDeskTop:
      return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    case TRootFolder::rfNetWork:
    case TRootFolder::rfDrives:
      break;
  }
  return QDir::rootPath();
}

bool TPathDLG::Execute() {
  const QString chosen = chooser_(owner_, title_, StartFolder());
  if (chosen.isEmpty()) return false;
  folder_ = QDir::cleanPath(chosen);
  return true;
}

QString TPathDLG::WithTrailingSeparator(const QString& folder) {
  if (folder.isEmpty() || folder.endsWith(QLatin1Char('/'))) return folder;
  return folder + QLatin1Char('/');
}

}  // namespace tessaro
