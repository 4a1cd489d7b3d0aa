#pragma once

#include <string>

namespace tessaro {

// Default gateway address: a setting only. Tests and demos always use 127.0.0.1.
inline constexpr const char* kDefaultIpAddr = "192.168.1.200";

struct LineSettings {
  std::string ComPort = "COM1";  // "COM<n>", a device path, or "TCP/IP"
  int Baud = 38400;
  int Data = 4;    // data bits = code + 4
  int Stop = 0;    // 0 = 1, 1 = 1.5, 2 = 2 stop bits
  int Parity = 0;  // 0 none, 1 odd, 2 even
  int Over = 3;    // reply timeout in seconds
  std::string IpAddr = kDefaultIpAddr;
  int IpPort = 10001;

  bool operator==(const LineSettings&) const = default;
};

}  // namespace tessaro
