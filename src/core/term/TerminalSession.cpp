#include "core/term/TerminalSession.h"

#include "core/line/LineFacade.h"
#include "core/line/LineWait.h"
#include "core/support/CodePage.h"
#include "core/support/Pump.h"
#include "core/term/CommandHistory.h"
#include "core/term/TermLog.h"
#include "core/term/TermScreen.h"
#include "core/term/TermText.h"

namespace tessaro {
namespace {

// Lets the recorder finish the typed line before the command follows it.
constexpr int kAfterTypedLineMs = 200;
constexpr std::string_view kLogLineEnd = "\r\n";

}  // namespace

void TerminalSession::TypeCharacter(std::string_view cp932) {
  if (cp932.empty() || !IsShownByte(static_cast<uint8_t>(cp932.front()))) return;
  if (typed_.empty()) LineSendSlaveHeader(line_);
  for (const char c : cp932) LinePutChar(line_, static_cast<uint8_t>(c));
  typed_ += cp932;
  Log(cp932);
  if (typed_.size() >= kTermLineBytes) {
    LinePutChar(line_, kCR);
    Show("");
    AddToHistory(Cp932ToUtf8(typed_));
    typed_.clear();
  }
  FlushLog();
}

void TerminalSession::TypeEnter() {
  if (typed_.empty()) {
    LineSendSlaveHeader(line_);
  } else {
    AddToHistory(Cp932ToUtf8(typed_));
    typed_.clear();
  }
  LinePutChar(line_, kCR);
  Log(kLogLineEnd);
  FlushLog();
}

bool TerminalSession::TypeLine(std::string_view typed) {
  // Control bytes are not sent, as a typed control key is not.
  std::string cp932;
  for (const char c : typed)
    if (IsShownByte(static_cast<uint8_t>(c))) cp932 += c;
  bool sent = true;
  for (const std::string& piece : TypedLinePieces(cp932)) {
    sent = sent && LineSendText(line_, piece);
    Log(piece);
    Log(kLogLineEnd);
  }
  FlushLog();
  AddToHistory(Cp932ToUtf8(cp932));
  return sent;
}

void TerminalSession::EndTypedLine() {
  AddToHistory(Cp932ToUtf8(typed_));
  typed_.clear();
  LinePutChar(line_, kCR);
  Show("");
  FlushLog();
  PumpingDelay(kAfterTypedLineMs);
}

bool TerminalSession::SendCommand(const std::string& utf8) {
  if (!typed_.empty()) EndTypedLine();
  const std::string cp932 = Utf8ToCp932(utf8);
  const bool sent = LineSendText(line_, cp932);
  Show(cp932);
  FlushLog();
  return sent;
}

TerminalSession::PasteResult TerminalSession::Paste(const std::string& utf8) {
  if (utf8.empty()) return PasteResult::NotText;
  if (Utf8Characters(utf8) > kMaxPasteCharacters) return PasteResult::TooLong;
  // A command drops what is waiting on the line; show it first.
  Receive();
  for (const std::string& piece : SplitPastedText(utf8)) {
    AddToHistory(piece);
    const std::string cp932 = Utf8ToCp932(piece);
    Show(cp932);
    FlushLog();
    PumpMessages();
    // LineCommand puts the slave header before the command itself.
    std::string reply;
    if (!LineCommand(line_, cp932, reply)) return PasteResult::ExchangeFailed;
    for (const std::string& line : ShownReplyLines(reply)) Show(line);
    FlushLog();
    PumpMessages();
  }
  return PasteResult::Sent;
}

size_t TerminalSession::Receive(size_t maxBytes) {
  size_t taken = 0;
  uint8_t byte = 0;
  while (taken < maxBytes && LineHasData(line_) && LineGetChar(line_, byte)) {
    ++taken;
    if (auto line = received_.Feed(byte)) Show(*line);
  }
  FlushLog();
  return taken;
}

void TerminalSession::AddToHistory(const std::string& utf8) {
  history_.Add(utf8);
  screen_.ShowCommand(utf8);
}

void TerminalSession::Show(const std::string& cp932) {
  screen_.AppendLine(cp932);
  Log(cp932);
  Log(kLogLineEnd);
}

void TerminalSession::Log(std::string_view bytes) {
  if (log_.On()) pendingLog_ += bytes;
}

void TerminalSession::FlushLog() {
  if (pendingLog_.empty()) return;
  const int failure = log_.Append(pendingLog_);
  pendingLog_.clear();
  if (failure != 0) screen_.LogFailed(failure);
}

}  // namespace tessaro
