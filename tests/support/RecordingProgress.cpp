#include "support/RecordingProgress.h"

namespace tessaro {

void RecordingProgress::SetCaption(const std::string&) {}

void RecordingProgress::SetMessage(const std::string& message) {
  std::lock_guard lock(mutex_);
  messages_.push_back(message);
}

void RecordingProgress::FlashError(const std::string& message) {
  std::lock_guard lock(mutex_);
  errors_.push_back(message);
}

void RecordingProgress::SetPercent(int percent) {
  std::lock_guard lock(mutex_);
  percents_.push_back(percent);
  lastPercent_ = percent;
}

bool RecordingProgress::CancelRequested() const { return lastPercent_ >= cancelAt_; }

std::vector<std::string> RecordingProgress::Messages() const {
  std::lock_guard lock(mutex_);
  return messages_;
}

std::vector<std::string> RecordingProgress::Errors() const {
  std::lock_guard lock(mutex_);
  return errors_;
}

std::vector<int> RecordingProgress::Percents() const {
  std::lock_guard lock(mutex_);
  return percents_;
}

}  // namespace tessaro
