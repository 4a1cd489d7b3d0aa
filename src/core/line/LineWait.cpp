#include "core/line/LineWait.h"

#include <poll.h>

#include <algorithm>
#include <cerrno>

#include "core/support/Pump.h"

namespace tessaro {
namespace {

// Short enough to keep a window repainting, long enough to cost nothing.
constexpr int kPumpSliceMs = 20;

}  // namespace

int MillisecondsLeft(LineClock::time_point deadline) {
  const auto left = deadline - LineClock::now();
  if (left <= LineClock::duration::zero()) return 0;
  return static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(left).count());
}

int WaitForFd(int fd, short events, LineClock::time_point deadline, bool pump) {
  for (;;) {
    int left = MillisecondsLeft(deadline);
    const bool slice = pump && PumpMessagesHere();
    if (slice) {
      PumpMessages();
      left = std::min(left, kPumpSliceMs);
    }
    pollfd p{fd, events, 0};
    const int n = ::poll(&p, 1, left);
    if (n > 0) return p.revents;
    if (n < 0 && errno != EINTR) return -1;
    if (n == 0 && MillisecondsLeft(deadline) == 0) return 0;
  }
}

void PumpingDelay(int milliseconds) {
  const auto deadline = DeadlineAfter(milliseconds);
  for (;;) {
    int left = MillisecondsLeft(deadline);
    if (left == 0) return;
    if (PumpMessagesHere()) {
      PumpMessages();
      left = std::min(left, kPumpSliceMs);
    }
    ::poll(nullptr, 0, left);
  }
}

}  // namespace tessaro
