#pragma once
// The whole work of a collection or conversion thread, wrapped so that no
// exception leaves it and every failure reaches the user.

#include <functional>

#include "core/collect/StepResult.h"
#include "core/support/ProgressReporter.h"

namespace tessaro {

// Runs step. An exception becomes the out-of-memory text or, for anything
// else, the start-up failure text. A failure's text is shown with
// progress.FlashError (an empty text means the step showed its own).
StepResult RunWorkerStep(ProgressReporter& progress, const std::function<StepResult()>& step);

}  // namespace tessaro
