#pragma once
// Writes a checked firmware file to the recorder: the probe, "selectrome"
// (a reply other than "!!" asks the user whether to go on), "eromoff", each
// record as one command with up to three tries, then "eromon". Progress is
// the share of the file's bytes sent; a cancel is seen between records. The
// first failure's text goes to the progress reporter's FlashError.
//
//   RecorderSession session(line, progress);
//   TMotWrite writer(session);
//   MotWriteResult result = writer.WriteFile(path);

#include <functional>
#include <string>
#include <utility>

namespace tessaro {

class LineContext;
class ProgressReporter;
class RecorderSession;
class SRecordFile;

enum class MotWriteResult {
  Written,     // confirmed with "eromon"
  Unchanged,   // ended before the recorder allowed writing: its program is as it was
  Incomplete,  // ended after "eromoff": the recorder may need a new write
};

// Asked when "selectrome" is not acknowledged; true goes on.
using MotQuestion = std::function<bool(const std::string& question)>;

// The question as an information box (OK goes on).
bool AskThroughMessageBox(const std::string& question);

class TMotWrite {
 public:
  explicit TMotWrite(RecorderSession& session, MotQuestion ask = AskThroughMessageBox)
      : session_(session), ask_(std::move(ask)) {}

  // Never throws.
  MotWriteResult Write(const SRecordFile& file);
  // Reads and checks the file first; an unreadable or invalid file ends
  // the write before the line is touched.
  MotWriteResult WriteFile(const std::string& path);

 private:
  void Transfer(const SRecordFile& file);
  bool SendRecord(const std::string& record);
  void SettleLine();

  RecorderSession& session_;
  MotQuestion ask_;
  bool writeAllowed_ = false;  // "eromoff" sent and not refused
};

// The main window's firmware writer: the whole write of one file on the
// line, asking through the message boxes; 1 when confirmed, else 0.
int RunMotWrite(LineContext& line, const std::string& path, ProgressReporter& progress);

}  // namespace tessaro
