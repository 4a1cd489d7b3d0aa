#pragma once
// One piece of work on its own thread, and its result.
//
// A busy flag, when given, is set before the thread starts and cleared by
// the worker as its last act, before the result is published: whoever sees
// the flag down may take the result and free the operation. Without one the
// operation keeps a flag of its own. Busy() is that flag; WaitWhileSet
// sleeps until it goes down.
//
//   BackgroundOperation<StepResult> work([&] { return Convert(...); }, &CollectionBusy);
//   WaitWhileSet(CollectionBusy);   // or work.Wait()
//   StepResult result = work.Result();
//
// Destroying the operation waits for the thread.

#include <atomic>
#include <chrono>
#include <exception>
#include <functional>
#include <future>
#include <optional>
#include <thread>
#include <type_traits>
#include <utility>

namespace tessaro {

// Sleeps until flag is false.
inline void WaitWhileSet(const std::atomic<bool>& flag) {
  while (flag.load()) flag.wait(true);
}

template <typename T>
class BackgroundOperation {
  static_assert(!std::is_void_v<T>, "the work returns its result");

 public:
  // Starts work() at once; throws std::system_error (flag left down) when no
  // thread can be started. busy must outlive the operation.
  explicit BackgroundOperation(std::function<T()> work, std::atomic<bool>* busy = nullptr)
      : busy_(busy ? *busy : ownBusy_) {
    std::promise<T> promise;
    result_ = promise.get_future().share();
    // Set before the thread exists: a worker that ends at once must not
    // clear the flag before its owner starts waiting on it.
    busy_ = true;
    try {
      thread_ = std::thread([this, work = std::move(work), promise = std::move(promise)]() mutable {
        Execute(work, promise);
      });
    } catch (...) {
      ClearBusy();
      throw;
    }
  }
  ~BackgroundOperation() { thread_.join(); }
  BackgroundOperation(const BackgroundOperation&) = delete;
  BackgroundOperation& operator=(const BackgroundOperation&) = delete;

  // Set while the work runs.
  const std::atomic<bool>& Busy() const { return busy_; }
  // True once the result is there; waits at most timeout for it.
  bool WaitFor(std::chrono::milliseconds timeout) const {
    return result_.wait_for(timeout) == std::future_status::ready;
  }
  void Wait() const { result_.wait(); }
  bool Finished() const { return WaitFor(std::chrono::milliseconds(0)); }
  // The work's result, or its exception rethrown; waits for it.
  const T& Result() const { return result_.get(); }

 private:
  void Execute(std::function<T()>& work, std::promise<T>& promise) {
    std::optional<T> value;
    std::exception_ptr failure;
    try {
      value.emplace(work());
    } catch (...) {
      failure = std::current_exception();
    }
    // Down before the end is published: whoever waited for the result sees
    // the flag down.
    ClearBusy();
    if (failure) {
      promise.set_exception(failure);
    } else {
      promise.set_value(std::move(*value));
    }
  }

  void ClearBusy() {
    busy_ = false;
    busy_.notify_all();
  }

  std::atomic<bool> ownBusy_{false};
  std::atomic<bool>& busy_;
  std::shared_future<T> result_;
  std::thread thread_;  // last: starts after everything it uses exists
};

}  // namespace tessaro
