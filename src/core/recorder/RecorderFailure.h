#pragma once
// A failed step of an operation with the recorder: the user's text (a
// message number) and, when a file operation failed, the system's reason.
// Steps throw it; each operation catches it once, with RunOperation.
//
//   StepResult r = RunOperation([&] {
//     session.CheckLine();
//     serial = session.ReadTupleRequired(Area::Eep, tuples::kEepSerial, MsgSerialReadFailed);
//   });

#include <functional>
#include <string>

#include "core/collect/StepResult.h"

namespace tessaro {

struct RecorderFailure {
  int message;
  std::string reason;  // empty when no system reason is known
};

[[noreturn]] void Fail(int message, std::string reason = {});
inline void Require(bool ok, int message) {
  if (!ok) Fail(message);
}

// Runs the operation; a RecorderFailure becomes the failure with its loaded
// text. Other exceptions pass.
StepResult RunOperation(const std::function<void()>& operation);

}  // namespace tessaro
