#include "cli/CliLineCheck.h"

#include "core/line/LineFacade.h"
#include "core/support/Messages.h"

namespace tessaro {

bool CheckRecorder(CliContext& context) {
  LinePurge(*context.line);
  if (LineCheck(*context.line)) return true;
  context.err << LoadMessage(MsgLineCheckFailed) << "\n";
  return false;
}

}  // namespace tessaro
