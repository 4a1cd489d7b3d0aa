#include "cli/CliMain.h"

#include <algorithm>
#include <cstring>

#include "cli/CliCommand.h"
#include "core/line/CommError.h"
#include "core/line/LineContext.h"
#include "core/line/LineFacade.h"

namespace tessaro {
namespace {

const CliCommand* FindCommand(const std::string& name) {
  const auto& commands = CliCommands();
  const auto it = std::find_if(commands.begin(), commands.end(),
                               [&](const CliCommand& c) { return name == c.name; });
  return it == commands.end() ? nullptr : &*it;
}

int UsageError(std::ostream& err, const std::string& reason) {
  err << "tessaro-cli: " << reason << "\n";
  PrintUsage(err);
  return kExitUsage;
}

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

void PrintUsage(std::ostream& out) {
  out << "usage: tessaro-cli [line options] COMMAND [ARGUMENTS]\n\ncommands:\n";
  for (const CliCommand& c : CliCommands()) {
    constexpr size_t kColumn = 18;
    std::string head = std::string(c.name) + (std::strlen(c.arguments) ? " " : "") + c.arguments;
    // A long synopsis gets the summary on a line of its own.
    if (head.size() + 2 > kColumn)
      head += "\n" + std::string(kColumn + 2, ' ');
    else
      head.resize(kColumn, ' ');
    out << "  " << head << c.summary << "\n";
  }
  out << "\nline options (default: the line settings of the settings file):\n"
         "  --port DEVICE     serial port: a device path such as /dev/ttyUSB0, or COM<n>\n"
         "  --baud RATE       serial bit rate\n"
         "  --data 7|8        data bits\n"
         "  --stop 1|1.5|2    stop bits\n"
         "  --parity none|odd|even\n"
         "  --tcp HOST:PORT   TCP line to a gateway instead of a serial port\n"
         "  --slave ID        address the recorder with this slave ID (multi-link line)\n"
         "  --timeout SECONDS reply timeout\n";
}

int RunCli(const std::vector<std::string>& args, const LineSettings& fallback, std::ostream& out,
           std::ostream& err) {
  CliOptions options;
  std::string error;
  if (!ParseCliOptions(args, options, error)) return UsageError(err, error);
  if (options.help) {
    PrintUsage(out);
    return kExitOk;
  }
  if (options.command.empty()) return UsageError(err, "no command given");
  const CliCommand* command = FindCommand(options.command);
  if (!command) return UsageError(err, "unknown command " + options.command);
  const int n = static_cast<int>(options.args.size());
  if (n < command->minArgs || (command->maxArgs >= 0 && n > command->maxArgs))
    return UsageError(err, "wrong number of arguments for " + options.command);

  if (!command->needsLine) {
    CliContext context{options, nullptr, out, err};
    return command->run(context);
  }
  LineContext line;
  try {
    OpenLine(line, ResolveLineSettings(options, fallback), options);
  } catch (const ECommOpenError& e) {
    err << e.what() << "\n";
    return kExitFailed;
  }
  CliContext context{options, &line, out, err};
  const int status = command->run(context);
  LineClose(line);
  return status;
}

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  return RunCli(args, UserLineSettings(), out, err);
}

}  // namespace tessaro
