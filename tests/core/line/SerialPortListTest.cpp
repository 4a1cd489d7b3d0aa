// The serial device list read from a fake sysfs and /dev tree.

#include "core/line/SerialPortList.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/support/Messages.h"
#include "support/TempDir.h"

namespace tessaro {
namespace {

namespace fs = std::filesystem;

class FakeDeviceTree {
 public:
  FakeDeviceTree() {
    // A USB adapter: tty -> interface -> USB device with its strings.
    const std::string usb = "sys/devices/pci0/usb1/1-2";
    dir_.WriteFile(usb + "/idVendor", "0403\n");
    dir_.WriteFile(usb + "/manufacturer", "FTDI\n");
    dir_.WriteFile(usb + "/product", "FT232R USB UART\n");
    dir_.WriteFile(usb + "/serial", "A10K1234\n");
    dir_.WriteFile("sys/bus/usb-serial/drivers/ftdi_sio/bind", "");
    fs::create_directories(dir_.Join(usb + "/1-2:1.0/ttyUSB0"));
    Link("../../../../../../bus/usb-serial/drivers/ftdi_sio", usb + "/1-2:1.0/ttyUSB0/driver");
    Tty("ttyUSB0", "../../../devices/pci0/usb1/1-2/1-2:1.0/ttyUSB0", "");
    // Two UARTs, one of them only a placeholder, and a console without a device.
    dir_.WriteFile("sys/bus/platform/drivers/serial8250/bind", "");
    fs::create_directories(dir_.Join("sys/devices/platform/serial8250"));
    Link("../../../bus/platform/drivers/serial8250", "sys/devices/platform/serial8250/driver");
    Tty("ttyS10", "../../../devices/platform/serial8250", "4");
    Tty("ttyS2", "../../../devices/platform/serial8250", "4");
    Tty("ttyS3", "../../../devices/platform/serial8250", "0");
    fs::create_directories(dir_.Join("sys/class/tty/tty0"));
    for (const char* name : {"ttyUSB0", "ttyS2", "ttyS3", "ttyS10"})
      dir_.WriteFile(std::string("dev/") + name, "");
    fs::create_directories(dir_.Join("dev/serial/by-id"));
    Link("../../ttyUSB0", "dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A10K1234-if00-port0");
    Link("../../ttyUSB7", "dev/serial/by-id/usb-gone-if00-port0");  // dangling
  }

  SerialPortRoots Roots() const {
    return {dir_.Join("sys/class/tty/"), dir_.Join("dev/"), dir_.Join("dev/serial/by-id/")};
  }
  std::string Dev(const std::string& name) const { return dir_.Join("dev/" + name); }

 private:
  void Link(const std::string& target, const std::string& at) {
    fs::create_directories(fs::path(dir_.Join(at)).parent_path());
    fs::create_symlink(target, dir_.Join(at));
  }
  void Tty(const std::string& name, const std::string& device, const std::string& type) {
    Link(device, "sys/class/tty/" + name + "/device");
    if (!type.empty()) dir_.WriteFile("sys/class/tty/" + name + "/type", type + "\n");
  }
  TempDir dir_;
};

TEST(SerialPortListTest, ListsDevicesInNumberOrderWithWhatIdentifiesThem) {
  FakeDeviceTree tree;
  const auto ports = ListSerialPortInfo(tree.Roots());
  ASSERT_TRUE(ports);
  ASSERT_EQ(ports->size(), 3u);
  EXPECT_EQ((*ports)[0].device, tree.Dev("ttyS2"));
  EXPECT_EQ((*ports)[1].device, tree.Dev("ttyS10"));
  const SerialPortInfo& usb = (*ports)[2];
  EXPECT_EQ(usb.device, tree.Dev("ttyUSB0"));
  EXPECT_EQ(usb.driver, "ftdi_sio");
  EXPECT_EQ(usb.maker, "FTDI");
  EXPECT_EQ(usb.product, "FT232R USB UART");
  EXPECT_EQ(usb.serial, "A10K1234");
  EXPECT_EQ(usb.byId, tree.Dev("serial/by-id/usb-FTDI_FT232R_USB_UART_A10K1234-if00-port0"));

  EXPECT_EQ((*ports)[0].Identity(), "serial8250");
  EXPECT_EQ(usb.Identity(), "FTDI FT232R USB UART  " +
                                FormatMessage(MsgPortSerialNumber, "A10K1234") + "  " + usb.byId);
}

TEST(SerialPortListTest, UnreadableTtyClassIsNoList) {
  SerialPortRoots roots;
  roots.sysClassTty = "/nonexistent/tessaro/tty/";
  EXPECT_FALSE(ListSerialPortInfo(roots));
}

}  // namespace
}  // namespace tessaro
