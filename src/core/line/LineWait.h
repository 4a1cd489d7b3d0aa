#pragma once
// Deadline waits for the line components. Every wait sleeps in poll(); a wait
// that may run on the user-interface thread passes pump = true and then
// processes pending window messages between short slices.

#include <chrono>

namespace tessaro {

using LineClock = std::chrono::steady_clock;

inline LineClock::time_point DeadlineAfter(int milliseconds) {
  return LineClock::now() + std::chrono::milliseconds(milliseconds < 0 ? 0 : milliseconds);
}

// Milliseconds until the deadline, rounded up; 0 once it has passed.
int MillisecondsLeft(LineClock::time_point deadline);

// Waits until fd reports one of events (POLLIN, POLLOUT...) or the deadline
// passes. Returns the reported events, 0 on timeout, -1 when poll fails.
int WaitForFd(int fd, short events, LineClock::time_point deadline, bool pump);

// Waits the given time; on the user-interface thread the window stays alive.
void PumpingDelay(int milliseconds);

}  // namespace tessaro
