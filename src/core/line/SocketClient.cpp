#include "core/line/SocketClient.h"

#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <memory>
#include <system_error>

namespace tessaro {

TSocketClient::TSocketClient(std::string host, int port, SocketNotifications notifications)
    : host_(std::move(host)), port_(port), notifications_(std::move(notifications)) {
  wake_.reset(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
  if (!wake_) throw std::system_error(errno, std::generic_category(), "eventfd");
  thread_ = std::thread([this] { Run(); });
}

TSocketClient::~TSocketClient() {
  const uint64_t one = 1;
  if (::write(wake_.get(), &one, sizeof one) < 0) {
    // Only fails on counter overflow; the thread is woken either way.
  }
  if (thread_.joinable()) thread_.join();
}

void TSocketClient::SetState(State state) {
  {
    std::lock_guard lock(mutex_);
    state_ = state;
  }
  changed_.notify_all();
}

void TSocketClient::Notify(const std::function<void()>& handler) {
  if (!handler) return;
  try {
    handler();
  } catch (...) {
    // Notifications must not end the client's thread.
  }
}

int TSocketClient::WaitConnected(LineClock::time_point deadline) {
  std::unique_lock lock(mutex_);
  changed_.wait_until(lock, deadline, [this] { return state_ != State::Connecting; });
  return state_ == State::Connected || state_ == State::Closed ? socket_.get() : -1;
}

int TSocketClient::ConnectedFd() {
  std::lock_guard lock(mutex_);
  return state_ == State::Connected || state_ == State::Closed ? socket_.get() : -1;
}

bool TSocketClient::Failed() {
  std::lock_guard lock(mutex_);
  return state_ == State::Failed;
}

// Waits for a pending connect to finish; false when woken to stop.
bool TSocketClient::WaitWritable(int fd) {
  pollfd p[2] = {{fd, POLLOUT, 0}, {wake_.get(), POLLIN, 0}};
  for (;;) {
    const int n = ::poll(p, 2, -1);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 || p[1].revents) return false;
    if (p[0].revents) return true;
  }
}

bool TSocketClient::Connect(int& error) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_NUMERICSERV;
  addrinfo* found = nullptr;
  const std::string service = std::to_string(port_);
  const int rc = ::getaddrinfo(host_.c_str(), service.c_str(), &hints, &found);
  if (rc != 0) {
    error = rc == EAI_SYSTEM ? errno : EHOSTUNREACH;
    return false;
  }
  std::unique_ptr<addrinfo, void (*)(addrinfo*)> list(found, ::freeaddrinfo);
  error = ECONNREFUSED;
  for (const addrinfo* ai = list.get(); ai; ai = ai->ai_next) {
    UniqueFd fd(
        ::socket(ai->ai_family, ai->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, ai->ai_protocol));
    if (!fd) {
      error = errno;
      continue;
    }
    // Acknowledgements are single bytes: send each at once.
    const int one = 1;
    ::setsockopt(fd.get(), IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    if (::connect(fd.get(), ai->ai_addr, ai->ai_addrlen) != 0) {
      if (errno != EINPROGRESS) {
        error = errno;
        continue;
      }
      if (!WaitWritable(fd.get())) {
        error = ECANCELED;
        return false;
      }
      int soError = 0;
      socklen_t len = sizeof soError;
      if (::getsockopt(fd.get(), SOL_SOCKET, SO_ERROR, &soError, &len) != 0) soError = errno;
      if (soError != 0) {
        error = soError;
        continue;
      }
    }
    std::lock_guard lock(mutex_);
    socket_ = std::move(fd);
    return true;
  }
  return false;
}

void TSocketClient::Run() {
  Notify(notifications_.onConnecting);
  int error = 0;
  if (!Connect(error)) {
    SetState(State::Failed);
    if (error != ECANCELED && notifications_.onError) {
      try {
        notifications_.onError(error);
      } catch (...) {
      }
    }
    return;
  }
  SetState(State::Connected);
  Notify(notifications_.onConnect);
  // Watch for the peer closing without taking any of its data.
  pollfd p[2] = {{socket_.get(), POLLRDHUP, 0}, {wake_.get(), POLLIN, 0}};
  for (;;) {
    const int n = ::poll(p, 2, -1);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 || p[1].revents) return;
    if (p[0].revents) break;
  }
  SetState(State::Closed);
  Notify(notifications_.onDisconnect);
}

}  // namespace tessaro
