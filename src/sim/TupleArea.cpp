#include "sim/TupleArea.h"

namespace tessaro::sim {

namespace {

// The end tuple is written as a whole 8-byte tuple so that a reader taking
// a tuple head at the end never runs past the area.
constexpr uint8_t kEndTuple[8] = {0xFF, 0xFF, 8, 0, 1, 1, 0, 0};

SimTuple HeaderTuple() { return MakeIntTuple(0, kTypeInt16, 0); }

}  // namespace

void EncodeTuple(const SimTuple& tuple, std::vector<uint8_t>& out) {
  const int size = TupleByteSize(tuple.type);
  const size_t start = out.size();
  out.push_back(static_cast<uint8_t>(tuple.number >> 8));
  out.push_back(static_cast<uint8_t>(tuple.number & 0xFF));
  out.push_back(static_cast<uint8_t>(size));
  out.push_back(static_cast<uint8_t>(tuple.type));
  out.push_back(tuple.elementSize);
  out.push_back(tuple.count);
  for (size_t i = 0; i < tuple.value.size() && out.size() - start < static_cast<size_t>(size);
       ++i) {
    out.push_back(tuple.value[i]);
  }
  while (out.size() - start < static_cast<size_t>(size)) out.push_back(0);
}

void TupleArea::Put(SimTuple tuple) {
  if (SimTuple* existing = Find(tuple.number)) {
    *existing = std::move(tuple);
  } else {
    tuples_.push_back(std::move(tuple));
  }
}

SimTuple* TupleArea::Find(int number) {
  for (SimTuple& tuple : tuples_) {
    if (tuple.number == number) return &tuple;
  }
  return nullptr;
}

const SimTuple* TupleArea::Find(int number) const {
  return const_cast<TupleArea*>(this)->Find(number);
}

size_t TupleArea::EncodedSize() const {
  size_t size = static_cast<size_t>(TupleByteSize(kTypeInt16)) + sizeof kEndTuple;
  for (const SimTuple& tuple : tuples_) size += static_cast<size_t>(TupleByteSize(tuple.type));
  return size;
}

void TupleArea::EncodeTo(std::vector<uint8_t>& out) const {
  EncodeTuple(HeaderTuple(), out);
  for (const SimTuple& tuple : tuples_) EncodeTuple(tuple, out);
  out.insert(out.end(), std::begin(kEndTuple), std::end(kEndTuple));
}

std::vector<uint8_t> TupleArea::Encode() const {
  std::vector<uint8_t> out;
  out.reserve(EncodedSize());
  EncodeTo(out);
  return out;
}

}  // namespace tessaro::sim
