#pragma once
// collect --summary-json FILE: one JSON object per collected recorder (one
// per run, or one per slave of a --slave list), each on its own line,
// added to the end of FILE so that scheduled runs build a history:
//   {"serial":"A1B2C3","ring":"NEW","slave":2,"records_collected":120,
//    "records_appended":12,"first_record":"26/12/01 09:00:00",
//    "last_record":"26/12/01 10:50:00","tries":1,"outcome":"ok",
//    "message":"","started":"2026-12-01 11:00:00","duration_s":1.25}
// Absent values are null; times are the records' own (YY/MM/DD hh:mm:ss).

#include <cstdint>
#include <optional>
#include <string>

namespace tessaro {

struct CollectSummary {
  std::string serial;  // UTF-8
  std::string ring;
  std::optional<int> slave;
  std::optional<int64_t> recordsCollected;
  std::optional<int64_t> recordsAppended;  // with --append
  std::string firstRecord;                 // empty: none
  std::string lastRecord;
  int tries = 0;
  std::string outcome;  // "ok", "failed", "line busy", "cancelled"
  std::string message;  // the failure's text
  std::string started;
  double durationSeconds = 0;
};

std::string SummaryJson(const CollectSummary& summary);

// Adds the object's line to the end of path; false with why.
bool AppendSummary(const std::string& path, const CollectSummary& summary, std::string& why);

}  // namespace tessaro
