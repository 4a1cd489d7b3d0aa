#include "core/firmware/MotWrite.h"

#include <chrono>
#include <cstdint>

#include "core/collect/WorkerStep.h"
#include "core/firmware/SRecordFile.h"
#include "core/line/LineFacade.h"
#include "core/recorder/RecorderSession.h"
#include "core/support/MessageBox.h"
#include "core/support/Messages.h"

namespace tessaro {
namespace {

constexpr int kTries = 3;
// A line that never falls quiet is given up on after this long.
constexpr auto kSettleLimit = std::chrono::seconds(30);

bool IsAccepted(const std::string& reply) { return reply.rfind("!!", 0) == 0; }

}  // namespace

bool AskThroughMessageBox(const std::string& question) {
  return AskInformation(question) == BoxResult::Ok;
}

MotWriteResult TMotWrite::Write(const SRecordFile& file) {
  writeAllowed_ = false;
  const StepResult result =
      RunWorkerStep(session_.Progress(), [&] { return RunOperation([&] { Transfer(file); }); });
  if (result) return MotWriteResult::Written;
  return writeAllowed_ ? MotWriteResult::Incomplete : MotWriteResult::Unchanged;
}

MotWriteResult TMotWrite::WriteFile(const std::string& path) {
  writeAllowed_ = false;
  SRecordFile file;
  const StepResult loaded = RunWorkerStep(session_.Progress(), [&] { return file.Load(path); });
  if (!loaded) return MotWriteResult::Unchanged;
  return Write(file);
}

void TMotWrite::Transfer(const SRecordFile& file) {
  session_.CheckLine();
  if (!IsAccepted(session_.Ask("selectrome", MsgNoEchoBack)) &&
      !ask_(LoadMessage(MsgEepromRecheck))) {
    Fail(MsgEepromAbandoned);
  }
  session_.CheckCancel();
  // Without an answer the recorder may have taken "eromoff" all the same.
  writeAllowed_ = true;
  const std::string permission = session_.Ask("eromoff", MsgNoEchoBack);
  if (!IsAccepted(permission)) {
    writeAllowed_ = false;
    Fail(MsgNoWritePermission);
  }

  int64_t total = 0;
  for (const std::string& record : file.Records()) total += static_cast<int64_t>(record.size()) + 2;
  int64_t sent = 0;
  for (const std::string& record : file.Records()) {
    Require(SendRecord(record), MsgCommunicationError);
    session_.CheckCancel();
    sent += static_cast<int64_t>(record.size()) + 2;
    if (sent * 100 / total > 0) session_.Percent(static_cast<int>(sent * 100 / total));
  }
  session_.Percent(100);

  Require(IsAccepted(session_.Ask("eromon", MsgNoEchoBack)), MsgNoWriteConfirmation);
}

bool TMotWrite::SendRecord(const std::string& record) {
  for (int attempt = 1; attempt <= kTries; ++attempt) {
    std::string reply;
    if (LineCommand(session_.Line(), record, reply)) {
      if (IsAccepted(reply)) return true;
    } else if (attempt < kTries) {
      SettleLine();
    }
  }
  return false;
}

// A try that timed out may still be answered: read and drop what arrives
// until the line has been quiet for one reply wait, so that a late "!!" is
// never taken as the answer to the next try.
void TMotWrite::SettleLine() {
  const auto limit = std::chrono::steady_clock::now() + kSettleLimit;
  uint8_t scrap = 0;
  while (LineGetChar(session_.Line(), scrap) && std::chrono::steady_clock::now() < limit) {
  }
}

int RunMotWrite(LineContext& line, const std::string& path, ProgressReporter& progress) {
  RecorderSession session(line, progress);
  return TMotWrite(session).WriteFile(path) == MotWriteResult::Written ? 1 : 0;
}

}  // namespace tessaro
