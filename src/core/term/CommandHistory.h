#pragma once
// The commands a terminal or monitor used, most recent first, kept in one
// section of the command history file (keys "STR0" to "STR20"). A command
// used again moves to the top; a new one pushes out the twentieth. Texts
// are UTF-8 as the user typed them.

#include <string>
#include <vector>

namespace tessaro {

class CommandHistory {
 public:
  static constexpr size_t kKeptEntries = 20;
  static constexpr int kLastKey = 20;

  CommandHistory() = default;
  explicit CommandHistory(std::vector<std::string> entries) : entries_(std::move(entries)) {}

  const std::vector<std::string>& Entries() const { return entries_; }
  bool Empty() const { return entries_.empty(); }

  // Puts text at the top. An empty text is not kept: it would end the list
  // when the file is read back. False when nothing changed.
  bool Add(const std::string& text);

  // Reads section's keys from 0 up to the first empty one. False when the
  // file cannot be read; the history is then empty.
  bool Load(const std::string& path, const std::string& section);
  // Writes the entries to keys 0 up (at most 21) and removes the keys after
  // them, so that the file reads back as this list. False when the file
  // cannot be written.
  bool Save(const std::string& path, const std::string& section) const;

 private:
  std::vector<std::string> entries_;
};

}  // namespace tessaro
