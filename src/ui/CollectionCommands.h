#pragma once
// Plugs the collection dialog (data collection command) and the file
// conversion dialog (hidden conversion command) into the main window.

#include "ui/FileDialogs.h"

namespace tessaro {

class AppSession;
class TMainForm;
struct CollectionContext;

// The dialogs' view of the session at the moment a command starts.
// Throws std::runtime_error when the progress dialog is not attached yet.
CollectionContext CollectionContextOf(AppSession& session, const FileDialogs& files);

// files: the open and save questions the two dialogs ask.
void InstallCollectionCommands(TMainForm& form, FileDialogs files = NativeFileDialogs());

}  // namespace tessaro
