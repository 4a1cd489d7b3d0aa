#include "ui/shell/FileDialogs.h"

#include <QFileDialog>
#include <QFileInfo>

#include "ui/shell/FileFilter.h"

namespace tessaro {
namespace {

QString Ask(QWidget* parent, const FileQuestion& question, QFileDialog::AcceptMode mode) {
  QFileDialog dialog(parent);
  dialog.setAcceptMode(mode);
  dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                     : QFileDialog::AnyFile);
  dialog.setNameFilters(ToQtFileFilter(question.filter).split(QStringLiteral(";;")));
  dialog.setDefaultSuffix(question.defaultSuffix);
  const QFileInfo initial(question.initialPath);
  if (initial.isDir()) {
    dialog.setDirectory(initial.absoluteFilePath());
  } else if (!question.initialPath.isEmpty()) {
    dialog.setDirectory(initial.absolutePath());
    dialog.selectFile(initial.fileName());
  }
  if (dialog.exec() != QDialog::Accepted) return {};
  const QStringList files = dialog.selectedFiles();
  return files.isEmpty() ? QString() : files.first();
}

}  // namespace

FileDialogs NativeFileDialogs() {
  return {[](QWidget* parent, const FileQuestion& question) {
            return Ask(parent, question, QFileDialog::AcceptOpen);
          },
          [](QWidget* parent, const FileQuestion& question) {
            return Ask(parent, question, QFileDialog::AcceptSave);
          }};
}

}  // namespace tessaro
