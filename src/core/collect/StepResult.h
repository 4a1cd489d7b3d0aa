#pragma once
// Outcome of one step of a long operation: success, or the user's text of
// the first failure.

#include <string>
#include <utility>

namespace tessaro {

struct StepResult {
  bool ok = true;
  std::string message;  // empty on success

  static StepResult Success() { return {}; }
  static StepResult Failure(std::string message) { return {false, std::move(message)}; }
  explicit operator bool() const { return ok; }
};

}  // namespace tessaro
