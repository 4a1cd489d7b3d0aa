#pragma once
// Tells a block the recorder sent again (its ACK got lost) from a new one.
// Recorders that number their blocks 1, 2, 3 ... (or from 0), modulo 256,
// are recognised from their first blocks; for them a block carrying the
// previous number is a repeat and one that skips a number is bad. Other
// numberings are taken as they come.

#include <cstddef>
#include <cstdint>
#include <string>

namespace tessaro {

class BlockSequence {
 public:
  enum class Verdict { New, Repeat, Bad };
  // The block's number and data of a block that passed its checksum.
  Verdict Classify(uint8_t number, const uint8_t* data, size_t size);

 private:
  enum class State { First, Second, Counting, Off };
  State state_ = State::First;
  uint8_t last_ = 0;
  std::string lastData_;  // only while the numbering is still unconfirmed
};

}  // namespace tessaro
