#include "core/support/FileNames.h"

#include <sys/stat.h>

#include <filesystem>
#include <system_error>

namespace tessaro {
namespace {

namespace fs = std::filesystem;

// Where a name leads: symbolic links followed (a dangling one too, to the
// file it would make), "." and ".." resolved as far as the path exists and
// the rest taken as spelled.
fs::path Destination(const std::string& name) {
  std::error_code error;
  fs::path path = fs::absolute(name, error);
  for (int hop = 0; hop < 40 && fs::is_symlink(fs::symlink_status(path, error)); ++hop) {
    const fs::path target = fs::read_symlink(path, error);
    if (error) break;
    path = target.is_absolute() ? target : path.parent_path() / target;
  }
  const fs::path resolved = fs::weakly_canonical(path, error);
  return error ? path.lexically_normal() : resolved;
}

}  // namespace

std::string ChangeExtension(const std::string& path, const std::string& extension) {
  const size_t nameStart =
      path.find_last_of('/') == std::string::npos ? 0 : path.find_last_of('/') + 1;
  const size_t dot = path.find_last_of('.');
  const bool hasExtension = dot != std::string::npos && dot > nameStart;
  return (hasExtension ? path.substr(0, dot) : path) + extension;
}

bool NameOneFile(const std::string& a, const std::string& b) {
  if (a.empty() || b.empty()) return false;
  struct stat sa {
  }, sb{};
  if (::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0)
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
  return Destination(a) == Destination(b);
}

}  // namespace tessaro
