#pragma once
// A move-only owner of a file descriptor with exact-length access. Record
// files are read and written in fixed-size pieces; a short read or write is a
// failure the caller must see, so every transfer either moves the whole count
// or returns false. Nothing here throws; the destructor closes quietly.

#include <sys/types.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>  // SEEK_SET, SEEK_CUR, SEEK_END
#include <optional>
#include <string>

namespace tessaro {

class File {
 public:
  enum class Mode {
    Read,       // existing file, read only
    ReadWrite,  // existing file, read and write
    Create,     // create or truncate, read and write
    Append,     // create when missing, writes go to the end
  };

  File() = default;
  explicit File(int fd) : fd_(fd) {}
  ~File();
  File(File&& other) noexcept;
  File& operator=(File&& other) noexcept;
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  // An unopened File on failure; errno tells why.
  static File Open(const std::string& path, Mode mode, mode_t permissions = 0644);
  // As Open, but a FIFO or device at path never makes the call wait (the
  // descriptor is non-blocking and never becomes a controlling terminal).
  static File OpenNoWait(const std::string& path, Mode mode, mode_t permissions = 0644);
  // As OpenNoWait, but only a regular file is opened: anything else gives an
  // unopened File with errno EISDIR for a folder, EINVAL otherwise.
  static File OpenRegular(const std::string& path, Mode mode, mode_t permissions = 0644);

  bool IsOpen() const { return fd_ >= 0; }
  explicit operator bool() const { return IsOpen(); }
  int Descriptor() const { return fd_; }
  int Release();
  // Closes now and reports whether the close succeeded (a deferred write
  // error can surface here). The descriptor is gone either way.
  bool Close();

  // origin is SEEK_SET, SEEK_CUR or SEEK_END. From the start, true only when
  // the new position is exactly offset.
  bool SeekExact(int64_t offset, int origin = SEEK_SET);
  bool ReadExact(void* buffer, size_t count);
  bool WriteExact(const void* buffer, size_t count);
  // Reads up to count bytes, fewer only at end of file; -1 on error.
  ssize_t ReadSome(void* buffer, size_t count);

  std::optional<int64_t> Position() const;
  std::optional<int64_t> Size() const;
  bool IsRegular() const;
  bool Truncate(int64_t length);
  bool Sync();

  // errno of the last operation that failed with one (0: none yet); a short
  // read at the end of the file is no error.
  int LastError() const { return error_; }

 private:
  bool Failed() {
    error_ = errno;
    return false;
  }

  int fd_ = -1;
  int error_ = 0;
};

}  // namespace tessaro
