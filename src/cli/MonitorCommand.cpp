#include "cli/MonitorCommand.h"

#include <poll.h>

#include <CLI/CLI.hpp>

#include "cli/CliLineCheck.h"
#include "cli/CliWait.h"
#include "cli/StderrProgress.h"
#include "core/support/CodePage.h"
#include "core/support/Messages.h"
#include "core/term/MonitorLoop.h"

namespace tessaro {

void BindMonitorArguments(CLI::App& command, MonitorArguments& arguments) {
  command.add_option("CMD", arguments.command, "the command to send (default ver)");
  command.add_option("--count", arguments.count, "stop after N replies")
      ->check(CLI::Range(1, 1 << 30));
  command.add_option("--interval", arguments.intervalMs, "pause between commands (default 250)")
      ->type_name("MS")
      ->check(CLI::Range(0, 3600 * 1000));
}

// Replies are the recorder's bytes (CP932) and are printed as they came,
// control bytes as ".".
int RunMonitor(CliContext& context, const MonitorArguments& arguments) {
  if (!CheckRecorder(context)) return kExitFailed;
  StderrProgress::CancelOnInterrupt();
  const StderrProgress interrupt(context.err, false);
  MonitorLoop monitor(Utf8ToCp932(arguments.command));
  int listed = 0;
  for (;;) {
    const MonitorStep step = monitor.Exchange(*context.line);
    if (interrupt.CancelRequested()) return kExitOk;
    if (step.outcome == MonitorStep::GaveUp) {
      context.err << LoadMessage(MsgNoEchoBack) << "\n";
      return kExitFailed;
    }
    if (step.outcome == MonitorStep::Listed) {
      context.out << step.line << std::endl;
      if (arguments.count > 0 && ++listed >= arguments.count) return kExitOk;
    }
    if (!WaitUnlessInterrupted(arguments.intervalMs, interrupt)) return kExitOk;
  }
}

}  // namespace tessaro
