#include "core/settings/PcClockStamp.h"

#include "core/settings/RecorderClock.h"

namespace tessaro {

PcClockStamp::PcClockStamp() : source_([] { return PcClockText(1); }) {}

void PcClockStamp::Take(Clock::time_point now) {
  text_ = source_();
  taken_ = now;
}

std::string PcClockStamp::Fresh(Clock::time_point now) {
  if (!taken_ || now - *taken_ >= std::chrono::seconds(1)) Take(now);
  return text_;
}

}  // namespace tessaro
