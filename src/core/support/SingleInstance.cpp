#include "core/support/SingleInstance.h"

#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <utility>

namespace tessaro {

bool IsPrivateFolder(std::string folder) {
  // "link/" would make lstat look through the link.
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  struct stat st {};
  return !folder.empty() && folder.front() == '/' && ::lstat(folder.c_str(), &st) == 0 &&
         S_ISDIR(st.st_mode) && st.st_uid == ::getuid() && (st.st_mode & 077) == 0;
}

std::string ChooseRuntimeFolder(const std::string& runtimeDir, const std::string& fallback) {
  if (IsPrivateFolder(runtimeDir)) return runtimeDir;
  if (::mkdir(fallback.c_str(), 0700) != 0 && errno != EEXIST) return {};
  return IsPrivateFolder(fallback) ? fallback : std::string();
}

std::string RuntimeFolder() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  return ChooseRuntimeFolder(runtime ? runtime : "", "/tmp/tessaro-" + std::to_string(::getuid()));
}

SingleInstance::SingleInstance(std::string name)
    : SingleInstance(std::move(name), RuntimeFolder()) {}

SingleInstance::SingleInstance(std::string name, std::string folder) {
  if (!folder.empty()) lockPath_ = folder + "/" + name + ".lock";
}

bool SingleInstance::Acquire() {
  if (held_) return true;
  if (lockPath_.empty()) return true;
  // A FIFO or device at the lock's name is no lock and is not waited on.
  File file = File::OpenRegular(lockPath_, File::Mode::Append, 0600);
  if (!file) return true;
  int rc;
  do {
    rc = ::flock(file.Descriptor(), LOCK_EX | LOCK_NB);
  } while (rc != 0 && errno == EINTR);
  if (rc != 0) return errno != EWOULDBLOCK;
  lock_ = std::move(file);
  held_ = true;
  return true;
}

}  // namespace tessaro
