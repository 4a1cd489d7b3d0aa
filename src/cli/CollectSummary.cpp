#include "cli/CollectSummary.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "core/line/UniqueFd.h"
#include "core/support/OutputTarget.h"

namespace tessaro {
namespace {

std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (const unsigned char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
      out += escaped;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + '"';
}

std::string TextOrNull(const std::string& text) { return text.empty() ? "null" : Quoted(text); }

template <typename Number>
std::string NumberOrNull(const std::optional<Number>& value) {
  return value ? std::to_string(*value) : "null";
}

}  // namespace

std::string SummaryJson(const CollectSummary& s) {
  char duration[32];
  std::snprintf(duration, sizeof duration, "%.3f", s.durationSeconds);
  return "{\"serial\":" + TextOrNull(s.serial) + ",\"ring\":" + Quoted(s.ring) +
         ",\"slave\":" + NumberOrNull(s.slave) +
         ",\"records_collected\":" + NumberOrNull(s.recordsCollected) +
         ",\"records_appended\":" + NumberOrNull(s.recordsAppended) +
         ",\"first_record\":" + TextOrNull(s.firstRecord) +
         ",\"last_record\":" + TextOrNull(s.lastRecord) + ",\"tries\":" + std::to_string(s.tries) +
         ",\"outcome\":" + Quoted(s.outcome) + ",\"message\":" + Quoted(s.message) +
         ",\"started\":" + Quoted(s.started) + ",\"duration_s\":" + duration + "}";
}

bool AppendSummary(const std::string& path, const CollectSummary& summary, std::string& why) {
  const std::string line = SummaryJson(summary) + "\n";
  UniqueFd fd(::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644));
  // One write: lines of runs that end together do not interleave.
  if (!fd || ::write(fd.get(), line.data(), line.size()) != static_cast<ssize_t>(line.size())) {
    why = FileErrorReason(path, errno);
    return false;
  }
  return true;
}

}  // namespace tessaro
