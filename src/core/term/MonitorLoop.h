#pragma once
// The monitor's loop: one command sent over and over, each reply listed as
// "%.5d %s %s" with a running number (1 to 99999, then 1 again); the third
// failed exchange in a row ends it.
//
//   MonitorLoop monitor("ver");
//   for (;;) {
//     MonitorStep step = monitor.Exchange(line);
//     if (step.outcome == MonitorStep::Listed) Show(step.line);
//     if (step.outcome == MonitorStep::GaveUp) break;   // MsgNoEchoBack
//   }

#include <optional>
#include <string>

namespace tessaro {

class LineContext;

struct MonitorStep {
  enum Outcome { Listed, Missed, GaveUp };
  Outcome outcome;
  std::string line;  // CP932, when Listed
};

class MonitorLoop {
 public:
  static constexpr int kLastNumber = 99999;
  static constexpr int kFailuresToGiveUp = 3;

  // command: CP932 bytes as sent.
  explicit MonitorLoop(std::string command = "ver") : command_(std::move(command)) {}

  const std::string& Command() const { return command_; }
  // A new command; numbering starts again.
  void SetCommand(std::string command);

  // One exchange of the command over the line.
  MonitorStep Exchange(LineContext& line);
  // What a reply (nullopt: the exchange failed) makes of the loop.
  MonitorStep Take(const std::optional<std::string>& reply);

 private:
  std::string command_;
  int number_ = 0;
  int failures_ = 0;
};

}  // namespace tessaro
