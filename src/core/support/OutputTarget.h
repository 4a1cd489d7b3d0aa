#pragma once
// Where an output file may go. A missing name is made new; an existing
// regular file the user may write is replaced (through a symbolic link: the
// file the link points to, which keeps the link). Anything else is refused:
// a device, FIFO, socket or folder, a dangling link, a file without write
// permission. Root may write anything, so for everyone a file that carries
// no write bit at all counts as read-only.

#include <sys/types.h>

#include <string>

namespace tessaro {

// What may happen to a file that already has the output's name.
enum class ExistingFile {
  Replace,  // the user agreed: a writable regular file is replaced
  Refuse,   // it stays; the output is refused ("name: File exists")
  Ignore,   // the output is never put in place: the name is not looked at
};

struct OutputTarget {
  enum class Status { New, Existing, Refused };
  Status status = Status::Refused;
  std::string path;  // the name to write: the link's target for a symbolic link
  // Existing: what the replacement keeps.
  mode_t mode = 0;
  uid_t owner = 0;
  gid_t group = 0;
  std::string reason;  // Refused: "name: why"

  bool Usable() const { return status != Status::Refused; }
};

OutputTarget ResolveOutputTarget(const std::string& path,
                                 ExistingFile existing = ExistingFile::Replace);

// "path: text of errno" (strerror).
std::string FileErrorReason(const std::string& path, int error);

}  // namespace tessaro
