#pragma once
// The terminal's traffic: typed characters go out one by one (the slave
// header before the first of a line) and are not echoed, a typed line ends
// with CR or at 255 bytes, a command line goes out whole, pasted lines are
// sent as commands each awaiting its reply, and whatever arrives is shown
// line by line. Typed bytes and shown lines are logged; used commands enter
// the history. Nothing here waits for a reply except a paste.
//
//   TerminalSession terminal(line, history, log, screen);
//   terminal.TypeCharacter("v"); ...; terminal.TypeEnter();
//   terminal.Receive(kReceiveBytesPerTick);   // from a timer

#include <cstddef>
#include <string>
#include <string_view>

#include "core/term/ReceivedLines.h"

namespace tessaro {

class LineContext;
class CommandHistory;
class TermLog;
class TermScreen;

// What one receive step takes at most, so a recorder that never stops
// talking cannot hold up the window.
constexpr size_t kReceiveBytesPerTick = 4096;

class TerminalSession {
 public:
  enum class PasteResult { Sent, NotText, TooLong, ExchangeFailed };

  TerminalSession(LineContext& line, CommandHistory& history, TermLog& log, TermScreen& screen)
      : line_(line), history_(history), log_(log), screen_(screen) {}
  TerminalSession(const TerminalSession&) = delete;
  TerminalSession& operator=(const TerminalSession&) = delete;

  // One typed character as CP932 bytes; a control character is not sent.
  void TypeCharacter(std::string_view cp932);
  // Enter: ends the typed line (the line enters the history).
  void TypeEnter();
  const std::string& TypedLine() const { return typed_; }

  // Sends a whole typed line (CP932) at once, without its control bytes, in
  // pieces of at most 255 bytes, each with the slave header and CR; logged
  // and kept in the history as if typed, not shown. False when the line
  // could not be written.
  bool TypeLine(std::string_view typed);

  // Sends a command line (UTF-8) with the slave header and CR, without
  // awaiting a reply. A typed line not yet ended is ended first. False when
  // the line could not be written.
  bool SendCommand(const std::string& utf8);

  // Sends every line of a pasted text (UTF-8) as a command and shows its
  // reply; the first failed exchange stops the paste.
  PasteResult Paste(const std::string& utf8);

  // Shows (and logs) what has arrived, at most maxBytes; returns the number
  // of bytes taken.
  size_t Receive(size_t maxBytes = kReceiveBytesPerTick);

  // Puts a command (UTF-8) at the top of the history and shows it.
  void AddToHistory(const std::string& utf8);

 private:
  void Show(const std::string& cp932);
  void Log(std::string_view bytes);
  void FlushLog();
  void EndTypedLine();

  LineContext& line_;
  CommandHistory& history_;
  TermLog& log_;
  TermScreen& screen_;
  std::string typed_;  // CP932
  ReceivedLines received_;
  std::string pendingLog_;
};

}  // namespace tessaro
