#include "core/support/File.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace tessaro {
namespace {

int OpenFlags(File::Mode mode) {
  switch (mode) {
    case File::Mode::Read:
      return O_RDONLY;
    case File::Mode::ReadWrite:
      return O_RDWR;
    case File::Mode::Create:
      return O_RDWR | O_CREAT | O_TRUNC;
    case File::Mode::Append:
      return O_WRONLY | O_CREAT | O_APPEND;
  }
  return O_RDONLY;
}

File OpenWithFlags(const std::string& path, int flags, mode_t permissions) {
  int fd;
  do {
    fd = ::open(path.c_str(), flags | O_CLOEXEC, permissions);
  } while (fd < 0 && errno == EINTR);
  return File(fd);
}

}  // namespace

File::~File() {
  if (fd_ >= 0) ::close(fd_);  // close is never retried: the fd is released even on EINTR
}

File::File(File&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), error_(std::exchange(other.error_, 0)) {}

File& File::operator=(File&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = std::exchange(other.fd_, -1);
    error_ = std::exchange(other.error_, 0);
  }
  return *this;
}

File File::Open(const std::string& path, Mode mode, mode_t permissions) {
  return OpenWithFlags(path, OpenFlags(mode), permissions);
}

File File::OpenNoWait(const std::string& path, Mode mode, mode_t permissions) {
  return OpenWithFlags(path, OpenFlags(mode) | O_NONBLOCK | O_NOCTTY, permissions);
}

File File::OpenRegular(const std::string& path, Mode mode, mode_t permissions) {
  File file = OpenNoWait(path, mode, permissions);
  struct stat st {};
  if (!file || (::fstat(file.Descriptor(), &st) == 0 && S_ISREG(st.st_mode))) return file;
  file.Close();
  errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
  return file;
}

int File::Release() { return std::exchange(fd_, -1); }

bool File::Close() {
  if (fd_ < 0) return false;
  return ::close(std::exchange(fd_, -1)) == 0 || Failed();
}

bool File::SeekExact(int64_t offset, int origin) {
  if (fd_ < 0) return false;
  const off_t at = ::lseek(fd_, static_cast<off_t>(offset), origin);
  if (at < 0) return Failed();
  return origin != SEEK_SET || at == offset;
}

ssize_t File::ReadSome(void* buffer, size_t count) {
  if (fd_ < 0) return -1;
  auto* out = static_cast<char*>(buffer);
  size_t done = 0;
  while (done < count) {
    const ssize_t n = ::read(fd_, out + done, count - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      Failed();
      return -1;
    }
    if (n == 0) break;
    done += static_cast<size_t>(n);
  }
  return static_cast<ssize_t>(done);
}

bool File::ReadExact(void* buffer, size_t count) {
  return ReadSome(buffer, count) == static_cast<ssize_t>(count);
}

bool File::WriteExact(const void* buffer, size_t count) {
  if (fd_ < 0) return false;
  const auto* in = static_cast<const char*>(buffer);
  size_t done = 0;
  while (done < count) {
    const ssize_t n = ::write(fd_, in + done, count - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return Failed();
    }
    if (n == 0) {
      errno = EIO;
      return Failed();
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

std::optional<int64_t> File::Position() const {
  if (fd_ < 0) return std::nullopt;
  const off_t at = ::lseek(fd_, 0, SEEK_CUR);
  if (at < 0) return std::nullopt;
  return at;
}

std::optional<int64_t> File::Size() const {
  struct stat st {};
  if (fd_ < 0 || ::fstat(fd_, &st) != 0) return std::nullopt;
  return st.st_size;
}

bool File::IsRegular() const {
  struct stat st {};
  return fd_ >= 0 && ::fstat(fd_, &st) == 0 && S_ISREG(st.st_mode);
}

bool File::Truncate(int64_t length) {
  if (fd_ < 0) return false;
  int rc;
  do {
    rc = ::ftruncate(fd_, static_cast<off_t>(length));
  } while (rc != 0 && errno == EINTR);
  return rc == 0 || Failed();
}

bool File::Sync() {
  if (fd_ < 0) return false;
  int rc;
  do {
    rc = ::fsync(fd_);
  } while (rc != 0 && errno == EINTR);
  return rc == 0 || Failed();
}

}  // namespace tessaro
