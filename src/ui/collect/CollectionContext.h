#pragma once
// What the collection and file conversion dialogs take from the main window,
// so that each can be built in a test with its own folders and answers.

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
};

}  // namespace tessaro
