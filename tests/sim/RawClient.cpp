#include "RawClient.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "core/line/LineFacade.h"

namespace tessaro::simtest {

std::string SlaveFrame(int slaveId, const std::string& text) {
  char header[16];
  std::snprintf(header, sizeof header, "\x05 %04XFFFF", slaveId & 0xFFFF);
  return header + text;
}

std::optional<RawClient> RawClient::Tcp(int port) {
  File socket(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (!socket) return std::nullopt;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<uint16_t>(port));
  if (::connect(socket.Descriptor(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    return std::nullopt;
  }
  return RawClient(std::move(socket));
}

std::optional<RawClient> RawClient::Pty(const std::string& path) {
  File tty(::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC));
  if (!tty) return std::nullopt;
  termios raw{};
  if (::tcgetattr(tty.Descriptor(), &raw) != 0) return std::nullopt;
  cfmakeraw(&raw);
  ::tcsetattr(tty.Descriptor(), TCSANOW, &raw);
  return RawClient(std::move(tty));
}

bool RawClient::Send(std::string_view bytes) {
  size_t sent = 0;
  while (sent < bytes.size()) {
    const ssize_t n = ::write(file_.Descriptor(), bytes.data() + sent, bytes.size() - sent);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    sent += static_cast<size_t>(n);
  }
  return true;
}

std::optional<uint8_t> RawClient::ReadByte(int timeoutMs) {
  pollfd fd{file_.Descriptor(), POLLIN, 0};
  for (;;) {
    const int ready = ::poll(&fd, 1, timeoutMs);
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return std::nullopt;
    uint8_t byte = 0;
    const ssize_t n = ::read(file_.Descriptor(), &byte, 1);
    if (n == 1) return byte;
    if (n < 0 && errno == EINTR) continue;
    return std::nullopt;
  }
}

std::optional<std::string> RawClient::ReadLine(int timeoutMs) {
  std::string line;
  for (;;) {
    const auto byte = ReadByte(timeoutMs);
    if (!byte) return std::nullopt;
    if (*byte == '\r') return line;
    line += static_cast<char>(*byte);
  }
}

std::optional<std::string> RawClient::Command(const std::string& text, int timeoutMs) {
  if (!Send(text + "\r")) return std::nullopt;
  return ReadLine(timeoutMs);
}

void RawClient::Drain(int quietMs) {
  while (ReadByte(quietMs)) {
  }
}

Received RawClient::Receive(const ReceiveOptions& o) {
  Received result;
  const size_t size = o.large ? 1024 : 128;
  int consecutive = 0;
  int good = 0;
  bool naked = false;
  auto fail = [&]() {
    ++result.errors;
    if (o.mnp || consecutive == 3) {
      SendByte(kCAN);
      result.cancelled = true;
      return true;
    }
    ++consecutive;
    Drain(50);
    SendByte(kNAK);
    return false;
  };
  SendByte(kNAK);
  for (;;) {
    const auto first = ReadByte(o.timeoutMs);
    if (first && *first == kEOT) {
      if (!o.mnp) SendByte(kACK);
      result.completed = true;
      return result;
    }
    if (!first || *first != kSOH) {
      if (fail()) return result;
      continue;
    }
    std::vector<uint8_t> block(size + 3);
    bool whole = true;
    for (auto& byte : block) {
      const auto next = ReadByte(o.timeoutMs);
      if (!next) {
        whole = false;
        break;
      }
      byte = *next;
    }
    unsigned sum = 0;
    for (size_t i = 2; i < size + 2; ++i) sum += block[i];
    if (!whole || block[1] != static_cast<uint8_t>(~block[0]) ||
        static_cast<uint8_t>(sum) != block.back()) {
      if (fail()) return result;
      continue;
    }
    result.numbers.push_back(block[0]);
    consecutive = 0;
    if (!o.mnp && o.nakGoodBlock == good + 1 && !naked) {
      naked = true;
      SendByte(kNAK);
      continue;
    }
    result.data.insert(result.data.end(), block.begin() + 2,
                       block.begin() + 2 + static_cast<long>(size));
    ++good;
    if (o.cancelAfter > 0 && good == o.cancelAfter) {
      SendByte(kCAN);
      result.cancelled = true;
      return result;
    }
    if (!o.mnp) SendByte(kACK);
  }
}

}  // namespace tessaro::simtest
