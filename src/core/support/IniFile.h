#pragma once
// Settings files in the Windows INI format with the private-profile
// semantics the program's files were written with:
// - section and key names compare case-insensitively (ASCII); surrounding
//   blanks are ignored; the first matching section and key win;
// - values are raw text: blanks around them are dropped, quotes are kept;
// - a write changes only the line of its key and leaves every other line
//   (other sections and keys, comments, blank lines, order, line endings)
//   as it was; a new key goes after the last key of its section, a new
//   section at the end of the file;
// - files are UTF-8 and are replaced atomically (temporary file in the same
//   folder, fsync, rename), so a crash leaves either the old or the new file.
// Failures are reported by return value; nothing here throws on I/O.
//
// The object holds the text between Load and Save. To keep other writers'
// changes, load right before changing and save at once, as Update does.

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tessaro {

class IniFile {
 public:
  IniFile() = default;
  explicit IniFile(std::string path) : path_(std::move(path)) {}

  const std::string& Path() const { return path_; }

  // Reads the file. A missing file reads as empty and succeeds; any other
  // failure, a path that is not a regular file included, leaves the object
  // empty and returns false (errno in LastError).
  bool Load();
  // Writes the whole text atomically; false (errno in LastError) on failure,
  // in which case the file on disk is unchanged. Something other than a
  // regular file at the path is never replaced.
  bool Save();
  int LastError() const { return lastError_; }

  // Load, edit, Save: the read-modify-write of one private-profile write.
  // Nothing is written when the load fails or edit returns false.
  static bool Update(const std::string& path, const std::function<bool(IniFile&)>& edit);

  // Replaces the held text, as if it had been read from the file.
  void SetText(const std::string& text);
  std::string Text() const;

  std::optional<std::string> Find(const std::string& section, const std::string& key) const;
  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& defaultValue) const;
  // A value that is not entirely a decimal integer (optional sign, blanks
  // around it allowed) or is out of range yields the default: "12abc", "",
  // "0x10" and "1e3" all do.
  int ReadInteger(const std::string& section, const std::string& key, int defaultValue) const;

  // False, changing nothing, when a name or the value would break the file
  // (a line break anywhere, '=' or leading ';' / '[' in a key, ']' in a
  // section, an empty key or section name).
  bool WriteString(const std::string& section, const std::string& key, const std::string& value);
  bool WriteInteger(const std::string& section, const std::string& key, int value);

  bool EraseKey(const std::string& section, const std::string& key);
  bool EraseSection(const std::string& section);  // the header and its lines

  bool HasSection(const std::string& section) const;
  std::vector<std::string> Sections() const;
  std::vector<std::string> Keys(const std::string& section) const;

 private:
  struct Range {
    size_t header;  // index of the section's header line
    size_t end;     // one past its last line
  };
  std::optional<Range> FindSection(const std::string& section) const;
  std::optional<size_t> FindKeyLine(const Range& range, const std::string& key) const;
  const char* NewLine() const { return crlf_ ? "\r\n" : "\n"; }

  std::string path_;
  std::vector<std::string> lines_;  // without '\n'; a '\r' before it is kept
  bool bom_ = false;
  bool crlf_ = false;
  bool finalNewline_ = true;
  int lastError_ = 0;
};

}  // namespace tessaro
