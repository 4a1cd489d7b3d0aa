#pragma once
// The machine's serial devices and what identifies each of them: for USB
// adapters the maker, product and serial number from sysfs and the stable
// name under /dev/serial/by-id/.

#include <optional>
#include <string>
#include <vector>

namespace tessaro {

// Where the device tree is read; tests point these at a fake tree.
struct SerialPortRoots {
  std::string sysClassTty = "/sys/class/tty/";
  std::string devFolder = "/dev/";
  std::string byIdFolder = "/dev/serial/by-id/";
};

struct SerialPortInfo {
  std::string device;  // devFolder + name: /dev/ttyUSB0
  std::string driver;  // ftdi_sio, serial8250, ...
  std::string maker;   // USB manufacturer
  std::string product;
  std::string serial;
  std::string byId;  // /dev/serial/by-id/usb-... or empty

  // One line for people: maker and product (else the driver), serial
  // number and the by-id name, as far as they are known.
  std::string Identity() const;
};

// The serial devices sorted by number (ttyS2 before ttyS10); nullopt when
// the tty class cannot be read.
std::optional<std::vector<SerialPortInfo>> ListSerialPortInfo(const SerialPortRoots& roots = {});

}  // namespace tessaro
