#include "core/line/CommEx.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <utility>

#include "core/line/CommError.h"
#include "core/line/CommExWatch.h"
#include "core/line/LineFacade.h"
#include "core/line/LineFraming.h"
#include "core/line/LineWait.h"
#include "core/line/SerialPortList.h"
#include "core/line/SerialTermios.h"

namespace tessaro {
namespace {

constexpr int kOpenErrorCode = -1;
constexpr size_t kMaxPurgeChunk = 512;
constexpr size_t kMaxBlockRead = 2048;
// A reply may take this many times its bare line time (beyond CommWait for
// its first byte), for a recorder that paces its output.
constexpr int kLineTimeSlack = 2;

bool EndsAtCR(const std::string& raw) { return !raw.empty() && raw.back() == '\r'; }
bool EndsAtCRLF(const std::string& raw) {
  return raw.size() >= 2 && raw[raw.size() - 2] == '\r' && raw.back() == '\n';
}
bool EndsAtCRorLF(const std::string& raw) {
  return !raw.empty() && (raw.back() == '\r' || raw.back() == '\n');
}

// Number at the end of a port name and the text before it; -1 when none.
std::pair<std::string, long> PortSortKey(const std::string& name) {
  size_t digits = name.size();
  while (digits > 0 && name[digits - 1] >= '0' && name[digits - 1] <= '9') --digits;
  if (digits == name.size()) return {name, -1};
  const std::string number = name.substr(digits, 9);
  return {name.substr(0, digits), std::stol(number)};
}

}  // namespace

void SortPortNames(std::vector<std::string>& names) {
  std::stable_sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    return PortSortKey(a) < PortSortKey(b);
  });
}

TCommEx::TCommEx() : TLineComponent(1000, 1) {}

TCommEx::~TCommEx() { Close(); }

std::string TCommEx::DevicePath() const {
  if (!device_.empty()) return device_;
  return "/dev/ttyS" + std::to_string(port_ - 1);
}

void TCommEx::Open() {
  if (Active()) return;
  UniqueFd fd(::open(DevicePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
  if (!fd) throw ECommOpenError(kOpenErrorCode, errno);
  // TIOCEXCL keeps other programs out; flock also covers privileged ones,
  // which TIOCEXCL lets through, and another component of this process.
  if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) throw ECommOpenError(kOpenErrorCode, errno);
  if (::ioctl(fd.get(), TIOCEXCL) != 0) throw ECommOpenError(kOpenErrorCode, errno);
  FlushSerial(fd.get(), true, true);
  fd_ = std::move(fd);
  ApplyLineParameters();
  RequestLowLatency(fd_.get());
  try {
    watch_ = std::make_unique<TCommExWatch>(*this, fd_.get());
  } catch (const std::exception&) {
    ::ioctl(fd_.get(), TIOCNXCL);
    fd_.reset();
    throw ECommOpenError(kOpenErrorCode);
  }
  SetEnabled(true);
  SetDTR(true);
}

void TCommEx::Close() {
  if (!Active()) return;
  watch_.reset();
  SetDTR(false);
  FlushSerial(fd_.get(), true, true);
  // The exclusive flag belongs to the tty and outlives our descriptor.
  ::ioctl(fd_.get(), TIOCNXCL);
  fd_.reset();
  SettleDelay(timing_.closeSettleMs);
}

void TCommEx::ApplyLineParameters() {
  if (!Active()) return;
  SerialParams params;
  params.baud = baudRate_ == -1 ? baudRateUserDefined_ : static_cast<uint32_t>(baudRate_);
  params.dataBits = std::max(5, static_cast<int>(byteSize_) + 4);  // no 4-bit words on Linux
  params.stopBits = stopBits_;
  params.parity = parity_;
  params.rtsCts = flow_ & CommSet(cfcRtsCts);
  params.xonXoff = flow_ & CommSet(cfcXonXoff);
  // DTR/DSR handshake has no termios equivalent; DTR is simply held on.
  ApplySerialParams(fd_.get(), params);
  if (!params.rtsCts) SetRTS(true);
  SetDTR(true);
}

void TCommEx::SetBaudRate(int baud) {
  baudRate_ = baud;
  ApplyLineParameters();
}

void TCommEx::SetBaudRateUserDefined(uint32_t baud) {
  baudRateUserDefined_ = baud;
  baudRate_ = -1;
  ApplyLineParameters();
}

void TCommEx::SetParityBits(TCommExParityBits parity) {
  parity_ = parity;
  ApplyLineParameters();
}

void TCommEx::SetByteSize(TCommExByteSize size) {
  byteSize_ = size;
  ApplyLineParameters();
}

void TCommEx::SetStopBits(TCommExStopBits stop) {
  stopBits_ = stop;
  ApplyLineParameters();
}

void TCommEx::SetFlowControls(TCommExFlowControls flow) {
  flow_ = flow;
  ApplyLineParameters();
}

void TCommEx::FlowNone() { SetFlowControls(0); }
void TCommEx::FlowRtsCts() { SetFlowControls(CommSet(cfcRtsCts)); }

int TCommEx::ModemBits() const {
  int bits = 0;
  if (!Active() || ::ioctl(fd_.get(), TIOCMGET, &bits) != 0) return 0;
  return bits;
}

bool TCommEx::DSRState() const { return ModemBits() & TIOCM_DSR; }
bool TCommEx::CTSState() const { return ModemBits() & TIOCM_CTS; }
bool TCommEx::DCDState() const { return ModemBits() & TIOCM_CD; }

bool TCommEx::RDState() const {
  int n = 0;
  return Active() && ::ioctl(fd_.get(), FIONREAD, &n) == 0 && n > 0;
}

bool TCommEx::TDState() const {
  int n = 0;
  return Active() && ::ioctl(fd_.get(), TIOCOUTQ, &n) == 0 && n > 0;
}

bool TCommEx::SetDTR(bool on) {
  int bit = TIOCM_DTR;
  return Active() && ::ioctl(fd_.get(), on ? TIOCMBIS : TIOCMBIC, &bit) == 0;
}

bool TCommEx::SetRTS(bool on) {
  int bit = TIOCM_RTS;
  return Active() && ::ioctl(fd_.get(), on ? TIOCMBIS : TIOCMBIC, &bit) == 0;
}

std::string_view TCommEx::LineTerminator() const { return recvType_ == crCR ? "\r" : "\r\n"; }

bool TCommEx::WriteBuffer(const uint8_t* bytes, size_t n) {
  if (!Usable() || n > outQueueSize_) return false;
  const auto deadline = DeadlineAfter(CommWait());
  size_t done = 0;
  while (done < n) {
    const ssize_t w = ::write(fd_.get(), bytes + done, n - done);
    if (w > 0) {
      done += static_cast<size_t>(w);
      continue;
    }
    if (w < 0 && errno == EINTR) continue;
    if (w < 0 && errno != EAGAIN) return false;
    const int events = WaitForFd(fd_.get(), POLLOUT, deadline, true);
    if (events <= 0 || !(events & POLLOUT) || !Usable()) return false;
  }
  return true;
}

int TCommEx::WholeReplyMs(int bytes) const {
  const int64_t baud = baudRate_ > 0 ? baudRate_ : static_cast<int64_t>(baudRateUserDefined_);
  // Start bit, data bits, parity, stop bits (1.5 counts as 2).
  const int64_t bits =
      1 + (byteSize_ + 4) + (parity_ == cpbNone ? 0 : 1) + (stopBits_ == csb1 ? 1 : 2);
  const int64_t lineMs = baud > 0 ? (bytes * bits * 1000 + baud - 1) / baud : INT32_MAX;
  return static_cast<int>(std::min<int64_t>(CommWait() + kLineTimeSlack * lineMs, INT32_MAX));
}

bool TCommEx::ReadBuffer(uint8_t* buffer, size_t n) {
  return ReadWithin(buffer, n, LineClock::time_point::max());
}

bool TCommEx::ReadWithin(uint8_t* buffer, size_t n, LineClock::time_point limit) {
  if (!Usable()) return false;
  const auto deadline = std::min(DeadlineAfter(CommWait()), limit);
  size_t got = 0;
  bool hungUp = false;
  while (got < n) {
    // With VMIN = VTIME = 0 a read of an empty queue returns 0 at once.
    const ssize_t r = ::read(fd_.get(), buffer + got, n - got);
    if (r > 0) {
      got += static_cast<size_t>(r);
      continue;
    }
    if (r < 0 && errno == EINTR) continue;
    if (r < 0 && errno != EAGAIN) return false;
    // A hung-up tty keeps reporting readable with nothing to read.
    if (hungUp) return false;
    const int events = WaitForFd(fd_.get(), POLLIN, deadline, true);
    if (events <= 0 || !Usable()) return false;
    hungUp = events & (POLLHUP | POLLERR | POLLNVAL);
  }
  return true;
}

bool TCommEx::PutChar(uint8_t byte) { return WriteBuffer(&byte, 1); }

bool TCommEx::GetChar(uint8_t& byte) { return ReadBuffer(&byte, 1); }

int TCommEx::InCount() {
  int n = 0;
  if (!Active() || ::ioctl(fd_.get(), FIONREAD, &n) != 0) return 0;
  return n;
}

void TCommEx::SettleDelay(int milliseconds) { PumpingDelay(milliseconds); }

void TCommEx::Purge() {
  if (!Usable()) return;
  SettleDelay(timing_.purgeLeadMs);
  const auto deadline = DeadlineAfter(timing_.purgeLimitMs);
  uint8_t scrap[kMaxPurgeChunk];
  bool expired = false;
  do {
    while (HasData() && !expired) {
      const size_t n = std::min(static_cast<size_t>(InCount()), kMaxPurgeChunk);
      if (!ReadBuffer(scrap, n)) break;
      expired = MillisecondsLeft(deadline) == 0;
    }
    if (expired || MillisecondsLeft(deadline) == 0) break;
    SettleDelay(timing_.purgeQuietMs);
  } while (HasData());
  if (Usable()) FlushSerial(fd_.get(), true, true);
}

bool TCommEx::ReadLineUntil(std::string& raw, bool (*isEnd)(const std::string&),
                            LineClock::time_point limit) {
  raw.clear();
  uint8_t byte;
  // The terminator may follow 1023 bytes of text; one more byte fails.
  while (raw.size() <= static_cast<size_t>(kMaxReplyLine)) {
    if (!ReadWithin(&byte, 1, limit)) return false;
    raw += static_cast<char>(byte);
    if (isEnd(raw)) return true;
  }
  return false;
}

bool TCommEx::RecvLine(std::string& text) {
  const auto limit = WholeReplyDeadline(kMaxReplyBytes);
  std::string raw;
  switch (recvType_) {
    case crCR:
      if (!ReadLineUntil(raw, EndsAtCR, limit)) return false;
      raw.pop_back();
      break;
    case crCRLF:
      raw.reserve(kMaxReplyLine + 2);
      {
        uint8_t byte;
        for (;;) {
          if (!ReadWithin(&byte, 1, limit)) return false;
          raw += static_cast<char>(byte);
          if (EndsAtCRLF(raw)) break;
          if (raw.size() > static_cast<size_t>(kMaxReplyLine) + 1) return false;
        }
      }
      raw.resize(raw.size() - 2);
      break;
    case crMDM: {
      uint8_t head[2];
      if (!ReadWithin(head, 2, limit) || head[0] != '\r' || head[1] != '\n') return false;
      if (!ReadLineUntil(
              raw, [](const std::string& r) { return r.back() == '\n'; }, limit))
        return false;
      raw.pop_back();
      // Modem responses carry no slave header; a CR ends the text.
      text = raw.substr(0, raw.find_first_of(std::string_view("\r\0", 2)));
      return true;
    }
    case crCRoLF:
      if (!ReadLineUntil(raw, EndsAtCRorLF, limit)) return false;
      raw.pop_back();
      break;
  }
  return TakeReplyText(raw, Slaved(), SlaveID(), text);
}

int TCommEx::RecvBlock(bool large, uint8_t* buffer) {
  uint8_t first;
  if (!GetChar(first)) return BlockTimeout;
  if (first == kEOT) return BlockEnd;
  if (first != kSOH) return BlockBadStart;
  buffer[0] = first;
  size_t done = 1;
  const size_t length = BlockLength(large);
  while (done < length) {
    const size_t piece = std::min(length - done, kMaxBlockRead);
    if (!ReadBuffer(buffer + done, piece)) return BlockTimeout;
    done += piece;
  }
  return BlockOk;
}

void TCommEx::EventNotification(TCommExEventMask events) {
  if (Active() && OnCommEvent) OnCommEvent(*this, events);
}

void TCommEx::ReceiveNotification() {
  if (!Active() || !OnCommReceive) return;
  const int count = InCount();
  if (count > 0) OnCommReceive(*this, static_cast<uint16_t>(std::min(count, 0xFFFF)));
}

void TCommEx::TransmitNotification() {
  if (!Active() || !OnCommTransmit) return;
  int n = 0;
  ::ioctl(fd_.get(), TIOCOUTQ, &n);
  OnCommTransmit(*this, static_cast<uint16_t>(std::min(n, 0xFFFF)));
}

bool TCommEx::ListSerialPorts(std::vector<std::string>& list) {
  list.clear();
  const auto ports = ListSerialPortInfo();
  if (!ports) return false;
  for (const SerialPortInfo& port : *ports) list.push_back(port.device);
  return true;
}

}  // namespace tessaro
