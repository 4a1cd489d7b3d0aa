#pragma once
// tessaro-cli collect [--ring NEW|OLD-nn] [--form q5|corvex] [--csv PATH]
// [--keep-rlb] [--overwrite] [--overwrite-ok] [--high-speed]: the collection
// dialog's work without a window. The management information is read and
// checked as the dialog does; without --csv the file name is proposed in the
// data folder of the settings file. A kept RLB file replaces an existing one
// of its name only with --overwrite (checked before the recorder is asked
// anything). Overwritten leading records are dropped only with
// --overwrite-ok. The CSV path (and the RLB path when kept) go to out;
// progress, notices and failures to err; Ctrl-C cancels cleanly.

#include <optional>
#include <ostream>
#include <string>

#include "cli/CliCommand.h"
#include "core/collect/CsvWriter.h"

namespace CLI {
class App;
}

namespace tessaro {

class LineContext;

struct CollectArguments {
  int ring = 0;
  std::optional<CsvType> form;  // default: [Csv] Type of the settings file
  std::string csvPath;          // empty: proposed in the data folder
  bool keepRlb = false;
  bool overwrite = false;    // an existing RLB file of the name may be replaced
  bool overwriteOk = false;  // overwritten leading records may be dropped
  bool highSpeed = false;    // the main window's high-speed flag: Mnp for 128-byte recorders
};

void BindCollectArguments(CLI::App& command, CollectArguments& arguments);

struct CollectSetup {
  std::string databasePath;   // empty: DB/Master.mdb in the program folder
  std::string programFolder;  // work copy and LOG; empty: the writable program folder
  std::string settingsFile;   // empty: the current user's settings file
  std::string baseFolder;     // with settingsFile: the data folder's fallback
  bool interruptCancels = false;
};

int RunCollectCommand(LineContext& line, const CollectArguments& arguments,
                      const CollectSetup& setup, std::ostream& out, std::ostream& err);

// The command's entry point.
int RunCollect(CliContext& context, const CollectArguments& arguments);

}  // namespace tessaro
