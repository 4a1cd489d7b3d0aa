#include "core/support/OutputTarget.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace tessaro {
namespace {

OutputTarget Refused(const std::string& path, const std::string& why) {
  OutputTarget target;
  target.path = path;
  target.reason = path + ": " + why;
  return target;
}

}  // namespace

std::string FileErrorReason(const std::string& path, int error) {
  return path + ": " + std::strerror(error);
}

OutputTarget ResolveOutputTarget(const std::string& path, ExistingFile existing) {
  OutputTarget target;
  target.path = path;
  if (existing == ExistingFile::Ignore) {
    target.status = OutputTarget::Status::New;
    return target;
  }
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) {
    if (errno != ENOENT) return Refused(path, std::strerror(errno));
    target.status = OutputTarget::Status::New;
    return target;
  }
  if (S_ISLNK(st.st_mode)) {
    char resolved[PATH_MAX];
    if (::stat(path.c_str(), &st) != 0 || !::realpath(path.c_str(), resolved))
      return Refused(path, "symbolic link to nothing");
    target.path = resolved;
  }
  if (S_ISDIR(st.st_mode)) return Refused(path, std::strerror(EISDIR));
  if (!S_ISREG(st.st_mode)) return Refused(path, "not a regular file");
  if (::access(target.path.c_str(), W_OK) != 0) return Refused(path, std::strerror(errno));
  if ((st.st_mode & 0222) == 0) return Refused(path, "read-only file");
  if (existing == ExistingFile::Refuse) return Refused(path, std::strerror(EEXIST));
  target.status = OutputTarget::Status::Existing;
  target.mode = st.st_mode & 07777;
  target.owner = st.st_uid;
  target.group = st.st_gid;
  return target;
}

}  // namespace tessaro
