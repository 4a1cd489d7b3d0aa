#pragma once
// One growing Corvex CSV file per recorder: the records of a freshly
// collected ring that are newer (by date and time) than the file's last
// record are added to the file, numbered on from its last NO. A missing or
// empty file is made with the ring's heading.
//
// Crash safety: the whole new file is written beside the old one and
// renamed over it (SafeOutputFile), never appended in place. A run that is
// killed at any point leaves the old file exactly as it was (an append
// cut short by SIGKILL or a power cut cannot be truncated back, a rename
// is atomic), at the cost of copying the file once per run.
//
// Refused, with nothing written: a file that is not a Corvex CSV of this
// program or ends mid-line, a heading that differs from the ring's (other
// channels), and a ring whose records do not continue the file (the
// recorder clock went backwards).

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/collect/StepResult.h"

namespace tessaro {

struct AppendPlan {
  std::string additions;  // the new lines, numbered on, CR LF ended
  int64_t count = 0;
  int64_t lastNumber = 0;  // NO of the file's last record (0: none)
  std::string firstTime;   // of the added records; empty when none
  std::string lastTime;
};

// existing: the file's text, nullopt when there is none; ring: the Corvex
// CSV text of the collected ring. fileName names the file in messages.
StepResult PlanAppend(const std::optional<std::string>& existing, std::string_view ring,
                      const std::string& fileName, AppendPlan& plan);

// Reads path, plans and writes the new whole file in its place.
// beforeCommit runs when the new file is complete under its temporary
// name (tests fail there to stand for a killed run).
StepResult AppendNewRecords(const std::string& path, std::string_view ring, AppendPlan& plan,
                            const std::function<bool()>& beforeCommit = {});

}  // namespace tessaro
