#include "core/recorder/TransferMode.h"

#include "core/recorder/TupleNumbers.h"

namespace tessaro {

TransferMode ChooseTransferMode(std::optional<int64_t> capability, bool highSpeedMode) {
  if (capability && (*capability & tuples::kCapabilityLargeBlocks) != 0) return TransferMode::Xdm1k;
  return highSpeedMode ? TransferMode::Mnp : TransferMode::Xdm;
}

const char* TransferPrefix(TransferMode mode) {
  switch (mode) {
    case TransferMode::Xdm1k:
      return "xdm1k";
    case TransferMode::Mnp:
      return "mnp";
    default:
      return "xdm";
  }
}

}  // namespace tessaro
