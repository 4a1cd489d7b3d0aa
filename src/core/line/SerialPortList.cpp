#include "core/line/SerialPortList.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>

#include "core/line/CommEx.h"
#include "core/support/Messages.h"

namespace tessaro {
namespace {

namespace fs = std::filesystem;

std::string ReadFirstLine(const fs::path& path) {
  std::ifstream in(path);
  std::string line;
  std::getline(in, line);
  while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
  return line;
}

// The USB device folder above a tty's device folder: the first ancestor
// that carries idVendor (the interface sits one level below it).
fs::path UsbDeviceFolder(const fs::path& deviceFolder) {
  std::error_code ec;
  fs::path folder = fs::canonical(deviceFolder, ec);
  if (ec) return {};
  for (int depth = 0; depth < 4 && folder.has_relative_path(); ++depth) {
    if (fs::exists(folder / "idVendor", ec)) return folder;
    folder = folder.parent_path();
  }
  return {};
}

// Device name -> by-id link, for every link that resolves to a device.
std::map<std::string, std::string> ByIdLinks(const SerialPortRoots& roots) {
  std::map<std::string, std::string> links;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(roots.byIdFolder, ec)) {
    std::error_code broken;
    const fs::path target = fs::canonical(entry.path(), broken);
    if (!broken) links.emplace(target.filename().string(), entry.path().string());
  }
  return links;
}

SerialPortInfo ReadPortInfo(const SerialPortRoots& roots, const std::string& name,
                            const std::map<std::string, std::string>& links) {
  SerialPortInfo info;
  info.device = roots.devFolder + name;
  const fs::path device = fs::path(roots.sysClassTty) / name / "device";
  std::error_code ec;
  const fs::path driver = fs::read_symlink(device / "driver", ec);
  if (!ec) info.driver = driver.filename().string();
  if (const fs::path usb = UsbDeviceFolder(device); !usb.empty()) {
    info.maker = ReadFirstLine(usb / "manufacturer");
    info.product = ReadFirstLine(usb / "product");
    info.serial = ReadFirstLine(usb / "serial");
  }
  if (auto link = links.find(name); link != links.end()) info.byId = link->second;
  return info;
}

}  // namespace

std::string SerialPortInfo::Identity() const {
  std::string text = maker;
  if (!product.empty()) text += (text.empty() ? "" : " ") + product;
  if (text.empty()) text = driver;
  if (!serial.empty())
    text += (text.empty() ? "" : "  ") + FormatMessage(MsgPortSerialNumber, serial.c_str());
  if (!byId.empty()) text += (text.empty() ? "" : "  ") + byId;
  return text;
}

std::optional<std::vector<SerialPortInfo>> ListSerialPortInfo(const SerialPortRoots& roots) {
  std::error_code ec;
  fs::directory_iterator entries(roots.sysClassTty, ec);
  if (ec) return std::nullopt;
  std::vector<std::string> names;
  for (const auto& entry : entries) {
    const std::string name = entry.path().filename().string();
    if (name.empty() || name[0] == '.') continue;
    // Virtual terminals and ptys have no device behind them.
    std::error_code missing;
    if (!fs::exists(entry.path() / "device", missing)) continue;
    // A UART driver registers placeholder ports; their type reads 0 (unknown).
    if (ReadFirstLine(entry.path() / "type") == "0") continue;
    names.push_back(name);
  }
  SortPortNames(names);
  const auto links = ByIdLinks(roots);
  std::vector<SerialPortInfo> ports;
  for (const std::string& name : names) ports.push_back(ReadPortInfo(roots, name, links));
  return ports;
}

}  // namespace tessaro
