#pragma once
// A recorder tuple area (ROM, EEP, BATT, or one ring's FILE group) and its
// byte image: a header tuple numbered 0, the tuples in order, and an end
// tuple numbered FFFF. Each tuple is the big-endian number, the length byte
// (distance to the next tuple), the type code, element size, count and the
// value, padded to the fixed size of its type.

#include <cstdint>
#include <vector>

#include "sim/SimTuple.h"

namespace tessaro::sim {

class TupleArea {
 public:
  // Adds or replaces the tuple with this number.
  void Put(SimTuple tuple);
  SimTuple* Find(int number);
  const SimTuple* Find(int number) const;
  const std::vector<SimTuple>& Tuples() const { return tuples_; }

  // Image size in bytes, end tuple included.
  size_t EncodedSize() const;
  void EncodeTo(std::vector<uint8_t>& out) const;
  std::vector<uint8_t> Encode() const;

 private:
  std::vector<SimTuple> tuples_;
};

// Appends one tuple's bytes (header, value, padding to its type's size).
void EncodeTuple(const SimTuple& tuple, std::vector<uint8_t>& out);

}  // namespace tessaro::sim
