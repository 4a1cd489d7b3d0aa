#pragma once
// tessaro-cli memo [--set N=TEXT ...]: prints the recorder's user memos, one
// line each ("00001<TAB>text", UTF-8). --set replaces memo N (from 1; an
// empty TEXT clears it), cut to 16 bytes like the dialog; then every memo is
// written as the dialog's OK does and the list printed again. A TEXT with a
// control character or a character the recorder cannot store, or an N the
// recorder has no memo for, is a usage error and nothing is written.

#include <string>
#include <vector>

#include "cli/CliCommand.h"

namespace CLI {
class App;
}

namespace tessaro {

struct MemoArguments {
  std::vector<std::string> sets;  // "N=TEXT"
};

void BindMemoArguments(CLI::App& command, MemoArguments& arguments);
int RunMemo(CliContext& context, const MemoArguments& arguments);

}  // namespace tessaro
