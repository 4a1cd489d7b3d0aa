#include "core/collect/ThredTess2.h"

#include <new>

#include "core/collect/CollectionBusy.h"
#include "core/support/Messages.h"

namespace tessaro {

TThredTess2::TThredTess2(std::string rlbPath, std::string csvPath, CsvType csvType,
                         const DefinitionDb& db, ProgressReporter& progress,
                         std::string programFolder)
    : db_(db), progress_(progress) {
  job_.rlbPath = std::move(rlbPath);
  job_.csvPath = std::move(csvPath);
  job_.csvType = csvType;
  job_.keepRlb = true;
  job_.conversion = true;
  job_.programFolder = std::move(programFolder);
  // Set before the thread exists: a thread that ends quickly must not clear
  // the flag before its owner starts waiting on it.
  CollectionBusy = true;
  try {
    thread_ = std::thread(&TThredTess2::Execute, this);
  } catch (...) {
    CollectionBusy = false;
    throw;
  }
}

TThredTess2::~TThredTess2() {
  if (thread_.joinable()) thread_.join();
}

void TThredTess2::Execute() {
  StepResult result;
  try {
    result = RunConversionStep(job_, db_, progress_);
  } catch (const std::bad_alloc&) {
    result = StepResult::Failure(LoadMessage(MsgOutOfMemory));
  } catch (...) {
    result = StepResult::Failure(LoadMessage(MsgFormInitFailed));
  }
  if (!result && !result.message.empty()) progress_.FlashError(result.message);
  // Cleared before the end is published: whoever Wait()ed sees it cleared.
  CollectionBusy = false;
  {
    std::lock_guard lock(mutex_);
    result_ = std::move(result);
    finished_ = true;
    // Cleared before a waiter wakes: whoever waited sees the flag down.
    CollectionBusy = false;
  }
  finishedChanged_.notify_all();
}

bool TThredTess2::WaitFor(std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  return finishedChanged_.wait_for(lock, timeout, [this] { return finished_; });
}

void TThredTess2::Wait() {
  std::unique_lock lock(mutex_);
  finishedChanged_.wait(lock, [this] { return finished_; });
}

bool TThredTess2::Finished() const {
  std::lock_guard lock(mutex_);
  return finished_;
}

StepResult TThredTess2::Result() const {
  std::lock_guard lock(mutex_);
  return result_;
}

}  // namespace tessaro
