#pragma once
// Counts the bytes of one area transfer as its blocks arrive and tells
// whether they make the whole area, so that a transfer ended early (EOT
// after too few blocks) is not taken for a complete one.
//
//   AreaTally ring = AreaTally::AtLeast(byteCount);   // BATT area, ring data
//   AreaTally rom = AreaTally::TupleChain();          // ROM, EEP areas
//   ... ring.Add(data, size) for each new block ...
//   if (!ring.Complete()) ... the transfer failed ...
//
// A tuple area without a declared size is whole when its tuple chain,
// followed from tuple 0 by the length bytes, reaches the end number FFFF
// within the bytes received. A chain that cannot be followed (first number
// not 0, length below 1) is the recorder's data, not a short transfer: it
// counts as whole once the tuple head that breaks it has arrived.

#include <cstddef>
#include <cstdint>

namespace tessaro {

class AreaTally {
 public:
  static AreaTally AtLeast(int64_t bytes);
  static AreaTally TupleChain();

  void Add(const uint8_t* data, size_t size);

  int64_t Bytes() const { return bytes_; }
  // The declared size, 0 for a tuple chain; the total of a progress display.
  int64_t Minimum() const { return minimum_; }
  bool Complete() const;

 private:
  enum class Chain { None, Walking, Ended, Broken };
  static constexpr int kHeadSize = 3;  // number (2 bytes), length

  AreaTally(int64_t minimum, Chain chain) : minimum_(minimum), chain_(chain) {}
  void Walk(const uint8_t* data, int64_t begin);

  int64_t minimum_;
  int64_t bytes_ = 0;
  Chain chain_;
  int64_t nextHead_ = 0;  // offset of the tuple head being read
  uint8_t head_[kHeadSize] = {};
  int headFill_ = 0;
};

}  // namespace tessaro
