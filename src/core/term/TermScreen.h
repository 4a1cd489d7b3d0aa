#pragma once
// Where a terminal session shows what happens: the lines, the command that
// entered the history, and a log failure.

#include <string>

namespace tessaro {

class TermScreen {
 public:
  virtual ~TermScreen() = default;

  // One line received or sent, CP932 bytes as they go to the log.
  virtual void AppendLine(const std::string& cp932) = 0;
  // The command (UTF-8) that was just used; it is at the top of the history.
  virtual void ShowCommand(const std::string& utf8) = 0;
  // Writing the log failed (a message number); logging has stopped.
  virtual void LogFailed(int message) = 0;
};

}  // namespace tessaro
