#pragma once
// The open and save file questions of the function dialogs. They are plain
// functions so that a test can answer them without a native dialog.

#include <QString>
#include <functional>

class QWidget;

namespace tessaro {

struct FileQuestion {
  QString filter;         // "description|pattern|description|pattern"
  QString defaultSuffix;  // without the dot; added to a name typed without one
  QString initialPath;    // a folder, or a folder and the proposed file name
};

// The chosen file; empty when the user cancelled.
using AskFileName = std::function<QString(QWidget* parent, const FileQuestion& question)>;

struct FileDialogs {
  AskFileName askOpenFileName;  // the file must exist
  AskFileName askSaveFileName;  // an existing file is confirmed before it is chosen
};

// The Qt file dialogs.
FileDialogs NativeFileDialogs();

}  // namespace tessaro
