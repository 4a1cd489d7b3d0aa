#include "core/support/SingleInstance.h"

#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <utility>

namespace tessaro {

std::string RuntimeFolder() {
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime == '/')
    return runtime;
  // /tmp is shared: use the folder only when it is ours and private.
  const std::string folder = "/tmp/tessaro-" + std::to_string(::getuid());
  if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return {};
  struct stat st {};
  if (::lstat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid() ||
      (st.st_mode & 077) != 0)
    return {};
  return folder;
}

SingleInstance::SingleInstance(std::string name)
    : SingleInstance(std::move(name), RuntimeFolder()) {}

SingleInstance::SingleInstance(std::string name, std::string folder) {
  if (!folder.empty()) lockPath_ = folder + "/" + name + ".lock";
}

bool SingleInstance::Acquire() {
  if (held_) return true;
  if (lockPath_.empty()) return true;
  File file = File::Open(lockPath_, File::Mode::Append, 0600);
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
