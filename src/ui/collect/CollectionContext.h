#pragma once
// What the collection and file conversion dialogs take from the main window,
// so that each can be built in a test with its own folders and answers.

#include <functional>
#include <string>

#include "ui/shell/FileDialogs.h"

namespace tessaro {

class DefinitionDb;
class TGaugeDLG;

struct CollectionContext {
  const DefinitionDb& db;
  TGaugeDLG& gauge;
  std::string settingsFile;   // [Rlb] Save and [Csv] Type
  std::string dataFolder;     // where the proposed file names go (ends with '/')
  std::string programFolder;  // work copy and LOG folder (ends with '/')
  FileDialogs files;
  // Opens the graph of an RLB file (the conversion dialog's button, the
  // offer after a collection that kept its RLB file); none when empty.
  std::function<void(const std::string& rlbPath, QWidget* parent)> showGraph;
};

}  // namespace tessaro
