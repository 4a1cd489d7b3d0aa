#include "core/recorder/AreaTally.h"

#include <gtest/gtest.h>

#include <vector>

namespace tessaro {
namespace {

// Tuple 0 (8 bytes), tuple 5 (10 bytes), the end number, then padding.
std::vector<uint8_t> ChainImage() {
  std::vector<uint8_t> image = {0, 0, 8, 1, 2, 1, 0, 0, 0, 5, 10, 2, 4, 1, 0, 0, 0, 9};
  image.insert(image.end(), {0xFF, 0xFF, 0, 0});
  return image;
}

// Feeds the first `length` bytes of image in pieces of `piece` bytes.
AreaTally Feed(AreaTally tally, const std::vector<uint8_t>& image, size_t length, size_t piece) {
  for (size_t at = 0; at < length; at += piece)
    tally.Add(image.data() + at, std::min(piece, length - at));
  return tally;
}

TEST(AreaTally, TupleChainIsWholeOnceTheEndNumberHasArrived) {
  const std::vector<uint8_t> image = ChainImage();
  const size_t endComplete = 20;  // both bytes of FFFF
  for (size_t piece : {1u, 2u, 3u, 7u, 128u}) {
    for (size_t length = 0; length <= image.size(); ++length) {
      const AreaTally tally = Feed(AreaTally::TupleChain(), image, length, piece);
      EXPECT_EQ(tally.Complete(), length >= endComplete)
          << "piece " << piece << " length " << length;
      EXPECT_EQ(tally.Bytes(), static_cast<int64_t>(length));
    }
  }
}

TEST(AreaTally, ChainThatCannotBeFollowedIsTheRecordersData) {
  struct Case {
    std::vector<uint8_t> image;
    size_t wholeFrom;
  } cases[] = {
      {{0, 1, 8, 1, 2, 1, 0, 0}, 3},                           // first tuple not number 0
      {{0, 0, 8, 1, 2, 1, 0, 0, 0, 5, 0, 2, 1, 1, 0, 0}, 11},  // length 0
      {{0, 0, 0x80, 1, 2, 1, 0, 0}, 3},                        // negative length
  };
  for (const Case& c : cases) {
    for (size_t length = 0; length <= c.image.size(); ++length)
      EXPECT_EQ(Feed(AreaTally::TupleChain(), c.image, length, 1).Complete(), length >= c.wholeFrom)
          << length;
  }
}

}  // namespace
}  // namespace tessaro
