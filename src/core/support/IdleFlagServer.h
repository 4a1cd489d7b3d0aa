#pragma once
// Lets other programs ask whether a function is running: a Unix socket named
// after the mutex name, in the user's runtime folder, that sends each
// connecting client the current idle flag as one character, "1" (idle) or
// "0" (a function runs), and closes the connection. Only the process holding
// the SingleInstance lock should serve it.

#include <atomic>
#include <optional>
#include <string>
#include <thread>

#include "core/support/File.h"

namespace tessaro {

// The socket path for a mutex name in a folder.
std::string IdleFlagSocketPath(const std::string& name, const std::string& folder);

class IdleFlagServer {
 public:
  // flag must outlive the server.
  IdleFlagServer(const std::atomic<int>& flag, std::string name, std::string folder);
  ~IdleFlagServer();
  IdleFlagServer(const IdleFlagServer&) = delete;
  IdleFlagServer& operator=(const IdleFlagServer&) = delete;

  // Binds the socket (replacing a stale one left by a crashed run) and
  // starts answering on its own thread. False when the socket cannot be made.
  bool Start();
  // Stops the thread and removes the socket. Also done by the destructor.
  void Stop();
  const std::string& SocketPath() const { return path_; }

 private:
  void Serve();

  const std::atomic<int>& flag_;
  std::string path_;
  File listener_;
  File wakeRead_;
  File wakeWrite_;
  std::thread thread_;
};

// Asks the program holding name whether it is idle: 1 idle, 0 busy, nothing
// when no program answers within timeoutMs.
std::optional<int> QueryIdleFlag(const std::string& name, const std::string& folder,
                                 int timeoutMs = 1000);

}  // namespace tessaro
