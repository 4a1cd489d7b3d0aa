#pragma once
// Line parameters of a tty through termios2, so that any bit rate can be
// programmed (BOTHER), not only the fixed B-constants. Kept in its own
// translation unit: <asm/termbits.h> and <termios.h> cannot meet in one file.

#include <cstdint>

namespace tessaro {

struct SerialParams {
  uint32_t baud = 9600;
  int dataBits = 8;  // 5..8
  int stopBits = 0;  // TCommExStopBits: 0 one, 1 one and a half, 2 two
  int parity = 0;    // TCommExParityBits: none, odd, even, mark, space
  bool rtsCts = false;
  bool xonXoff = false;

  bool operator==(const SerialParams&) const = default;
};

// The flag words and speeds of a termios2 record.
struct RawTermios {
  uint32_t iflag = 0;
  uint32_t oflag = 0;
  uint32_t cflag = 0;
  uint32_t lflag = 0;
  uint32_t ispeed = 0;
  uint32_t ospeed = 0;
};

// A raw binary line (no echo, no character translation, receiver on, modem
// control lines ignored for open) with the given parameters.
RawTermios BuildRawTermios(const SerialParams& params);
// The parameters a record programs. 1.5 stop bits read back as 2.
SerialParams DecodeRawTermios(const RawTermios& raw);
// True when the rate has no B-constant and needs BOTHER.
bool NeedsCustomBaud(uint32_t baud);

// Program / read back the line; false when the driver refuses.
bool ApplySerialParams(int fd, const SerialParams& params);
bool ReadSerialParams(int fd, SerialParams& params);
bool ReadRawTermios(int fd, RawTermios& raw);

bool FlushSerial(int fd, bool input, bool output);
// Asks the driver to hand over received bytes at once (USB adapters otherwise
// hold them up to 16 ms). Drivers without the setting are left alone.
void RequestLowLatency(int fd);
// False for the placeholder ports a serial driver registers without hardware.
bool SerialHardwarePresent(int fd);

}  // namespace tessaro
