#pragma once
// Tries of an unattended collection: a try that failed on the line (no
// answer, a broken transfer, no connection) is made again from the start,
// up to `retries` more times with a pause between; any other outcome ends
// the tries. Each try and its outcome go to err with the local time:
//   2026-12-01 09:00:00 tessaro-cli: slave 2: try 1 of 3: failed on the line; next try in 5 s

#include <functional>
#include <ostream>
#include <string>

namespace tessaro {

enum class TryOutcome { Ok, LineFailed, Failed, LineBusy, Cancelled };

struct RetryPolicy {
  int retries = 0;
  double waitSeconds = 0;
};

struct RetryResult {
  TryOutcome outcome = TryOutcome::Failed;
  int tries = 0;
};

// label names the collection in the log ("slave 2"; empty: none).
// attempt(n) makes try n (from 1); cancelled() ends the pause early.
RetryResult RunWithRetries(const RetryPolicy& policy, const std::string& label,
                           const std::function<TryOutcome(int tryNumber)>& attempt,
                           const std::function<bool()>& cancelled, std::ostream& err);

// "YYYY-MM-DD hh:mm:ss", local time now.
std::string LocalTimestamp();

}  // namespace tessaro
