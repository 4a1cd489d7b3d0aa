#pragma once
// The file conversion worker: converts an RLB file into a CSV file and
// appends the report, on its own thread, talking to the user only through
// the progress reporter. It sets CollectionBusy before it starts and clears
// it as its last act; the owner waits (WaitFor / Wait, or while
// CollectionBusy) and then reads the result. Destroying it waits for the
// thread.

#include <chrono>
#include <string>

#include "core/collect/ConversionStep.h"
#include "core/support/BackgroundOperation.h"

namespace tessaro {

class TThredTess2 {
 public:
  // Starts the thread at once. db and progress must outlive the object.
  TThredTess2(std::string rlbPath, std::string csvPath, CsvType csvType, const DefinitionDb& db,
              ProgressReporter& progress, std::string programFolder = {});

  // True once the conversion has ended; waits at most timeout for it.
  bool WaitFor(std::chrono::milliseconds timeout) const;
  void Wait() const;
  bool Finished() const;
  // The outcome; waits for it. A failure's text has been shown already.
  StepResult Result() const;

 private:
  BackgroundOperation<StepResult> operation_;
};

}  // namespace tessaro
