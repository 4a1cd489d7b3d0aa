#include "core/recorder/BlockSequence.h"

#include <cstring>

namespace tessaro {

BlockSequence::Verdict BlockSequence::Classify(uint8_t number, const uint8_t* data, size_t size) {
  const uint8_t next = static_cast<uint8_t>(last_ + 1);
  switch (state_) {
    case State::First:
      if (number > 1) {
        state_ = State::Off;
        return Verdict::New;
      }
      state_ = State::Second;
      last_ = number;
      lastData_.assign(reinterpret_cast<const char*>(data), size);
      return Verdict::New;
    case State::Second:
      if (number == next) {
        state_ = State::Counting;
        last_ = number;
        lastData_.clear();
        return Verdict::New;
      }
      // Unconfirmed yet: only the very same block counts as a repeat, so a
      // recorder that does not count up loses nothing.
      if (number == last_ && lastData_.size() == size &&
          std::memcmp(lastData_.data(), data, size) == 0)
        return Verdict::Repeat;
      state_ = State::Off;
      lastData_.clear();
      return Verdict::New;
    case State::Counting:
      if (number == next) {
        last_ = number;
        return Verdict::New;
      }
      return number == last_ ? Verdict::Repeat : Verdict::Bad;
    default:
      return Verdict::New;
  }
}

}  // namespace tessaro
