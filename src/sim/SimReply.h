#pragma once
// What the recorder does with one command: answer a line, or answer "!!"
// and send data as checksum blocks.

#include <cstdint>
#include <string>
#include <vector>

namespace tessaro::sim {

enum class TransferMode {
  Xdm1k,  // 1024-byte blocks, ACK/NAK
  Mnp,    // 128-byte blocks, no ACK/NAK after the opening NAK
  Xdm,    // 128-byte blocks, ACK/NAK
};

inline int BlockDataSize(TransferMode mode) { return mode == TransferMode::Xdm1k ? 1024 : 128; }

struct SimReply {
  std::string text;  // the reply line without its CR
  bool transfer = false;
  TransferMode mode = TransferMode::Xdm;
  std::vector<uint8_t> data;  // unpadded; the sender pads the last block
};

}  // namespace tessaro::sim
