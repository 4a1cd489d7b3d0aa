#include "support/RecordingMessageBox.h"

#include <algorithm>

namespace tessaro {

BoxResult RecordingMessageBox::ShowError(const std::string& text) {
  return Record(BoxKind::Error, text, BoxResult::Ok);
}
BoxResult RecordingMessageBox::ShowWarning(const std::string& text) {
  return Record(BoxKind::Warning, text, BoxResult::Ok);
}
BoxResult RecordingMessageBox::AskInformation(const std::string& text) {
  return Record(BoxKind::Information, text, BoxResult::Ok);
}
BoxResult RecordingMessageBox::AskWarning(const std::string& text) {
  return Record(BoxKind::WarningQuestion, text, BoxResult::Ok);
}
BoxResult RecordingMessageBox::AskYesNo(const std::string& text) {
  return Record(BoxKind::YesNo, text, BoxResult::Yes);
}

void RecordingMessageBox::QueueAnswer(BoxResult answer) {
  std::lock_guard lock(mutex_);
  answers_.push_back(answer);
}

std::vector<RecordedBox> RecordingMessageBox::Boxes() const {
  std::lock_guard lock(mutex_);
  return boxes_;
}

std::vector<std::string> RecordingMessageBox::Texts() const {
  std::lock_guard lock(mutex_);
  std::vector<std::string> texts;
  for (const auto& box : boxes_) texts.push_back(box.text);
  return texts;
}

size_t RecordingMessageBox::Count() const {
  std::lock_guard lock(mutex_);
  return boxes_.size();
}

size_t RecordingMessageBox::Count(BoxKind kind) const {
  std::lock_guard lock(mutex_);
  return static_cast<size_t>(std::count_if(
      boxes_.begin(), boxes_.end(), [kind](const RecordedBox& b) { return b.kind == kind; }));
}

void RecordingMessageBox::Clear() {
  std::lock_guard lock(mutex_);
  boxes_.clear();
  answers_.clear();
}

BoxResult RecordingMessageBox::Record(BoxKind kind, const std::string& text, BoxResult fallback) {
  std::lock_guard lock(mutex_);
  BoxResult answer = fallback;
  if (!answers_.empty()) {
    answer = answers_.front();
    answers_.pop_front();
  }
  boxes_.push_back({kind, text, answer});
  return answer;
}

}  // namespace tessaro
