#pragma once
// Walking a received tuple area (ROM, EEP, BATT or a FILE group inside the
// BATT image) from its header tuple to the end number FFFF. The walk never
// leaves the image and always moves forward, so a malformed area ends it
// with a fault instead of a loop.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "core/collect/RecorderTuple.h"

namespace tessaro {

enum class TupleWalkFault {
  None,
  BadHeader,    // the first tuple is not number 0, or number 0 comes again
  BadLength,    // a length byte below 1
  UnknownType,  // a type code without a tuple size
  PastEnd,      // a tuple runs past the image, or no end mark before its end
};

struct TupleWalk {
  std::vector<RecorderTuple> tuples;  // after the header, in area order
  TupleWalkFault fault = TupleWalkFault::None;
};

// The tuples of the area that starts at offset start of image. A bad header
// gives no tuples; any other fault keeps the tuples before it.
TupleWalk WalkTupleArea(std::span<const uint8_t> image, int64_t start);

// Tuple `number` of the area that starts at offset start of image.
std::optional<RecorderTuple> FindTuple(std::span<const uint8_t> image, int64_t start, int number);

}  // namespace tessaro
