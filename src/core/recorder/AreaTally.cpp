#include "core/recorder/AreaTally.h"

namespace tessaro {
namespace {

constexpr unsigned kEndNumber = 0xFFFF;

}  // namespace

AreaTally AreaTally::AtLeast(int64_t bytes) {
  return AreaTally(bytes < 0 ? 0 : bytes, Chain::None);
}

AreaTally AreaTally::TupleChain() { return AreaTally(0, Chain::Walking); }

void AreaTally::Add(const uint8_t* data, size_t size) {
  const int64_t begin = bytes_;
  bytes_ += static_cast<int64_t>(size);
  if (chain_ == Chain::Walking) Walk(data, begin);
}

void AreaTally::Walk(const uint8_t* data, int64_t begin) {
  for (;;) {
    // The head may straddle blocks; the bytes before `begin` are taken already.
    // The end number needs no length byte.
    auto number = [this] { return static_cast<unsigned>(head_[0] << 8 | head_[1]); };
    while (headFill_ < kHeadSize && !(headFill_ == 2 && number() == kEndNumber)) {
      const int64_t at = nextHead_ + headFill_;
      if (at >= bytes_) return;
      head_[headFill_++] = data[at - begin];
    }
    if (number() == kEndNumber) {
      chain_ = Chain::Ended;
      return;
    }
    const int length = static_cast<int8_t>(head_[2]);
    if ((nextHead_ == 0 && number() != 0) || length < 1) {
      chain_ = Chain::Broken;
      return;
    }
    nextHead_ += length;
    headFill_ = 0;
  }
}

bool AreaTally::Complete() const {
  if (chain_ == Chain::None) return bytes_ >= minimum_;
  return chain_ != Chain::Walking;
}

}  // namespace tessaro
