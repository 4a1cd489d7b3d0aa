#include "core/support/IniFile.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdint>
#include <mutex>

#include "core/support/File.h"

namespace tessaro {
namespace {

constexpr char kBom[] = "\xEF\xBB\xBF";
// Settings files are a few kilobytes; anything this large is not one.
constexpr int64_t kMaxFileSize = 16 * 1024 * 1024;

std::string_view Content(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

std::string_view Trim(std::string_view s) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

// The section name when line is a header "[name]".
std::optional<std::string_view> HeaderName(std::string_view line) {
  const std::string_view t = Trim(Content(line));
  if (t.empty() || t.front() != '[') return std::nullopt;
  const size_t close = t.find(']');
  return Trim(t.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
}

struct KeyLine {
  std::string_view key;
  std::string_view value;
  size_t valueStart;  // offset of the value text in the line
};

std::optional<KeyLine> ParseKeyLine(std::string_view line) {
  const std::string_view c = Content(line);
  const std::string_view t = Trim(c);
  if (t.empty() || t.front() == ';' || t.front() == '[') return std::nullopt;
  const size_t eq = c.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  size_t start = eq + 1;
  while (start < c.size() && (c[start] == ' ' || c[start] == '\t')) ++start;
  return KeyLine{Trim(c.substr(0, eq)), Trim(c.substr(eq + 1)), start};
}

bool HasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

// fsync of the folder makes the rename itself durable.
void SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  File dir(fd);
  dir.Sync();
}

}  // namespace

bool IniFile::Load() {
  SetText("");
  lastError_ = 0;
  // A FIFO or device in place of the file is unreadable, never waited on.
  File file = File::OpenRegular(path_, File::Mode::Read);
  if (!file) {
    lastError_ = errno;
    return lastError_ == ENOENT;
  }
  std::string text;
  char buffer[8192];
  for (;;) {
    const ssize_t n = file.ReadSome(buffer, sizeof buffer);
    if (n < 0) {
      lastError_ = errno;
      return false;
    }
    if (n == 0) break;
    text.append(buffer, static_cast<size_t>(n));
    if (static_cast<int64_t>(text.size()) > kMaxFileSize) {
      lastError_ = EFBIG;
      return false;
    }
  }
  SetText(text);
  return true;
}

bool IniFile::Save() {
  lastError_ = 0;
  // Replace the file a symbolic link points at, not the link.
  std::string target = path_;
  if (char* real = ::realpath(path_.c_str(), nullptr)) {
    target = real;
    ::free(real);
  }
  struct stat old {};
  const bool exists = ::stat(target.c_str(), &old) == 0;
  if (exists && !S_ISREG(old.st_mode)) {
    lastError_ = S_ISDIR(old.st_mode) ? EISDIR : EINVAL;
    return false;
  }
  const size_t slash = target.rfind('/');
  const std::string folder = slash == std::string::npos ? "./" : target.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
  std::string temp = folder + "." + name + ".XXXXXX";

  const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) {
    lastError_ = errno;
    return false;
  }
  File file(fd);
  ::fchmod(fd, exists ? (old.st_mode & 07777) : 0644);
  const std::string text = Text();
  bool ok = file.WriteExact(text.data(), text.size()) && file.Sync();
  if (!ok) lastError_ = errno;
  if (!file.Close() && ok) {
    ok = false;
    lastError_ = errno;
  }
  if (ok && ::rename(temp.c_str(), target.c_str()) != 0) {
    ok = false;
    lastError_ = errno;
  }
  if (!ok) {
    ::unlink(temp.c_str());
    return false;
  }
  SyncFolder(folder);
  return true;
}

bool IniFile::Update(const std::string& path, const std::function<bool(IniFile&)>& edit) {
  // Two threads updating one file at once would each save over the other's
  // change; the private-profile functions serialise this for the process too.
  static std::mutex updateMutex;
  std::lock_guard lock(updateMutex);
  IniFile ini(path);
  return ini.Load() && edit(ini) && ini.Save();
}

void IniFile::SetText(const std::string& text) {
  std::string_view rest = text;
  bom_ = rest.substr(0, 3) == kBom;
  if (bom_) rest.remove_prefix(3);
  lines_.clear();
  finalNewline_ = rest.empty() || rest.back() == '\n';
  while (!rest.empty()) {
    const size_t nl = rest.find('\n');
    lines_.emplace_back(rest.substr(0, nl));
    if (nl == std::string_view::npos) break;
    rest.remove_prefix(nl + 1);
  }
  crlf_ = !lines_.empty() && !lines_.front().empty() && lines_.front().back() == '\r';
}

std::string IniFile::Text() const {
  std::string text = bom_ ? kBom : "";
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (i > 0) text += '\n';
    text += lines_[i];
  }
  if (finalNewline_ && !lines_.empty()) text += '\n';
  return text;
}

std::optional<IniFile::Range> IniFile::FindSection(const std::string& section) const {
  const std::string_view wanted = Trim(section);
  for (size_t i = 0; i < lines_.size(); ++i) {
    const auto name = HeaderName(lines_[i]);
    if (!name || !SameName(*name, wanted)) continue;
    size_t end = i + 1;
    while (end < lines_.size() && !HeaderName(lines_[end])) ++end;
    return Range{i, end};
  }
  return std::nullopt;
}

std::optional<size_t> IniFile::FindKeyLine(const Range& range, const std::string& key) const {
  const std::string_view wanted = Trim(key);
  for (size_t i = range.header + 1; i < range.end; ++i) {
    const auto line = ParseKeyLine(lines_[i]);
    if (line && SameName(line->key, wanted)) return i;
  }
  return std::nullopt;
}

std::optional<std::string> IniFile::Find(const std::string& section, const std::string& key) const {
  const auto range = FindSection(section);
  if (!range) return std::nullopt;
  const auto at = FindKeyLine(*range, key);
  if (!at) return std::nullopt;
  return std::string(ParseKeyLine(lines_[*at])->value);
}

std::string IniFile::ReadString(const std::string& section, const std::string& key,
                                const std::string& defaultValue) const {
  return Find(section, key).value_or(defaultValue);
}

int IniFile::ReadInteger(const std::string& section, const std::string& key,
                         int defaultValue) const {
  const auto text = Find(section, key);
  if (!text) return defaultValue;
  std::string_view digits = Trim(*text);
  if (!digits.empty() && digits.front() == '+') {
    digits.remove_prefix(1);
    if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) return defaultValue;
  }
  int value = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (ec != std::errc() || end != digits.data() + digits.size()) return defaultValue;
  return value;
}

bool IniFile::WriteString(const std::string& section, const std::string& key,
                          const std::string& value) {
  const std::string_view s = Trim(section);
  const std::string_view k = Trim(key);
  if (s.empty() || k.empty() || HasLineBreak(section) || HasLineBreak(key) || HasLineBreak(value) ||
      s.find(']') != std::string_view::npos || k.find('=') != std::string_view::npos ||
      k.front() == ';' || k.front() == '[')
    return false;
  const std::string cr = crlf_ ? "\r" : "";
  const std::string newLine = std::string(k) + "=" + value + cr;
  const auto range = FindSection(section);
  if (!range) {
    lines_.push_back("[" + std::string(s) + "]" + cr);
    lines_.push_back(newLine);
    finalNewline_ = true;
    return true;
  }
  if (const auto at = FindKeyLine(*range, key)) {
    std::string& line = lines_[*at];
    const bool hadCr = !line.empty() && line.back() == '\r';
    line = line.substr(0, ParseKeyLine(line)->valueStart) + value + (hadCr ? "\r" : "");
    return true;
  }
  size_t insertAt = range->header + 1;
  for (size_t i = range->header + 1; i < range->end; ++i)
    if (ParseKeyLine(lines_[i])) insertAt = i + 1;
  if (insertAt == lines_.size()) finalNewline_ = true;
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt), newLine);
  return true;
}

bool IniFile::WriteInteger(const std::string& section, const std::string& key, int value) {
  return WriteString(section, key, std::to_string(value));
}

bool IniFile::EraseKey(const std::string& section, const std::string& key) {
  const auto range = FindSection(section);
  if (!range) return false;
  const auto at = FindKeyLine(*range, key);
  if (!at) return false;
  lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(*at));
  return true;
}

bool IniFile::EraseSection(const std::string& section) {
  const auto range = FindSection(section);
  if (!range) return false;
  lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(range->header),
               lines_.begin() + static_cast<std::ptrdiff_t>(range->end));
  return true;
}

bool IniFile::HasSection(const std::string& section) const {
  return FindSection(section).has_value();
}

std::vector<std::string> IniFile::Sections() const {
  std::vector<std::string> names;
  for (const auto& line : lines_)
    if (const auto name = HeaderName(line)) names.emplace_back(*name);
  return names;
}

std::vector<std::string> IniFile::Keys(const std::string& section) const {
  std::vector<std::string> keys;
  const auto range = FindSection(section);
  if (!range) return keys;
  for (size_t i = range->header + 1; i < range->end; ++i)
    if (const auto line = ParseKeyLine(lines_[i])) keys.emplace_back(line->key);
  return keys;
}

}  // namespace tessaro
