#include "core/collect/WorkerStep.h"

#include <new>

#include "core/support/Messages.h"

namespace tessaro {

StepResult RunWorkerStep(ProgressReporter& progress, const std::function<StepResult()>& step) {
  StepResult result;
  try {
    result = step();
  } catch (const std::bad_alloc&) {
    result = StepResult::Failure(LoadMessage(MsgOutOfMemory));
  } catch (...) {
    result = StepResult::Failure(LoadMessage(MsgFormInitFailed));
  }
  if (!result && !result.message.empty()) progress.FlashError(result.message);
  return result;
}

}  // namespace tessaro
