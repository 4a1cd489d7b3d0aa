#pragma once
// Keeps a second copy of the program from running for the same user: an
// exclusive flock on a lock file named after the mutex name ("CVXWIN.TES")
// in the user's runtime folder, held until the object goes away. The kernel
// drops the lock when the process dies, so a crash leaves nothing stale.

#include <string>

#include "core/support/File.h"

namespace tessaro {

// True when folder is an absolute path naming a folder itself (not a
// symbolic link) owned by this user with no access for anybody else.
bool IsPrivateFolder(std::string folder);

// runtimeDir when it is a private folder, else fallback, created private
// when missing; empty when neither is a private folder.
std::string ChooseRuntimeFolder(const std::string& runtimeDir, const std::string& fallback);

// ChooseRuntimeFolder($XDG_RUNTIME_DIR, /tmp/tessaro-<uid>).
std::string RuntimeFolder();

class SingleInstance {
 public:
  // name: the mutex name; folder: where the lock lives (RuntimeFolder()).
  explicit SingleInstance(std::string name);
  SingleInstance(std::string name, std::string folder);
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  // False only when another process (or another SingleInstance object)
  // holds the lock. When no lock can be made at all (no usable folder), the
  // program runs unguarded, as it did when the mutex could not be created:
  // true is returned and Held() stays false.
  bool Acquire();
  bool Held() const { return held_; }
  const std::string& LockPath() const { return lockPath_; }

 private:
  std::string lockPath_;
  File lock_;
  bool held_ = false;
};

}  // namespace tessaro
