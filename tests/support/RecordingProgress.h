#pragma once
// A progress reporter for tests: records captions, messages, failure texts
// and percentages, and requests a cancel once a given percentage has been
// reached (or at once). Safe to call from worker threads.

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "core/support/ProgressReporter.h"

namespace tessaro {

class RecordingProgress : public ProgressReporter {
 public:
  void SetCaption(const std::string& caption) override;
  void SetMessage(const std::string& message) override;
  void FlashError(const std::string& message) override;
  void SetPercent(int percent) override;
  bool CancelRequested() const override;

  // Cancel is requested from the moment the percentage reaches percent.
  void CancelAtPercent(int percent) { cancelAt_ = percent; }
  void CancelNow() { cancelAt_ = -1; }

  std::vector<std::string> Messages() const;
  std::vector<std::string> Errors() const;
  std::vector<int> Percents() const;

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> messages_;
  std::vector<std::string> errors_;
  std::vector<int> percents_;
  std::atomic<int> cancelAt_{1000};
  std::atomic<int> lastPercent_{0};
};

}  // namespace tessaro
