#pragma once
// Set while a collection or conversion thread runs; the thread clears it as
// its very last act (waking WaitWhileSet), so a dialog that sees it false
// may free the thread.

#include <atomic>

namespace tessaro {

inline std::atomic<bool> CollectionBusy{false};

}  // namespace tessaro
