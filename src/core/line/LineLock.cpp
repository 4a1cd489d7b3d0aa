#include "core/line/LineLock.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace tessaro {
namespace {

constexpr int kRetryPauseMs = 100;

bool WritableFolder(const char* path) {
  struct stat st {};
  return path != nullptr && *path != '\0' && ::stat(path, &st) == 0 && S_ISDIR(st.st_mode) &&
         ::access(path, W_OK | X_OK) == 0;
}

std::string LockFolder() {
  if (const char* forced = std::getenv("TESSARO_LOCK_DIR"); forced && *forced) return forced;
  if (WritableFolder("/run/lock")) return "/run/lock";
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); WritableFolder(runtime)) return runtime;
  return "/tmp";
}

std::string ThisProgram() {
  std::ifstream comm("/proc/self/comm");
  std::string name;
  std::getline(comm, name);
  return name.empty() ? "tessaro" : name;
}

bool Alive(int pid) { return pid > 0 && (::kill(pid, 0) == 0 || errno == EPERM); }

// The holder text of the lock file; a holder that no longer lives (the text
// of a dead process, or of a holder that could not write) is not known.
LineHolder ReadHolder(int fd) {
  char text[256];
  const ssize_t n = ::pread(fd, text, sizeof text - 1, 0);
  LineHolder holder;
  if (n <= 0) return holder;
  std::istringstream in(std::string(text, static_cast<size_t>(n)));
  int pid = 0;
  std::string program;
  if (!(in >> pid) || !Alive(pid)) return holder;
  std::getline(in >> std::ws, program);
  holder.pid = pid;
  holder.program = program;
  return holder;
}

void WriteHolder(int fd) {
  const std::string text = std::to_string(::getpid()) + " " + ThisProgram() + "\n";
  if (::ftruncate(fd, 0) == 0) (void)!::pwrite(fd, text.data(), text.size(), 0);
}

// Opens the lock file, making it (readable and writable by everyone, so
// another user of the line can lock it too) when missing. An existing file
// is opened without O_CREAT: a sticky folder may refuse O_CREAT on another
// user's file.
int OpenLockFile(const std::string& path) {
  for (int attempt = 0; attempt < 8; ++attempt) {
    int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0 && errno == EACCES) fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd >= 0 || errno != ENOENT) return fd;
    fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd >= 0) {
      (void)::fchmod(fd, 0666);
      return fd;
    }
    if (errno != EEXIST) return -1;
  }
  return -1;
}

}  // namespace

std::string LineHolder::Text() const {
  if (pid <= 0) return "another program";
  return (program.empty() ? std::string("a program") : program) + " (PID " + std::to_string(pid) +
         ")";
}

std::string LineLock::SerialKey(const std::string& device) {
  char resolved[PATH_MAX];
  if (::realpath(device.c_str(), resolved) != nullptr) return std::string("serial:") + resolved;
  return "serial:" + device;
}

std::string LineLock::TcpKey(const std::string& host, int port) {
  std::string lower = host;
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return "tcp:" + lower + ":" + std::to_string(port);
}

std::string LineLock::FileFor(const std::string& key) {
  std::string name = "tessaro-line.";
  for (const unsigned char c : key)
    name += std::isalnum(c) || c == '.' || c == '-' ? static_cast<char>(c) : '_';
  return LockFolder() + "/" + name + ".lock";
}

LineLock::Try LineLock::TryOnce(const std::string& path) {
  UniqueFd fd(OpenLockFile(path));
  if (!fd) return Try::Failed;
  if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
    if (errno != EWOULDBLOCK) return Try::Failed;
    holder_ = ReadHolder(fd.get());
    return Try::Busy;
  }
  // The previous holder may have removed the file between our open and
  // our lock: then the lock guards nothing.
  struct stat opened {
  }, named{};
  if (::fstat(fd.get(), &opened) != 0 || ::stat(path.c_str(), &named) != 0 ||
      opened.st_dev != named.st_dev || opened.st_ino != named.st_ino)
    return Try::Retry;
  WriteHolder(fd.get());
  fd_ = std::move(fd);
  path_ = path;
  holder_ = {};
  return Try::Taken;
}

LineLock::Outcome LineLock::Acquire(const std::string& key, int waitMs) {
  Release();
  const std::string path = FileFor(key);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
  for (;;) {
    switch (TryOnce(path)) {
      case Try::Taken:
        return Outcome::Taken;
      case Try::Failed:
        return Outcome::Unlockable;
      case Try::Retry:
        continue;
      case Try::Busy:
        break;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                          deadline - std::chrono::steady_clock::now())
                          .count();
    if (left <= 0) return Outcome::Busy;
    ::poll(nullptr, 0, static_cast<int>(std::min<long long>(left, kRetryPauseMs)));
  }
}

void LineLock::Release() {
  if (!fd_) return;
  // Removed while held, so no one can lock a name about to vanish; in a
  // sticky folder another user's file stays, which is harmless.
  ::unlink(path_.c_str());
  fd_.reset();
  path_.clear();
}

}  // namespace tessaro
