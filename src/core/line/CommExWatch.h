#pragma once
// Watch thread of an open serial port: turns arriving data, a drained output
// queue and modem-line changes into the component's notifications. It sleeps
// in epoll (edge-triggered, so queued but unread data does not wake it again)
// and ends when stopped.

#include <sys/types.h>

#include <thread>

#include "core/line/UniqueFd.h"

namespace tessaro {

class TCommEx;

class TCommExWatch {
 public:
  // Starts the thread; throws std::system_error when it cannot be set up.
  TCommExWatch(TCommEx& owner, int portFd);
  TCommExWatch(const TCommExWatch&) = delete;
  TCommExWatch& operator=(const TCommExWatch&) = delete;
  // Stops the thread and waits for it, also for a notification in progress.
  ~TCommExWatch();

 private:
  void Run();

  TCommEx& owner_;
  int portFd_;
  UniqueFd epoll_;
  UniqueFd wake_;
  std::thread thread_;
};

}  // namespace tessaro
