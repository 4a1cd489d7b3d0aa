#include "cli/SendCommand.h"

#include <CLI/CLI.hpp>

#include "cli/CliLineCheck.h"
#include "core/line/LineFacade.h"
#include "core/support/Messages.h"

namespace tessaro {

void BindSendArguments(CLI::App& command, SendArguments& arguments) {
  command.add_option("TEXT", arguments.texts, "a command for the recorder")->required();
}

// Replies are the recorder's bytes (CP932) and are printed as they came.
int RunSend(CliContext& context, const SendArguments& arguments) {
  if (!CheckRecorder(context)) return kExitFailed;
  std::string reply;
  for (const std::string& text : arguments.texts) {
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
