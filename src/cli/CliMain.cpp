#include "cli/CliMain.h"

#include "cli/CliCommandLine.h"
#include "core/line/CommError.h"
#include "core/line/LineBusyError.h"
#include "core/line/LineContext.h"
#include "core/line/LineFacade.h"
#include "core/line/SerialPortDiagnosis.h"

namespace tessaro {
namespace {

// Configures the line as the main window does: settings, then slave
// addressing with its flow control, then open.
void OpenLine(LineContext& line, const LineSettings& settings, const CliOptions& options) {
  ApplyLineSettings(line, settings);
  const bool slaved = options.slave.has_value();
  LineSetSlave(line, slaved, options.slave.value_or(0));
  if (slaved)
    LineFlowNone(line);
  else
    LineFlowRtsCts(line);
  LineOpen(line);
}

}  // namespace

int RunCli(const std::vector<std::string>& args, const LineSettings& fallback, std::ostream& out,
           std::ostream& err) {
  CliCommandLine commandLine;
  int status = kExitOk;
  if (!commandLine.Parse(args, out, err, status)) return status;
  const CliOptions& options = commandLine.Options();
  using Line = CliCommandLine::Line;
  if (commandLine.CommandLine() == Line::NotUsed) {
    CliContext context{options, nullptr, out, err};
    return commandLine.RunCommand(context);
  }
  LineContext line;
  line.LockWaitMs = options.waitLine.value_or(0) * 1000;
  int openFailure = kExitFailed;
  auto open = [&] {
    try {
      OpenLine(line, ResolveLineSettings(options, fallback), options);
      return true;
    } catch (const ELineBusy& e) {
      err << "tessaro-cli: " << e.what() << "\n";
      openFailure = kExitLineBusy;
    } catch (const ECommOpenError& e) {
      err << e.what() << "\n"
          << ExplainPortOpenFailure(line.CommLine.DevicePath(), e.SystemError()) << "\n";
    }
    return false;
  };
  if (commandLine.CommandLine() == Line::Needed && !open()) return openFailure;
  CliContext context{options, &line, out, err, open};
  status = commandLine.RunCommand(context);
  LineClose(line);
  return status;
}

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  return RunCli(args, UserLineSettings(), out, err);
}

}  // namespace tessaro
