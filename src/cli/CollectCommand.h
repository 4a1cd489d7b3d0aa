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
//
// Unattended runs: --retries N --retry-wait SECONDS try again after a
// failure on the line; --append FILE adds the ring's new records to one
// growing Corvex CSV file (see CsvAppend); --slave 1,2,5 collects each
// recorder behind the gateway in turn ("{slave}" in --csv and --append
// stands for its ID); --summary-json FILE adds a JSON line per recorder.
// Exit status: 0 when every recorder was collected, 1 when one failed,
// 2 on a usage error, 3 when the line is held by another program.

#include <optional>
#include <ostream>
#include <string>
#include <vector>

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
  int retries = 0;
  double retryWaitSeconds = 10;
  std::string appendPath;   // --append: the growing CSV file
  std::vector<int> slaves;  // --slave list; empty: the line options' addressing
  std::string summaryPath;  // --summary-json
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
