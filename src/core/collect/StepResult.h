#pragma once
// Outcome of one step of a long operation: success, or the user's text of
// the first failure and, when a file operation failed, the system's reason
// ("name: No space left on device") for the command line.

#include <string>
#include <utility>

namespace tessaro {

struct StepResult {
  bool ok = true;
  std::string message;  // empty on success
  std::string reason;   // empty when no system reason is known

  static StepResult Success() { return {}; }
  static StepResult Failure(std::string message, std::string reason = {}) {
    return {false, std::move(message), std::move(reason)};
  }
  explicit operator bool() const { return ok; }
};

}  // namespace tessaro
