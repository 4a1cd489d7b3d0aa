#pragma once
// How the blocks of one block transfer travel, chosen once per operation
// from the recorder's capability word.

#include <cstdint>
#include <optional>

namespace tessaro {

enum class TransferMode {
  Xdm1k,  // 1024-byte blocks, ACK/NAK
  Mnp,    // 128-byte blocks, nothing sent after the opening NAK; the first bad block ends it
  Xdm,    // 128-byte blocks, ACK/NAK
};

// Capability word of ROM tuple 120 (nullopt when absent): its large-block
// bit means Xdm1k; otherwise the high-speed flag picks Mnp.
TransferMode ChooseTransferMode(std::optional<int64_t> capability, bool highSpeedMode);
// "xdm1k", "mnp" or "xdm": the start of the transfer commands.
const char* TransferPrefix(TransferMode mode);

}  // namespace tessaro
