#include "core/collect/ThredTess2.h"

#include "core/collect/CollectionBusy.h"
#include "core/collect/WorkerStep.h"

namespace tessaro {

TThredTess2::TThredTess2(std::string rlbPath, std::string csvPath, CsvType csvType,
                         const DefinitionDb& db, ProgressReporter& progress,
                         std::string programFolder)
    : operation_(
          [&db, &progress, rlbPath = std::move(rlbPath), csvPath = std::move(csvPath), csvType,
           programFolder = std::move(programFolder)] {
            return RunWorkerStep(progress, [&] {
              return ConvertRlbFile(rlbPath, csvPath, csvType, db, progress, programFolder);
            });
          },
          &CollectionBusy) {}

bool TThredTess2::WaitFor(std::chrono::milliseconds timeout) const {
  return operation_.WaitFor(timeout);
}

void TThredTess2::Wait() const { operation_.Wait(); }

bool TThredTess2::Finished() const { return operation_.Finished(); }

StepResult TThredTess2::Result() const { return operation_.Result(); }

}  // namespace tessaro
