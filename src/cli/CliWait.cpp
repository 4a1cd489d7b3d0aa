#include "cli/CliWait.h"

#include <poll.h>

#include <algorithm>

#include "core/line/LineWait.h"
#include "core/support/ProgressReporter.h"

namespace tessaro {
namespace {

// A signal ends the sleep at once (poll returns EINTR); the slice bounds the
// delay when it arrives just before the sleep starts.
constexpr int kSliceMs = 100;

}  // namespace

bool WaitUnlessInterrupted(int milliseconds, const ProgressReporter& interrupt) {
  const auto deadline = DeadlineAfter(milliseconds);
  while (!interrupt.CancelRequested()) {
    const int left = MillisecondsLeft(deadline);
    if (left == 0) return true;
    ::poll(nullptr, 0, std::min(left, kSliceMs));
  }
  return false;
}

}  // namespace tessaro
