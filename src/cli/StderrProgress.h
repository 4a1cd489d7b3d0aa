#pragma once
// The command line's progress display: on a terminal one line redrawn in
// place ("message [#######.....]  42%"), elsewhere one line per message and
// no bar, so that logs stay readable. Failure texts get a line of their own.
// Cancel comes from RequestCancel or, once CancelOnInterrupt() is called,
// from Ctrl-C (SIGINT), SIGTERM or SIGHUP: the running operation then stops
// cleanly and removes what it had begun to write.

#include <atomic>
#include <mutex>
#include <ostream>
#include <string>

#include "core/support/ProgressReporter.h"

namespace tessaro {

class StderrProgress : public ProgressReporter {
 public:
  // Draws a bar only when out is std::cerr on a terminal.
  explicit StderrProgress(std::ostream& out);
  StderrProgress(std::ostream& out, bool interactive);
  ~StderrProgress() override;

  void SetCaption(const std::string& caption) override;
  void SetMessage(const std::string& message) override;
  void FlashError(const std::string& message) override;
  void SetPercent(int percent) override;
  bool CancelRequested() const override;

  void RequestCancel() { cancel_ = true; }
  // Ends the bar's line; later output starts on a fresh line.
  void Finish();

  // From now on SIGINT, SIGTERM and SIGHUP request a cancel of every
  // StderrProgress instead of ending the program.
  static void CancelOnInterrupt();

 private:
  void DrawLocked();
  void EndLineLocked();
  std::string PrefixLocked() const;

  std::ostream& out_;
  bool interactive_;
  mutable std::mutex mutex_;
  std::string caption_;
  std::string message_;
  int percent_ = -1;
  bool lineOpen_ = false;
  std::atomic<bool> cancel_{false};
};

}  // namespace tessaro
