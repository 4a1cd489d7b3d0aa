#pragma once
// tessaro-cli convert RLB [--csv PATH] [--form q5|corvex]: the file
// conversion without a window. The CSV file defaults to the RLB path with
// ".CSV" for its extension; the report goes to the month's LOG file as in
// the program. Notices of the analysis (overwritten data, battery LOW,
// unknown mode) reach the message boxes (stderr in the command line) and do
// not fail the run; Ctrl-C cancels cleanly.

#include <ostream>
#include <string>

#include "cli/CliCommand.h"
#include "core/collect/CsvWriter.h"

namespace CLI {
class App;
}

namespace tessaro {

struct ConvertArguments {
  std::string rlbPath;
  std::string csvPath;  // empty: DefaultCsvPath(rlbPath)
  CsvType form = CsvType::Q5;
};

void BindConvertArguments(CLI::App& command, ConvertArguments& arguments);

// The path with its extension (if any) replaced by ".CSV".
std::string DefaultCsvPath(const std::string& rlbPath);

struct ConvertSetup {
  std::string databasePath;   // empty: DB/Master.mdb in the program folder
  std::string programFolder;  // work copy and LOG; empty: the writable program folder
  bool interruptCancels = false;
};

// Runs a parsed conversion: the CSV path goes to out on success; progress
// and failures go to err.
int RunConvertCommand(const ConvertArguments& arguments, const ConvertSetup& setup,
                      std::ostream& out, std::ostream& err);

// The command's entry point.
int RunConvert(CliContext& context, const ConvertArguments& arguments);

}  // namespace tessaro
