#include "cli/CliCommand.h"
#include "cli/CliLineCheck.h"
#include "core/line/LineFacade.h"
#include "core/support/Messages.h"

namespace tessaro {

// Replies are the recorder's bytes (CP932) and are printed as they came.
int RunSend(CliContext& context) {
  if (!CheckRecorder(context)) return kExitFailed;
  std::string reply;
  for (const std::string& text : context.options.args) {
    if (!LineCommand(*context.line, text, reply)) {
      context.out.flush();
      context.err << LoadMessage(MsgNoEchoBack) << "\n";
      return kExitFailed;
    }
    context.out << reply << "\n";
  }
  context.out.flush();
  return kExitOk;
}

}  // namespace tessaro
