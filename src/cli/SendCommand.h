#pragma once
// tessaro-cli send TEXT...: each TEXT as a command, each reply on a line.

#include <string>
#include <vector>

#include "cli/CliCommand.h"

namespace CLI {
class App;
}

namespace tessaro {

struct SendArguments {
  std::vector<std::string> texts;
};

void BindSendArguments(CLI::App& command, SendArguments& arguments);
int RunSend(CliContext& context, const SendArguments& arguments);

}  // namespace tessaro
