#pragma once

#include "cli/CliCommand.h"

namespace tessaro {

// The first exchange of every recorder command: LinePurge, then LineCheck.
// On failure reports "通信条件に問題があります。" on stderr.
bool CheckRecorder(CliContext& context);

}  // namespace tessaro
