#include "core/support/IdleFlagServer.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace tessaro {
namespace {

// False when path does not fit a socket address.
bool MakeAddress(const std::string& path, sockaddr_un& addr) {
  std::memset(&addr, 0, sizeof addr);
  addr.sun_family = AF_UNIX;
  if (path.empty() || path.size() >= sizeof addr.sun_path) return false;
  std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
  return true;
}

// A connected non-blocking client socket, or an unopened File.
File ConnectTo(const sockaddr_un& addr) {
  File socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
  if (!socket) return socket;
  int rc;
  do {
    rc = ::connect(socket.Descriptor(), reinterpret_cast<const sockaddr*>(&addr), sizeof addr);
  } while (rc != 0 && errno == EINTR);
  if (rc != 0) socket.Close();
  return socket;
}

int PollRetrying(pollfd* fds, nfds_t n, int timeoutMs) {
  int rc;
  do {
    rc = ::poll(fds, n, timeoutMs);
  } while (rc < 0 && errno == EINTR);
  return rc;
}

}  // namespace

std::string IdleFlagSocketPath(const std::string& name, const std::string& folder) {
  return folder.empty() ? std::string() : folder + "/" + name + ".sock";
}

IdleFlagServer::IdleFlagServer(const std::atomic<int>& flag, std::string name, std::string folder)
    : flag_(flag), path_(IdleFlagSocketPath(name, folder)) {}

IdleFlagServer::~IdleFlagServer() { Stop(); }

bool IdleFlagServer::Start() {
  if (thread_.joinable()) return true;
  sockaddr_un addr;
  if (!MakeAddress(path_, addr)) return false;
  File listener(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
  if (!listener) return false;
  // A socket file nobody serves was left by a run that did not end cleanly;
  // one that answers belongs to a running copy and is not taken over.
  if (ConnectTo(addr)) return false;
  ::unlink(path_.c_str());
  if (::bind(listener.Descriptor(), reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0)
    return false;
  int pipeFds[2];
  if (::listen(listener.Descriptor(), 8) != 0 || ::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0) {
    ::unlink(path_.c_str());
    return false;
  }
  wakeRead_ = File(pipeFds[0]);
  wakeWrite_ = File(pipeFds[1]);
  listener_ = std::move(listener);
  thread_ = std::thread([this] { Serve(); });
  return true;
}

void IdleFlagServer::Stop() {
  if (!thread_.joinable()) return;
  const char wake = 'x';
  wakeWrite_.WriteExact(&wake, 1);
  thread_.join();
  listener_.Close();
  wakeRead_.Close();
  wakeWrite_.Close();
  ::unlink(path_.c_str());
}

void IdleFlagServer::Serve() {
  pollfd fds[2] = {{listener_.Descriptor(), POLLIN, 0}, {wakeRead_.Descriptor(), POLLIN, 0}};
  for (;;) {
    if (PollRetrying(fds, 2, -1) < 0) return;
    if (fds[1].revents != 0) return;
    if (fds[0].revents & (POLLERR | POLLNVAL)) return;
    if (!(fds[0].revents & POLLIN)) continue;
    File client(::accept4(listener_.Descriptor(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC));
    if (!client) {
      // Out of descriptors the connection stays pending and poll would
      // report it at once again: back off instead of spinning.
      if (errno == EMFILE || errno == ENFILE) PollRetrying(&fds[1], 1, 100);
      continue;
    }
    const char answer = flag_.load() != 0 ? '1' : '0';
    ::send(client.Descriptor(), &answer, 1, MSG_NOSIGNAL);
  }
}

std::optional<int> QueryIdleFlag(const std::string& name, const std::string& folder,
                                 int timeoutMs) {
  sockaddr_un addr;
  if (!MakeAddress(IdleFlagSocketPath(name, folder), addr)) return std::nullopt;
  // Non-blocking, so a server that stopped accepting cannot stall the caller.
  const File socket = ConnectTo(addr);
  if (!socket) return std::nullopt;
  pollfd fd{socket.Descriptor(), POLLIN, 0};
  if (PollRetrying(&fd, 1, timeoutMs) <= 0) return std::nullopt;
  char answer = 0;
  if (::recv(socket.Descriptor(), &answer, 1, MSG_DONTWAIT) != 1) return std::nullopt;
  if (answer != '0' && answer != '1') return std::nullopt;
  return answer - '0';
}

}  // namespace tessaro
