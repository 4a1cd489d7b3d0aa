#include "sim/SimStream.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>

namespace tessaro::sim {

namespace {

using Clock = std::chrono::steady_clock;

int RemainingMs(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  return static_cast<int>(std::max<int64_t>(0, left.count()));
}

}  // namespace

SimStream::SimStream(int fd, int stopFd, int preemptFd)
    : fd_(fd), stopFd_(stopFd), preemptFd_(preemptFd) {
  int type = 0;
  socklen_t length = sizeof type;
  socket_ = ::getsockopt(fd, SOL_SOCKET, SO_TYPE, &type, &length) == 0;
}

IoResult SimStream::Fill(int timeoutMs, bool allowPreempt) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
  for (;;) {
    pollfd fds[3] = {{fd_, POLLIN, 0}, {stopFd_, POLLIN, 0}, {preemptFd_, POLLIN, 0}};
    const nfds_t count = allowPreempt && preemptFd_ >= 0 ? 3 : 2;
    const int wait = timeoutMs < 0 ? -1 : RemainingMs(deadline);
    const int ready = ::poll(fds, count, wait);
    if (ready < 0) {
      if (errno == EINTR) continue;
      return IoResult::Closed;
    }
    if (fds[1].revents != 0) return IoResult::Stopped;
    if (fds[0].revents != 0) {
      const ssize_t n = ::read(fd_, buffer_, sizeof buffer_);
      if (n > 0) {
        begin_ = 0;
        end_ = static_cast<size_t>(n);
        return IoResult::Ok;
      }
      if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
      return IoResult::Closed;
    }
    if (count == 3 && fds[2].revents != 0) return IoResult::Preempted;
    if (ready == 0 && timeoutMs >= 0) return IoResult::Timeout;
  }
}

IoResult SimStream::ReadByte(uint8_t& byte, int timeoutMs, bool allowPreempt) {
  if (begin_ == end_) {
    const IoResult result = Fill(timeoutMs, allowPreempt);
    if (result != IoResult::Ok) return result;
  }
  byte = buffer_[begin_++];
  return IoResult::Ok;
}

bool SimStream::PollByte(uint8_t& byte) { return ReadByte(byte, 0) == IoResult::Ok; }

void SimStream::DiscardInput() {
  begin_ = end_ = 0;
  uint8_t byte;
  while (ReadByte(byte, 0) == IoResult::Ok) begin_ = end_;
}

IoResult SimStream::WaitWritable() {
  for (;;) {
    pollfd fds[2] = {{fd_, POLLOUT, 0}, {stopFd_, POLLIN, 0}};
    if (::poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return IoResult::Closed;
    }
    if (fds[1].revents != 0) return IoResult::Stopped;
    if (fds[0].revents & (POLLERR | POLLHUP | POLLNVAL)) return IoResult::Closed;
    if (fds[0].revents & POLLOUT) return IoResult::Ok;
  }
}

IoResult SimStream::Write(const uint8_t* data, size_t size, int baud) {
  const auto start = Clock::now();
  // Paced output goes out in pieces of about 10 ms of line time.
  const size_t piece = baud > 0 ? std::max<size_t>(1, static_cast<size_t>(baud) / 1000) : size;
  size_t sent = 0;
  while (sent < size) {
    const size_t want = std::min(piece, size - sent);
    const ssize_t n =
        socket_ ? ::send(fd_, data + sent, want, MSG_NOSIGNAL) : ::write(fd_, data + sent, want);
    if (n < 0) {
      if (errno == EINTR) continue;
      if (errno != EAGAIN && errno != EWOULDBLOCK) return IoResult::Closed;
      const IoResult wait = WaitWritable();
      if (wait != IoResult::Ok) return wait;
      continue;
    }
    sent += static_cast<size_t>(n);
    if (baud > 0) {
      const auto due =
          start + std::chrono::microseconds(static_cast<int64_t>(sent) * 10 * 1000000 / baud);
      const int ms = RemainingMs(due);
      if (ms > 0) {
        const IoResult slept = Sleep(ms);
        if (slept != IoResult::Ok) return slept;
      }
    }
  }
  return IoResult::Ok;
}

IoResult SimStream::Sleep(int milliseconds) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(milliseconds);
  for (;;) {
    const int left = RemainingMs(deadline);
    if (left <= 0) return IoResult::Ok;
    pollfd fd{stopFd_, POLLIN, 0};
    const int ready = ::poll(&fd, 1, left);
    if (ready > 0) return IoResult::Stopped;
    if (ready < 0 && errno != EINTR) return IoResult::Closed;
  }
}

}  // namespace tessaro::sim
