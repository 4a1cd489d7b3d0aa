#include "core/support/Pump.h"

#include "core/support/ExchangeScope.h"

#include <memory>
#include <mutex>
#include <thread>
#include <utility>

namespace tessaro {
namespace {

struct PumpState {
  std::mutex mutex;
  std::shared_ptr<const std::function<void()>> hook;
  std::thread::id owner;
};

PumpState& State() {
  static PumpState state;
  return state;
}

// The hook for the calling thread, or null.
std::shared_ptr<const std::function<void()>> HookForThisThread() {
  PumpState& s = State();
  std::lock_guard lock(s.mutex);
  if (!s.hook || s.owner != std::this_thread::get_id()) return nullptr;
  return s.hook;
}

}  // namespace

void SetPumpHook(std::function<void()> hook) {
  PumpState& s = State();
  std::lock_guard lock(s.mutex);
  if (hook) {
    s.hook = std::make_shared<const std::function<void()>>(std::move(hook));
    s.owner = std::this_thread::get_id();
  } else {
    s.hook.reset();
    s.owner = {};
  }
}

bool PumpMessagesHere() { return HookForThisThread() != nullptr; }

void PumpMessages() {
  // Called outside the lock: the hook may itself wait and pump again.
  // Whatever the hook dispatches runs in the middle of the caller's wait.
  if (auto hook = HookForThisThread()) {
    ExchangeScope busy;
    (*hook)();
  }
}

}  // namespace tessaro
