#pragma once
// The file conversion worker: converts an RLB file into a CSV file and
// appends the report, on its own thread, talking to the user only through
// the progress reporter. It sets CollectionBusy before it starts and clears
// it as its last act; the owner waits (WaitFor / Wait) and then reads the
// result. Destroying it waits for the thread.

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

#include "core/collect/ConversionStep.h"

namespace tessaro {

class TThredTess2 {
 public:
  // Starts the thread at once. db and progress must outlive the object.
  TThredTess2(std::string rlbPath, std::string csvPath, CsvType csvType, const DefinitionDb& db,
              ProgressReporter& progress, std::string programFolder = {});
  ~TThredTess2();
  TThredTess2(const TThredTess2&) = delete;
  TThredTess2& operator=(const TThredTess2&) = delete;

  // True once the conversion has ended; waits at most timeout for it.
  bool WaitFor(std::chrono::milliseconds timeout);
  void Wait();
  bool Finished() const;
  // The outcome; meaningful once Finished().
  StepResult Result() const;

 private:
  void Execute();

  ConversionJob job_;
  const DefinitionDb& db_;
  ProgressReporter& progress_;
  mutable std::mutex mutex_;
  std::condition_variable finishedChanged_;
  bool finished_ = false;
  StepResult result_;
  std::thread thread_;  // last: starts after everything it uses exists
};

}  // namespace tessaro
