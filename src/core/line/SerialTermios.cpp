#include "core/line/SerialTermios.h"

#include <asm/termbits.h>
#include <linux/serial.h>
#include <sys/ioctl.h>

#include <cerrno>
#include <cstring>
#include <tuple>

namespace tessaro {
namespace {

struct BaudCode {
  uint32_t rate;
  tcflag_t code;
};

constexpr BaudCode kBaudCodes[] = {
    {50, B50},           {75, B75},           {110, B110},         {134, B134},
    {150, B150},         {200, B200},         {300, B300},         {600, B600},
    {1200, B1200},       {1800, B1800},       {2400, B2400},       {4800, B4800},
    {9600, B9600},       {19200, B19200},     {38400, B38400},     {57600, B57600},
    {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000},
    {1500000, B1500000}, {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000},
    {3500000, B3500000}, {4000000, B4000000},
};

tcflag_t CodeOf(uint32_t baud) {
  for (const auto& entry : kBaudCodes)
    if (entry.rate == baud) return entry.code;
  return BOTHER;
}

uint32_t RateOf(tcflag_t code, uint32_t fallback) {
  for (const auto& entry : kBaudCodes)
    if (entry.code == code) return entry.rate;
  return fallback;
}

int Ioctl(int fd, unsigned long request, void* arg) {
  int r;
  do r = ::ioctl(fd, request, arg);
  while (r < 0 && errno == EINTR);
  return r;
}

}  // namespace

bool NeedsCustomBaud(uint32_t baud) { return CodeOf(baud) == BOTHER; }

RawTermios BuildRawTermios(const SerialParams& params) {
  RawTermios raw;
  tcflag_t cflag = CREAD | CLOCAL | HUPCL;
  switch (params.dataBits) {
    case 5:
      cflag |= CS5;
      break;
    case 6:
      cflag |= CS6;
      break;
    case 7:
      cflag |= CS7;
      break;
    default:
      cflag |= CS8;
      break;
  }
  // Linux offers one or two stop bits only. CSTOPB is the nearest to 1.5:
  // a UART sends 1.5 stop bits for CSTOPB with 5-bit characters anyway.
  if (params.stopBits != 0) cflag |= CSTOPB;
  switch (params.parity) {
    case 1:
      cflag |= PARENB | PARODD;
      break;
    case 2:
      cflag |= PARENB;
      break;
    case 3:
      cflag |= PARENB | CMSPAR | PARODD;
      break;
    case 4:
      cflag |= PARENB | CMSPAR;
      break;
    default:
      break;
  }
  if (params.rtsCts) cflag |= CRTSCTS;
  const tcflag_t code = CodeOf(params.baud);
  cflag |= code;  // input speed field left 0: same as output

  tcflag_t iflag = 0;
  if (params.parity != 0) iflag |= INPCK;
  if (params.xonXoff) iflag |= IXON | IXOFF;

  raw.iflag = iflag;
  raw.oflag = 0;
  raw.cflag = cflag;
  raw.lflag = 0;
  raw.ispeed = params.baud;
  raw.ospeed = params.baud;
  return raw;
}

SerialParams DecodeRawTermios(const RawTermios& raw) {
  SerialParams params;
  const tcflag_t code = raw.cflag & CBAUD;
  params.baud = code == BOTHER ? raw.ospeed : RateOf(code, raw.ospeed);
  switch (raw.cflag & CSIZE) {
    case CS5:
      params.dataBits = 5;
      break;
    case CS6:
      params.dataBits = 6;
      break;
    case CS7:
      params.dataBits = 7;
      break;
    default:
      params.dataBits = 8;
      break;
  }
  params.stopBits = (raw.cflag & CSTOPB) ? 2 : 0;
  if (raw.cflag & PARENB) {
    const bool odd = raw.cflag & PARODD;
    if (raw.cflag & CMSPAR)
      params.parity = odd ? 3 : 4;
    else
      params.parity = odd ? 1 : 2;
  } else {
    params.parity = 0;
  }
  params.rtsCts = raw.cflag & CRTSCTS;
  params.xonXoff = (raw.iflag & IXON) && (raw.iflag & IXOFF);
  return params;
}

bool ReadRawTermios(int fd, RawTermios& raw) {
  termios2 t{};
  if (Ioctl(fd, TCGETS2, &t) < 0) return false;
  raw = {t.c_iflag, t.c_oflag, t.c_cflag, t.c_lflag, t.c_ispeed, t.c_ospeed};
  return true;
}

bool ApplySerialParams(int fd, const SerialParams& params) {
  termios2 t{};
  if (Ioctl(fd, TCGETS2, &t) < 0) return false;
  const RawTermios raw = BuildRawTermios(params);
  std::tie(t.c_iflag, t.c_oflag, t.c_cflag, t.c_lflag, t.c_ispeed, t.c_ospeed) =
      std::tie(raw.iflag, raw.oflag, raw.cflag, raw.lflag, raw.ispeed, raw.ospeed);
  // Reads never block in the driver; waits happen in poll().
  t.c_cc[VMIN] = 0;
  t.c_cc[VTIME] = 0;
  t.c_cc[VSTART] = 0x11;
  t.c_cc[VSTOP] = 0x13;
  return Ioctl(fd, TCSETS2, &t) == 0;
}

bool ReadSerialParams(int fd, SerialParams& params) {
  RawTermios raw;
  if (!ReadRawTermios(fd, raw)) return false;
  params = DecodeRawTermios(raw);
  return true;
}

bool FlushSerial(int fd, bool input, bool output) {
  if (!input && !output) return true;
  const int queue = input && output ? TCIOFLUSH : (input ? TCIFLUSH : TCOFLUSH);
  return ::ioctl(fd, TCFLSH, queue) == 0;
}

void RequestLowLatency(int fd) {
  serial_struct info;
  std::memset(&info, 0, sizeof info);
  if (Ioctl(fd, TIOCGSERIAL, &info) < 0) return;
  if (info.flags & ASYNC_LOW_LATENCY) return;
  info.flags |= ASYNC_LOW_LATENCY;
  Ioctl(fd, TIOCSSERIAL, &info);
}

bool SerialHardwarePresent(int fd) {
  serial_struct info;
  std::memset(&info, 0, sizeof info);
  if (Ioctl(fd, TIOCGSERIAL, &info) < 0) return true;  // not a UART driver: trust the device
  return info.type != PORT_UNKNOWN;
}

}  // namespace tessaro
