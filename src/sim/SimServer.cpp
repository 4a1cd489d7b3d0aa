#include "sim/SimServer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <pty.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "sim/SimSession.h"

namespace tessaro::sim {

namespace {

std::runtime_error SystemError(const std::string& what) {
  return std::runtime_error(what + ": " + std::strerror(errno));
}

void SetNonBlocking(int fd) {
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags >= 0) ::fcntl(fd, F_SETFL, flags | O_NONBLOCK);
}

}  // namespace

SimServer::SimServer(const RecorderProfile& profile, const std::vector<int>& slaveIds)
    : slaved_(!slaveIds.empty()) {
  if (slaveIds.empty()) {
    owned_[-1] = std::make_unique<Recorder>(profile);
  } else {
    for (int id : slaveIds) owned_[id & 0xFFFF] = std::make_unique<Recorder>(profile, id & 0xFFFF);
  }
  for (auto& [id, recorder] : owned_) recorders_[id] = recorder.get();
  stopEvent_ = File(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
  if (!stopEvent_) throw SystemError("eventfd");
}

SimServer::~SimServer() { Stop(); }

Recorder& SimServer::GetRecorder(int slaveId) {
  if (!slaved_ || slaveId < 0) return *owned_.begin()->second;
  return *owned_.at(slaveId);
}

int SimServer::StartTcp(int port) {
  if (listener_) throw std::runtime_error("the TCP transport is already running");
  File socket(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
  if (!socket) throw SystemError("socket");
  const int yes = 1;
  ::setsockopt(socket.Descriptor(), SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<uint16_t>(port));
  if (::bind(socket.Descriptor(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    throw SystemError("bind 127.0.0.1:" + std::to_string(port));
  }
  if (::listen(socket.Descriptor(), 4) != 0) throw SystemError("listen");
  socklen_t length = sizeof address;
  ::getsockname(socket.Descriptor(), reinterpret_cast<sockaddr*>(&address), &length);
  tcpPort_ = ntohs(address.sin_port);
  listener_ = std::move(socket);
  tcpThread_ = std::thread([this] { ServeTcp(); });
  return tcpPort_;
}

std::string SimServer::StartPty() {
  if (ptyMaster_) throw std::runtime_error("the pty transport is already running");
  int master = -1;
  int slave = -1;
  termios raw{};
  cfmakeraw(&raw);
  cfsetispeed(&raw, B38400);
  cfsetospeed(&raw, B38400);
  if (::openpty(&master, &slave, nullptr, &raw, nullptr) != 0) throw SystemError("openpty");
  ptyMaster_ = File(master);
  ptySlave_ = File(slave);
  ::fcntl(master, F_SETFD, FD_CLOEXEC);
  ::fcntl(slave, F_SETFD, FD_CLOEXEC);
  SetNonBlocking(master);
  char name[256];
  if (::ttyname_r(slave, name, sizeof name) != 0) throw SystemError("ttyname");
  ptyPath_ = name;
  ptyThread_ = std::thread([this] { ServePty(); });
  return ptyPath_;
}

void SimServer::Stop() {
  if (stopEvent_) {
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(stopEvent_.Descriptor(), &one, sizeof one);
  }
  if (tcpThread_.joinable()) tcpThread_.join();
  if (ptyThread_.joinable()) ptyThread_.join();
  listener_ = File();
  ptyMaster_ = File();
  ptySlave_ = File();
}

void SimServer::ServeTcp() {
  File client;
  for (;;) {
    if (!client) {
      pollfd fds[2] = {{listener_.Descriptor(), POLLIN, 0}, {stopEvent_.Descriptor(), POLLIN, 0}};
      if (::poll(fds, 2, -1) < 0 && errno != EINTR) return;
      if (fds[1].revents != 0) return;
    }
    File next(::accept4(listener_.Descriptor(), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK));
    if (next) {
      const int yes = 1;
      ::setsockopt(next.Descriptor(), IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
      client = std::move(next);  // the newest client wins
      const int growth = faults_.Get().growRecords;
      if (faults_.CountConnection() > 1 && growth > 0)
        for (auto& [id, recorder] : recorders_) recorder->AddRecords(0, growth);
    }
    if (!client) continue;
    SimStream stream(client.Descriptor(), stopEvent_.Descriptor(), listener_.Descriptor());
    SimSession session(stream, recorders_, slaved_, faults_);
    const IoResult end = session.Run();
    if (end == IoResult::Stopped) return;
    if (end == IoResult::Closed) client = File();
  }
}

void SimServer::ServePty() {
  for (;;) {
    SimStream stream(ptyMaster_.Descriptor(), stopEvent_.Descriptor());
    SimSession session(stream, recorders_, slaved_, faults_);
    const IoResult end = session.Run();
    if (end == IoResult::Stopped) return;
    // A failed read on the master: wait a little before serving again, so a
    // persistent error cannot spin.
    pollfd fd{stopEvent_.Descriptor(), POLLIN, 0};
    if (::poll(&fd, 1, 100) > 0) return;
  }
}

}  // namespace tessaro::sim
