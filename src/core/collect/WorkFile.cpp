#include "core/collect/WorkFile.h"

#include <unistd.h>

#include <utility>

namespace tessaro {

WorkFile::WorkFile(WorkFile&& other) noexcept
    : path_(std::exchange(other.path_, {})), file_(std::move(other.file_)) {}

WorkFile& WorkFile::operator=(WorkFile&& other) noexcept {
  if (this != &other) {
    Remove();
    path_ = std::exchange(other.path_, {});
    file_ = std::move(other.file_);
  }
  return *this;
}

bool WorkFile::OpenForReading() {
  if (path_.empty()) return false;
  file_ = File::Open(path_, File::Mode::Read);
  return file_.IsOpen();
}

void WorkFile::Remove() {
  file_.Close();
  if (!path_.empty()) ::unlink(path_.c_str());
  path_.clear();
}

}  // namespace tessaro
