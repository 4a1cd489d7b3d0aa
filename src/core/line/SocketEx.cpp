#include "core/line/SocketEx.h"

#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>

#include "core/line/LineFacade.h"
#include "core/line/LineFraming.h"

namespace tessaro {
namespace {

constexpr size_t kPurgeChunk = 128;
// A whole reply line or block may take this many CommWaits: the gateway's
// serial side is unknown, and a few timeouts cover any usual rate.
constexpr int kWholeReplyTimeouts = 3;

}  // namespace

TSocketEx::TSocketEx() : TLineComponent(1000, 0) {}

TSocketEx::~TSocketEx() { Close(); }

void TSocketEx::Open() {
  Close();
  SocketNotifications notifications{OnConnecting, OnConnect, OnDisconnect, OnError};
  try {
    client_ = std::make_unique<TSocketClient>(host_.empty() ? address_ : host_, port_,
                                              std::move(notifications));
  } catch (const std::exception&) {
    client_.reset();
  }
}

void TSocketEx::Close() { client_.reset(); }

bool TSocketEx::Connected() const { return client_ && client_->ConnectedFd() >= 0; }

int TSocketEx::Socket(LineClock::time_point deadline) {
  return client_ ? client_->WaitConnected(deadline) : -1;
}

void TSocketEx::ReportError(int error) {
  if (!OnError) return;
  try {
    OnError(error);
  } catch (...) {
  }
}

int TSocketEx::InCount() {
  const int fd = client_ ? client_->ConnectedFd() : -1;
  int n = 0;
  if (fd < 0 || ::ioctl(fd, FIONREAD, &n) != 0) return 0;
  return n;
}

bool TSocketEx::WriteBytes(const uint8_t* bytes, size_t n) {
  const auto deadline = DeadlineAfter(CommWait());
  const int fd = Socket(deadline);
  if (fd < 0) return false;
  size_t done = 0;
  while (done < n) {
    const ssize_t w = ::send(fd, bytes + done, n - done, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (w > 0) {
      done += static_cast<size_t>(w);
      continue;
    }
    if (w < 0 && errno == EINTR) continue;
    if (w < 0 && errno != EAGAIN) {
      ReportError(errno);
      return false;
    }
    const int events = WaitForFd(fd, POLLOUT, deadline, false);
    if (events <= 0 || !(events & POLLOUT)) return false;
  }
  return true;
}

bool TSocketEx::PutChar(uint8_t byte) { return WriteBytes(&byte, 1); }

bool TSocketEx::GetChar(uint8_t& byte) { return ReadExact(&byte, 1, LineClock::time_point::max()); }

int TSocketEx::WholeReplyMs(int) const {
  return static_cast<int>(std::min<int64_t>(int64_t{kWholeReplyTimeouts} * CommWait(), INT32_MAX));
}

bool TSocketEx::ReadExact(uint8_t* buffer, size_t n, LineClock::time_point limit) {
  size_t got = 0;
  while (got < n) {
    const auto deadline = std::min(DeadlineAfter(CommWait()), limit);
    const int fd = Socket(deadline);
    if (fd < 0) return false;
    WaitForFd(fd, POLLIN, deadline, false);
    // Tried even after the wait timed out: a byte arriving last moment counts.
    const ssize_t r = ::recv(fd, buffer + got, n - got, MSG_DONTWAIT);
    if (r <= 0) return false;
    got += static_cast<size_t>(r);
  }
  return true;
}

bool TSocketEx::RecvLine(std::string& text) {
  const auto limit = WholeReplyDeadline(kMaxReplyBytes);
  std::string raw;
  char peek[kMaxReplyLine];
  while (raw.size() < static_cast<size_t>(kMaxReplyLine)) {
    const auto deadline = std::min(DeadlineAfter(CommWait()), limit);
    const int fd = Socket(deadline);
    if (fd < 0) return false;
    WaitForFd(fd, POLLIN, deadline, false);
    // Look before taking, so nothing after the CR leaves the socket.
    const size_t room = kMaxReplyLine - raw.size();
    const ssize_t r = ::recv(fd, peek, room, MSG_PEEK | MSG_DONTWAIT);
    if (r <= 0) return false;
    const char* cr = std::find(peek, peek + r, '\r');
    const size_t take =
        cr == peek + r ? static_cast<size_t>(r) : static_cast<size_t>(cr - peek) + 1;
    if (::recv(fd, peek, take, MSG_DONTWAIT) != static_cast<ssize_t>(take)) return false;
    if (cr != peek + r) {
      raw.append(peek, take - 1);
      return TakeReplyText(raw, Slaved(), SlaveID(), text);
    }
    raw.append(peek, take);
  }
  return TakeReplyText(raw, Slaved(), SlaveID(), text);
}

void TSocketEx::Purge() {
  const int fd = client_ ? client_->ConnectedFd() : -1;
  if (fd < 0) return;
  uint8_t scrap[kPurgeChunk];
  for (int n = InCount(); n > 0; n = InCount())
    if (::recv(fd, scrap, std::min(static_cast<size_t>(n), kPurgeChunk), MSG_DONTWAIT) <= 0) return;
}

int TSocketEx::RecvBlock(bool large, uint8_t* buffer) {
  const auto limit = WholeReplyDeadline(BlockLength(large));
  buffer[0] = 0;
  uint8_t first;
  if (!ReadExact(&first, 1, limit)) return BlockTimeout;
  if (first == kEOT) return BlockEnd;
  if (first != kSOH) return BlockBadStart;
  buffer[0] = first;
  return ReadExact(buffer + 1, BlockLength(large) - 1, limit) ? BlockOk : BlockTimeout;
}

}  // namespace tessaro
