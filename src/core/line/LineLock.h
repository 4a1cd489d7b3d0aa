#pragma once
// One line, one user: before a program opens a line it takes the line's
// lock, a flock on a file named after the line ("serial:/dev/ttyUSB0",
// "tcp:host:port") in a folder every user can write: $TESSARO_LOCK_DIR,
// else /run/lock, else the user's runtime folder, else /tmp. The shared
// folder lets two users of one serial device see each other. The holder
// writes "PID program" into the file. The kernel frees a flock when its
// holder dies, so a dead holder's lock is simply taken over; its stale text
// is overwritten. Release removes the file while still holding it; a taker
// that finds its file unlinked under it starts again.
//
//   LineLock lock;
//   if (lock.Acquire(LineLock::TcpKey("gw", 1000), 5000) == LineLock::Outcome::Busy)
//     ... lock.Holder().Text() names the other program ...

#include <string>

#include "core/line/UniqueFd.h"

namespace tessaro {

struct LineHolder {
  int pid = 0;          // 0: not known
  std::string program;  // empty: not known
  // "tessaro-cli (PID 1234)", or "another program" when nothing is known.
  std::string Text() const;
};

class LineLock {
 public:
  enum class Outcome {
    Taken,
    Busy,       // Holder() says who has it
    Unlockable  // no lock file could be made; the line is used unlocked
  };

  LineLock() = default;
  ~LineLock() { Release(); }
  LineLock(const LineLock&) = delete;
  LineLock& operator=(const LineLock&) = delete;

  // Takes the lock of key, trying for up to waitMs (sleeping between tries).
  // Holding a lock already releases it first.
  Outcome Acquire(const std::string& key, int waitMs);
  void Release();
  bool Held() const { return fd_.valid(); }
  const LineHolder& Holder() const { return holder_; }

  static std::string SerialKey(const std::string& device);  // the device's real path
  static std::string TcpKey(const std::string& host, int port);
  // The lock file of key in the lock folder.
  static std::string FileFor(const std::string& key);

 private:
  enum class Try { Taken, Busy, Retry, Failed };
  Try TryOnce(const std::string& path);

  UniqueFd fd_;
  std::string path_;
  LineHolder holder_;
};

}  // namespace tessaro
