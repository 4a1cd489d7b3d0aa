#pragma once
// A message-box handler for tests: records every box (kind and text) and
// answers from a queue of scripted answers; with the queue empty, OK/Cancel
// boxes answer Ok and Yes/No boxes answer Yes. Safe to call from worker
// threads.
//
//   RecordingMessageBox boxes;
//   ScopedMessageBoxHandler install(boxes);
//   boxes.QueueAnswer(BoxResult::Cancel);
//   ... code under test ...
//   EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"..."}));

#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "core/support/MessageBox.h"

namespace tessaro {

enum class BoxKind { Error, Warning, Information, WarningQuestion, YesNo };

struct RecordedBox {
  BoxKind kind;
  std::string text;
  BoxResult answer;
  bool operator==(const RecordedBox&) const = default;
};

class RecordingMessageBox : public MessageBoxHandler {
 public:
  BoxResult ShowError(const std::string& text) override;
  BoxResult ShowWarning(const std::string& text) override;
  BoxResult AskInformation(const std::string& text) override;
  BoxResult AskWarning(const std::string& text) override;
  BoxResult AskYesNo(const std::string& text) override;

  // Answers used by the next boxes, in order.
  void QueueAnswer(BoxResult answer);
  std::vector<RecordedBox> Boxes() const;
  std::vector<std::string> Texts() const;
  size_t Count() const;
  // Count of boxes of one kind.
  size_t Count(BoxKind kind) const;
  void Clear();

 private:
  BoxResult Record(BoxKind kind, const std::string& text, BoxResult fallback);

  mutable std::mutex mutex_;
  std::deque<BoxResult> answers_;
  std::vector<RecordedBox> boxes_;
};

// Installs a handler for the scope and restores the previous one after it.
class ScopedMessageBoxHandler {
 public:
  explicit ScopedMessageBoxHandler(MessageBoxHandler& handler)
      : previous_(InstallMessageBoxHandler(&handler)) {}
  ~ScopedMessageBoxHandler() { InstallMessageBoxHandler(previous_); }
  ScopedMessageBoxHandler(const ScopedMessageBoxHandler&) = delete;
  ScopedMessageBoxHandler& operator=(const ScopedMessageBoxHandler&) = delete;

 private:
  MessageBoxHandler* previous_;
};

}  // namespace tessaro
