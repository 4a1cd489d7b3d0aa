#include "core/support/OwnedTemporary.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <utility>

namespace tessaro {
namespace {

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// True when path still names the open file fd.
bool StillNamed(int fd, const std::string& path) {
  struct stat open {
  }, named{};
  return ::fstat(fd, &open) == 0 && ::lstat(path.c_str(), &named) == 0 && SameFile(open, named);
}

// renameat2 without replacing; filesystems without it get link and unlink,
// which cannot replace either.
bool RenameNoReplace(const std::string& from, const std::string& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  if (::link(from.c_str(), to.c_str()) != 0) return false;
  ::unlink(from.c_str());
  return true;
}

}  // namespace

OwnedTemporary::OwnedTemporary(OwnedTemporary&& other) noexcept
    : path_(std::exchange(other.path_, {})), file_(std::move(other.file_)) {}

OwnedTemporary& OwnedTemporary::operator=(OwnedTemporary&& other) noexcept {
  if (this != &other) {
    Remove();
    path_ = std::exchange(other.path_, {});
    file_ = std::move(other.file_);
  }
  return *this;
}

OwnedTemporary OwnedTemporary::Create(const std::string& path) {
  OwnedTemporary made;
  File file(::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
  if (!file) return made;
  // A sweep that found the new file before it was locked takes it away;
  // the name then counts as taken and the caller tries another.
  if (::flock(file.Descriptor(), LOCK_EX | LOCK_NB) != 0 || !StillNamed(file.Descriptor(), path)) {
    errno = EEXIST;
    return made;
  }
  made.path_ = path;
  made.file_ = std::move(file);
  return made;
}

bool OwnedTemporary::RenameTo(const std::string& target, bool noReplace) {
  if (!file_) {
    errno = EBADF;
    return false;
  }
  const bool renamed =
      noReplace ? RenameNoReplace(path_, target) : std::rename(path_.c_str(), target.c_str()) == 0;
  if (!renamed) return false;
  path_.clear();
  file_.Close();
  return true;
}

void OwnedTemporary::Remove() {
  // Unlinked while still locked: no sweep can mistake it for a leftover.
  if (!path_.empty()) ::unlink(path_.c_str());
  path_.clear();
  file_.Close();
}

int OwnedTemporary::RemoveStale(const std::string& folder,
                                const std::function<bool(const std::string& name)>& matches) {
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return 0;
  const std::string prefix = folder.empty() || folder.back() == '/' ? folder : folder + '/';
  int removed = 0;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (!matches(name)) continue;
    const std::string path = prefix + name;
    File file(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat st {};
    if (!file || ::fstat(file.Descriptor(), &st) != 0 || !S_ISREG(st.st_mode) ||
        st.st_uid != ::geteuid())
      continue;
    if (::flock(file.Descriptor(), LOCK_EX | LOCK_NB) != 0) continue;  // its owner lives
    if (StillNamed(file.Descriptor(), path) && ::unlink(path.c_str()) == 0) ++removed;
  }
  ::closedir(dir);
  return removed;
}

}  // namespace tessaro
