#include "cli/CliCommand.h"
#include "cli/CliLineCheck.h"

namespace tessaro {

int RunProbe(CliContext& context) { return CheckRecorder(context) ? kExitOk : kExitFailed; }

}  // namespace tessaro
