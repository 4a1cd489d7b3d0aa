#include "core/collect/SafeOutputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <vector>

namespace tessaro {
namespace {

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// Makes the rename itself durable; a folder that cannot be synced is no
// reason to fail an otherwise complete file.
void SyncFolder(const std::string& folder) {
  File dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir) dir.Sync();
}

}  // namespace

bool SafeOutputFile::Create(const std::string& path) {
  Discard();
  const size_t slash = path.find_last_of('/');
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  if (name.empty()) return false;
  std::string pattern = path.substr(0, path.size() - name.size()) + "." + name + ".XXXXXX";
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  const int fd = ::mkostemp(buffer.data(), O_CLOEXEC);
  if (fd < 0) return false;
  file_ = File(fd);
  ::fchmod(fd, 0644);  // mkstemp makes 0600; the result is an ordinary data file
  path_ = path;
  temporaryPath_ = buffer.data();
  return true;
}

bool SafeOutputFile::Write(std::string_view data) {
  return file_.WriteExact(data.data(), data.size());
}

bool SafeOutputFile::Commit() {
  if (!file_) return false;
  const bool written = file_.Sync() && file_.Close();
  if (!written || std::rename(temporaryPath_.c_str(), path_.c_str()) != 0) {
    Discard();
    return false;
  }
  temporaryPath_.clear();
  SyncFolder(FolderOf(path_));
  return true;
}

void SafeOutputFile::Discard() {
  file_.Close();
  if (!temporaryPath_.empty()) {
    ::unlink(temporaryPath_.c_str());
    temporaryPath_.clear();
  }
}

}  // namespace tessaro
