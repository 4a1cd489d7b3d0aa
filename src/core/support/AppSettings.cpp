#include "core/support/AppSettings.h"

#include <filesystem>

#include "core/support/IniFile.h"

namespace tessaro {
namespace {

constexpr char kPath[] = "Path";
constexpr char kComPort[] = "ComPort";
constexpr char kTcpPort[] = "TcpPort";
constexpr char kPosition[] = "TESSARO";

// stored comes from IniFile, which already drops the blanks around a value.
std::string ResolveDataFolder(const std::string& stored, const std::string& baseFolder) {
  std::string folder = stored;
  std::error_code ec;
  if (!folder.empty() && !std::filesystem::is_directory(folder, ec)) folder.clear();
  if (folder.empty()) folder = baseFolder;
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return folder;
}

}  // namespace

bool LoadSettings(const std::string& settingsFile, const std::string& baseFolder,
                  AppSettings& out) {
  out = AppSettings{};
  IniFile ini(settingsFile);
  const bool ok = ini.Load();  // on failure ini is empty and every default applies

  out.dataFolder = ResolveDataFolder(ini.ReadString(kPath, "Data", baseFolder), baseFolder);

  LineSettings& line = out.line;
  const std::string port = ini.ReadString(kComPort, "Port", "");
  out.hasComPortKey = !port.empty();
  if (out.hasComPortKey) line.ComPort = port;
  line.Baud = ini.ReadInteger(kComPort, "Baud", line.Baud);
  line.Data = ini.ReadInteger(kComPort, "Data", line.Data);
  line.Stop = ini.ReadInteger(kComPort, "Stop", line.Stop);
  line.Parity = ini.ReadInteger(kComPort, "Parity", line.Parity);
  line.Over = ini.ReadInteger(kComPort, "Over", line.Over);
  line.IpAddr = ini.ReadString(kTcpPort, "IpAddr", line.IpAddr);
  line.IpPort = ini.ReadInteger(kTcpPort, "IpPort", line.IpPort);
  return ok;
}

bool SaveSettings(const std::string& settingsFile, const AppSettings& settings) {
  return IniFile::Update(settingsFile, [&](IniFile& ini) {
    const LineSettings& line = settings.line;
    return ini.WriteString(kPath, "Data", settings.dataFolder) &&
           ini.WriteString(kComPort, "Port", line.ComPort) &&
           ini.WriteInteger(kComPort, "Baud", line.Baud) &&
           ini.WriteInteger(kComPort, "Data", line.Data) &&
           ini.WriteInteger(kComPort, "Stop", line.Stop) &&
           ini.WriteInteger(kComPort, "Parity", line.Parity) &&
           ini.WriteInteger(kComPort, "Over", line.Over) &&
           ini.WriteString(kTcpPort, "IpAddr", line.IpAddr) &&
           ini.WriteInteger(kTcpPort, "IpPort", line.IpPort);
  });
}

bool LoadWindowPos(const std::string& positionFile, WindowPos& out) {
  out = WindowPos{};
  IniFile ini(positionFile);
  const bool ok = ini.Load();
  out.left = ini.ReadInteger(kPosition, "Left", WindowPos::kNeverSaved);
  out.top = ini.ReadInteger(kPosition, "Top", WindowPos::kNeverSaved);
  return ok;
}

bool SaveWindowPos(const std::string& positionFile, const WindowPos& pos) {
  return IniFile::Update(positionFile, [&](IniFile& ini) {
    return ini.WriteInteger(kPosition, "Left", pos.left) &&
           ini.WriteInteger(kPosition, "Top", pos.top);
  });
}

}  // namespace tessaro
