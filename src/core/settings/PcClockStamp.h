#pragma once
// The PC time the clock dialog sends with "set from PC": one second ahead of
// the PC time taken at the last tick, taken anew when that is a second old
// or was never taken, so the recorder never gets a stale or empty time.

#include <chrono>
#include <functional>
#include <optional>
#include <string>

namespace tessaro {

class PcClockStamp {
 public:
  using Clock = std::chrono::steady_clock;
  // Gives the clock text to send, taken from the PC clock now.
  using Source = std::function<std::string()>;

  PcClockStamp();
  explicit PcClockStamp(Source source) : source_(std::move(source)) {}

  // Takes the PC time (a timer tick).
  void Take(Clock::time_point now = Clock::now());
  // The text to send now: the last one taken while it is under a second old.
  std::string Fresh(Clock::time_point now = Clock::now());

 private:
  Source source_;
  std::string text_;
  std::optional<Clock::time_point> taken_;
};

}  // namespace tessaro
