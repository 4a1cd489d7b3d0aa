#include "cli/ClockCommand.h"

#include <CLI/CLI.hpp>
#include <optional>

#include "cli/CliLineCheck.h"
#include "core/recorder/RecorderFailure.h"
#include "core/recorder/RecorderSession.h"
#include "core/settings/RecorderClock.h"
#include "core/support/Messages.h"
#include "core/support/SilentProgress.h"

namespace tessaro {
namespace {

constexpr const char* kFromPc = "pc";

int Failed(CliContext& context, const std::string& message) {
  context.out.flush();
  context.err << message << "\n";
  return kExitFailed;
}

}  // namespace

void BindClockArguments(CLI::App& command, ClockArguments& arguments) {
  command.add_option("--set", arguments.set, "set the recorder clock to the PC time or to TIME")
      ->type_name("pc|\"YYYY-MM-DD hh:mm:ss\"")
      ->check(CLI::Validator(
          [](const std::string& text) -> std::string {
            if (text == kFromPc || ParseClockSetting(text)) return "";
            return "a date and time YYYY-MM-DD hh:mm:ss between 1980 and 2033, or pc";
          },
          ""));
}

int RunClock(CliContext& context, const ClockArguments& arguments) {
  if (!CheckRecorder(context)) return kExitFailed;
  SilentProgress progress;
  RecorderSession session(*context.line, progress);
  std::optional<std::string> recorder;
  std::string sent;
  const StepResult step = RunOperation([&] {
    if (arguments.set.empty()) {
      recorder = ReadRecorderClock(session);
      return;
    }
    sent =
        arguments.set == kFromPc ? PcClockText(1) : ClockDigits(*ParseClockSetting(arguments.set));
    WriteRecorderClock(session, sent);
  });
  if (!step) return Failed(context, step.message);

  if (!arguments.set.empty()) {
    context.out << "set: " << ExpandClockText(sent) << "\n";
    context.out.flush();
    return kExitOk;
  }
  context.out << "recorder: " << (recorder ? ExpandClockText(*recorder) : kInvalidDateTimeText)
              << "\n"
              << "pc: " << ExpandClockText(PcClockText(0)) << "\n";
  if (!recorder) return Failed(context, LoadMessage(MsgClockUnreadable));
  context.out.flush();
  return kExitOk;
}

}  // namespace tessaro
