#pragma once
// The far end of a line under test: a pseudo-terminal pair, a TCP listener on
// 127.0.0.1 and a scripted recorder that answers command lines on either.

#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <pty.h>
#include <sys/eventfd.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <arpa/inet.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>

#include "core/line/UniqueFd.h"

namespace tessaro::testing {

// Reads up to n bytes, waiting at most timeoutMs for each piece.
inline std::string ReadBytes(int fd, size_t n, int timeoutMs = 1000) {
  std::string out;
  while (out.size() < n) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, timeoutMs) <= 0) break;
    char buf[4096];
    const ssize_t r = ::read(fd, buf, std::min(sizeof buf, n - out.size()));
    if (r <= 0) break;
    out.append(buf, static_cast<size_t>(r));
  }
  return out;
}

inline bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t w = ::write(fd, bytes.data(), bytes.size());
    if (w < 0 && errno == EINTR) continue;
    if (w < 0 && errno == EAGAIN) {
      pollfd p{fd, POLLOUT, 0};
      ::poll(&p, 1, 1000);
      continue;
    }
    if (w <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(w));
  }
  return true;
}

// Bytes waiting to be read without waiting.
inline std::string Drain(int fd) { return ReadBytes(fd, 1 << 20, 50); }

class PtyPair {
 public:
  PtyPair() {
    int master = -1, slave = -1;
    char name[256];
    if (::openpty(&master, &slave, name, nullptr, nullptr) != 0)
      throw std::runtime_error("openpty failed");
    master_.reset(master);
    slave_.reset(slave);
    path_ = name;
  }
  int master() const { return master_.get(); }
  const std::string& path() const { return path_; }

 private:
  UniqueFd master_;
  UniqueFd slave_;  // kept open so the master never sees a hang-up between opens
  std::string path_;
};

class TcpListener {
 public:
  explicit TcpListener(int backlog = 8) {
    fd_.reset(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::bind(fd_.get(), reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        ::listen(fd_.get(), backlog) != 0)
      throw std::runtime_error("listen failed");
    socklen_t len = sizeof addr;
    ::getsockname(fd_.get(), reinterpret_cast<sockaddr*>(&addr), &len);
    port_ = ntohs(addr.sin_port);
  }
  int port() const { return port_; }
  // The next connection, or an invalid descriptor after timeoutMs.
  UniqueFd Accept(int timeoutMs = 5000) {
    pollfd p{fd_.get(), POLLIN, 0};
    if (::poll(&p, 1, timeoutMs) <= 0) return UniqueFd();
    return UniqueFd(::accept4(fd_.get(), nullptr, nullptr, SOCK_CLOEXEC));
  }

 private:
  UniqueFd fd_;
  int port_ = 0;
};

// A port on 127.0.0.1 where nothing listens.
inline int ClosedLocalPort() {
  TcpListener probe;
  return probe.port();  // closed again when probe goes away
}

// Answers each CR-terminated line read from a descriptor with what the
// script returns (nothing for std::nullopt), on its own thread.
class FakeRecorder {
 public:
  using Script = std::function<std::optional<std::string>(const std::string& line)>;

  FakeRecorder(int fd, Script script) : fd_(fd), script_(std::move(script)) {
    wake_.reset(::eventfd(0, EFD_CLOEXEC));
    thread_ = std::thread([this] { Run(); });
  }
  ~FakeRecorder() {
    const uint64_t one = 1;
    [[maybe_unused]] auto ignored = ::write(wake_.get(), &one, sizeof one);
    thread_.join();
  }
  int lines() const { return lines_.load(); }
  // The raw bytes of every line received so far (terminators included).
  std::string received() const {
    std::lock_guard lock(mutex_);
    return received_;
  }

 private:
  void Run() {
    std::string line;
    for (;;) {
      pollfd p[2] = {{fd_, POLLIN, 0}, {wake_.get(), POLLIN, 0}};
      if (::poll(p, 2, -1) < 0 && errno != EINTR) return;
      if (p[1].revents) return;
      if (!(p[0].revents & POLLIN)) return;
      char buf[2048];
      const ssize_t r = ::read(fd_, buf, sizeof buf);
      if (r <= 0) return;
      for (ssize_t i = 0; i < r; ++i) {
        line += buf[i];
        if (buf[i] != '\r') continue;
        {
          std::lock_guard lock(mutex_);
          received_ += line;
        }
        ++lines_;
        const auto reply = script_(line.substr(0, line.size() - 1));
        if (reply) WriteAll(fd_, *reply);
        line.clear();
      }
    }
  }

  int fd_;
  Script script_;
  UniqueFd wake_;
  std::atomic<int> lines_{0};
  mutable std::mutex mutex_;
  std::string received_;
  std::thread thread_;
};

// "??CMD" for the empty command, otherwise the command echoed back.
inline std::optional<std::string> EchoRecorder(const std::string& line) {
  if (line.empty()) return std::string("??CMD\r");
  return line + "\r";
}

inline double Seconds(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

// Wall-clock and processor seconds that fn takes.
struct Cost {
  double wall;
  double cpu;
};
template <typename Fn>
Cost Measure(Fn&& fn) {
  auto cpuNow = [] {
    rusage r{};
    ::getrusage(RUSAGE_SELF, &r);
    return r.ru_utime.tv_sec + r.ru_stime.tv_sec + (r.ru_utime.tv_usec + r.ru_stime.tv_usec) / 1e6;
  };
  const double cpu0 = cpuNow();
  const auto start = std::chrono::steady_clock::now();
  fn();
  return {Seconds(std::chrono::steady_clock::now() - start), cpuNow() - cpu0};
}

}  // namespace tessaro::testing
