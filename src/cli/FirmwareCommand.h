#pragma once
// tessaro-cli firmware FILE [--yes] [--check]: checks the S-record file
// whole, then (without --check) writes it to the recorder. Exit status:
// 0 written and confirmed; 1 failed before "eromoff" (the recorder is
// unchanged); 2 usage, an invalid file, or no terminal to ask on without
// --yes; 3 failed or cancelled after "eromoff" (the recorder may need a new
// write).

#include <string>

#include "cli/CliCommand.h"

namespace CLI {
class App;
}

namespace tessaro {

constexpr int kExitFirmwareIncomplete = 3;

struct FirmwareArguments {
  std::string file;
  bool yes = false;
  bool check = false;
};

void BindFirmwareArguments(CLI::App& command, FirmwareArguments& arguments);
int RunFirmware(CliContext& context, const FirmwareArguments& arguments);

}  // namespace tessaro
