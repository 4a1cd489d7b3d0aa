#include "core/coef/TupleWalk.h"

namespace tessaro {

TupleWalk WalkTupleArea(std::span<const uint8_t> image, int64_t start) {
  TupleWalk walk;
  const auto size = static_cast<int64_t>(image.size());
  bool first = true;
  for (int64_t at = start;; first = false) {
    if (at < 0 || at + 2 > size) {
      walk.fault = TupleWalkFault::PastEnd;
      return walk;
    }
    const auto rest = image.subspan(static_cast<size_t>(at));
    const int number = (rest[0] << 8) | rest[1];
    if (number == RecorderTuple::kEndNumber) return walk;
    if (first != (number == 0)) {
      walk.tuples.clear();
      walk.fault = TupleWalkFault::BadHeader;
      return walk;
    }
    if (rest.size() < 4) {
      walk.fault = TupleWalkFault::PastEnd;
      return walk;
    }
    const auto length = static_cast<int8_t>(rest[2]);
    if (length < 1) {
      walk.fault = TupleWalkFault::BadLength;
      return walk;
    }
    if (RecorderTuple::ReadSize(static_cast<int8_t>(rest[3])) == 0) {
      walk.fault = TupleWalkFault::UnknownType;
      return walk;
    }
    auto tuple = RecorderTuple::Decode(rest);
    if (!tuple) {
      walk.fault = TupleWalkFault::PastEnd;
      return walk;
    }
    if (!first) walk.tuples.push_back(*tuple);
    at += length;
  }
}

std::optional<RecorderTuple> FindTuple(std::span<const uint8_t> image, int64_t start, int number) {
  if (start < 0 || start >= static_cast<int64_t>(image.size())) return std::nullopt;
  return ReadRecorderTuple(image.subspan(static_cast<size_t>(start)), number);
}

}  // namespace tessaro
