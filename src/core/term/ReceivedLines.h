#pragma once
// Turns the bytes a recorder sends into the lines the terminal shows: a CR
// ends a line, an LF never shows, any other control byte shows as ".", and
// a line that reaches 255 bytes is broken before the next byte.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessaro {

class ReceivedLines {
 public:
  // The line the byte completed, if any.
  std::optional<std::string> Feed(uint8_t byte);
  // What has arrived since the last line end.
  const std::string& Pending() const { return line_; }

 private:
  std::string line_;
};

// A reply line as the terminal shows it: pieces of at most 255 bytes (one
// empty piece for an empty reply), control bytes as ".".
std::vector<std::string> ShownReplyLines(std::string_view reply);

}  // namespace tessaro
