#pragma once
// The graph of an RLB file from the main window ("グラフ表示" in the
// functions menu: an RLB file chosen from the data folder), from the file
// conversion dialog and after a collection that kept its RLB file.

#include <functional>
#include <string>

#include "ui/shell/FileDialogs.h"

class QWidget;

namespace tessaro {

class AppSession;
class TMainForm;

// Opens the graph window of an RLB file as a child of parent; a file that
// fails analysis has its message shown and opens nothing.
std::function<void(const std::string& rlbPath, QWidget* parent)> GraphOpener(AppSession& session);

void InstallGraphCommand(TMainForm& form, FileDialogs files = NativeFileDialogs());

}  // namespace tessaro
