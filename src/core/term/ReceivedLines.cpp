#include "core/term/ReceivedLines.h"

#include "core/term/TermText.h"

namespace tessaro {

std::optional<std::string> ReceivedLines::Feed(uint8_t byte) {
  std::optional<std::string> done;
  if (byte == kCR) {
    done = std::move(line_);
    line_.clear();
    return done;
  }
  if (byte == kLF) return done;
  if (line_.size() >= kTermLineBytes) {
    done = std::move(line_);
    line_.clear();
  }
  line_ += IsShownByte(byte) ? static_cast<char>(byte) : '.';
  return done;
}

std::vector<std::string> ShownReplyLines(std::string_view reply) {
  std::vector<std::string> lines;
  ReceivedLines pieces;
  for (const char c : reply) {
    const auto byte = static_cast<uint8_t>(c);
    // Line ends inside a reply are shown, not obeyed.
    if (auto line = pieces.Feed(byte == kCR || byte == kLF ? '.' : byte)) lines.push_back(*line);
  }
  lines.push_back(pieces.Pending());
  return lines;
}

}  // namespace tessaro
