#include "core/collect/WorkFile.h"

#include <utility>

namespace tessaro {

WorkFile& WorkFile::operator=(WorkFile&& other) noexcept {
  if (this != &other) {
    Remove();
    temporary_ = std::move(other.temporary_);
    file_ = std::move(other.file_);
  }
  return *this;
}

bool WorkFile::OpenForReading() {
  if (Path().empty()) return false;
  file_ = File::Open(Path(), File::Mode::Read);
  return file_.IsOpen();
}

void WorkFile::Remove() {
  file_.Close();
  temporary_.Remove();
}

}  // namespace tessaro
