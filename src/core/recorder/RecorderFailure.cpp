#include "core/recorder/RecorderFailure.h"

#include <utility>

#include "core/support/Messages.h"

namespace tessaro {

void Fail(int message, std::string reason) { throw RecorderFailure{message, std::move(reason)}; }

StepResult RunOperation(const std::function<void()>& operation) {
  try {
    operation();
  } catch (const RecorderFailure& failure) {
    return StepResult::Failure(LoadMessage(failure.message), failure.reason);
  }
  return StepResult::Success();
}

}  // namespace tessaro
