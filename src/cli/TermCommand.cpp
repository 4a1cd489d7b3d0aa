#include "cli/TermCommand.h"

#include <poll.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstring>

#include "cli/CliWait.h"
#include "cli/StderrProgress.h"
#include "core/line/LineContext.h"
#include "core/line/LineWait.h"
#include "core/support/CodePage.h"
#include "core/support/Messages.h"
#include "core/term/CommandHistory.h"
#include "core/term/TermLog.h"
#include "core/term/TermScreen.h"
#include "core/term/TerminalSession.h"

namespace tessaro {
namespace {

// How often the line is looked at while stdin is silent.
constexpr int kReceiveMs = 50;

class StreamScreen : public TermScreen {
 public:
  StreamScreen(std::ostream& out, std::ostream& err) : out_(out), err_(err) {}
  // Recorder bytes (CP932) are printed as they came, control bytes as ".".
  void AppendLine(const std::string& cp932) override { out_ << cp932 << std::endl; }
  void ShowCommand(const std::string&) override {}
  void LogFailed(int message) override { err_ << LoadMessage(message) << "\n"; }

 private:
  std::ostream& out_;
  std::ostream& err_;
};

// The complete lines at the start of pending (their LF, and a CR before it,
// removed); the rest stays.
std::vector<std::string> TakeLines(std::string& pending) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = pending.find('\n', start)) != std::string::npos; start = end + 1) {
    size_t stop = end;
    if (stop > start && pending[stop - 1] == '\r') --stop;
    lines.push_back(pending.substr(start, stop - start));
  }
  pending.erase(0, start);
  return lines;
}

}  // namespace

void BindTermArguments(CLI::App& command, TermArguments& arguments) {
  command.add_option("--log", arguments.logFile, "append what is typed and shown to FILE")
      ->type_name("FILE");
}

int RunTerm(CliContext& context, const TermArguments& arguments) {
  StreamScreen screen(context.out, context.err);
  CommandHistory history;
  TermLog log;
  if (!arguments.logFile.empty()) {
    if (const int failure = log.Start(arguments.logFile)) {
      context.err << LoadMessage(failure) << " " << arguments.logFile << "\n";
      return kExitFailed;
    }
  }
  TerminalSession terminal(*context.line, history, log, screen);
  StderrProgress::CancelOnInterrupt();
  const StderrProgress interrupt(context.err, false);

  std::string pending;
  bool ended = false;
  while (!ended) {
    pollfd input{STDIN_FILENO, POLLIN, 0};
    const int ready = ::poll(&input, 1, kReceiveMs);
    if (interrupt.CancelRequested()) return kExitOk;
    if (ready > 0) {
      char buffer[4096];
      const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
      if (got < 0 && errno != EINTR && errno != EAGAIN) {
        context.err << "stdin: " << std::strerror(errno) << "\n";
        return kExitFailed;
      }
      if (got == 0) {
        ended = true;
        if (!pending.empty()) pending += '\n';
      }
      if (got > 0) pending.append(buffer, static_cast<size_t>(got));
      for (const std::string& line : TakeLines(pending)) {
        if (!terminal.TypeLine(Utf8ToCp932(line))) {
          context.err << LoadMessage(MsgTermSendFailed) << "\n";
          return kExitFailed;
        }
      }
    }
    terminal.Receive();
  }
  // The last replies: until the line has been quiet for the reply timeout.
  const int quietMs = context.line->Current().CommWait();
  auto quietUntil = DeadlineAfter(quietMs);
  while (MillisecondsLeft(quietUntil) > 0) {
    if (terminal.Receive() > 0) quietUntil = DeadlineAfter(quietMs);
    if (!WaitUnlessInterrupted(kReceiveMs, interrupt)) break;
  }
  return kExitOk;
}

}  // namespace tessaro
