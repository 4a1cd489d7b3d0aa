#pragma once
// The four message boxes every user message goes through. The GUI installs
// a handler that beeps and shows a modal box; tests install one that records
// and answers; without one, texts go to stderr and questions answer OK.

#include <string>

namespace tessaro {

enum class BoxResult { Ok, Cancel, Yes, No };

class MessageBoxHandler {
 public:
  virtual ~MessageBoxHandler() = default;
  virtual BoxResult ShowError(const std::string& text) = 0;
  virtual BoxResult ShowWarning(const std::string& text) = 0;
  virtual BoxResult AskInformation(const std::string& text) = 0;  // OK / Cancel
  virtual BoxResult AskWarning(const std::string& text) = 0;      // OK / Cancel
  virtual BoxResult AskYesNo(const std::string& text) = 0;        // Yes / No
};

// Installs the process-wide handler (nullptr restores the stderr default) and
// returns the previous one. The caller keeps ownership.
MessageBoxHandler* InstallMessageBoxHandler(MessageBoxHandler* handler);

BoxResult ShowError(const std::string& text);
BoxResult ShowWarning(const std::string& text);
BoxResult AskInformation(const std::string& text);
BoxResult AskWarning(const std::string& text);
BoxResult AskYesNo(const std::string& text);

}  // namespace tessaro
