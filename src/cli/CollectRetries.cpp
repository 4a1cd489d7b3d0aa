#include "cli/CollectRetries.h"

#include <poll.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <sstream>

namespace tessaro {
namespace {

const char* OutcomeText(TryOutcome outcome) {
  switch (outcome) {
    case TryOutcome::Ok:
      return "ok";
    case TryOutcome::LineFailed:
      return "failed on the line";
    case TryOutcome::Failed:
      return "failed (not retried)";
    case TryOutcome::LineBusy:
      return "line busy";
    case TryOutcome::Cancelled:
      return "cancelled";
  }
  return "";
}

// Sleeps in poll() for seconds, in short pieces so that cancelled() is seen.
void Pause(double seconds, const std::function<bool()>& cancelled) {
  using Clock = std::chrono::steady_clock;
  const auto end = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                      std::chrono::duration<double>(seconds));
  while (!cancelled()) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
    if (left.count() <= 0) return;
    ::poll(nullptr, 0, static_cast<int>(std::min<long long>(left.count(), 200)));
  }
}

}  // namespace

std::string LocalTimestamp() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  return text;
}

RetryResult RunWithRetries(const RetryPolicy& policy, const std::string& label,
                           const std::function<TryOutcome(int tryNumber)>& attempt,
                           const std::function<bool()>& cancelled, std::ostream& err) {
  const int total = 1 + std::max(0, policy.retries);
  const std::string prefix = "tessaro-cli: " + (label.empty() ? std::string() : label + ": ");
  RetryResult result;
  for (int n = 1; n <= total; ++n) {
    err << LocalTimestamp() << " " << prefix << "try " << n << " of " << total << std::endl;
    result.tries = n;
    result.outcome = attempt(n);
    if (cancelled()) result.outcome = TryOutcome::Cancelled;
    std::ostringstream line;
    line << LocalTimestamp() << " " << prefix << "try " << n << " of " << total << ": "
         << OutcomeText(result.outcome);
    const bool again = result.outcome == TryOutcome::LineFailed && n < total;
    if (again) line << "; next try in " << policy.waitSeconds << " s";
    err << line.str() << std::endl;
    if (!again) break;
    Pause(policy.waitSeconds, cancelled);
    if (cancelled()) {
      result.outcome = TryOutcome::Cancelled;
      break;
    }
  }
  return result;
}

}  // namespace tessaro
