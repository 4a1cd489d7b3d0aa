#include "core/support/PrinterChoice.h"

#include <sys/stat.h>
#include <cstdint>

#include "core/collect/SafeOutputFile.h"
#include "core/support/File.h"
#include "core/support/IniFile.h"

namespace tessaro {
namespace {

constexpr char kMagic[8] = {'T', 'S', 'R', 'P', 'L', 'V', '\r', '\n'};
constexpr uint16_t kVersion = 1;
// magic, version (2 bytes), reserved (2 bytes), settings size (4 bytes)
constexpr size_t kHeaderSize = sizeof(kMagic) + 8;
// Far above any printer's settings; a larger size marks a foreign file.
constexpr size_t kMaxSettings = 1 << 20;

void PutLittleEndian(std::string& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

uint32_t GetLittleEndian(const std::string& in, size_t at, int bytes) {
  uint32_t value = 0;
  for (int i = 0; i < bytes; ++i)
    value |= static_cast<uint32_t>(static_cast<unsigned char>(in[at + i])) << (8 * i);
  return value;
}

std::optional<std::string> ReadSmallFile(const std::string& path) {
  File file = File::OpenRegular(path, File::Mode::Read);
  if (!file) return std::nullopt;
  std::string bytes;
  char buffer[4096];
  for (;;) {
    const ssize_t n = file.ReadSome(buffer, sizeof buffer);
    if (n < 0) return std::nullopt;
    if (n == 0) return bytes;
    bytes.append(buffer, static_cast<size_t>(n));
    if (bytes.size() > kHeaderSize + kMaxSettings) return std::string();  // not ours
  }
}

}  // namespace

std::string EncodePrinterSettings(const std::string& settings) {
  std::string bytes(kMagic, sizeof kMagic);
  PutLittleEndian(bytes, kVersion, 2);
  PutLittleEndian(bytes, 0, 2);
  PutLittleEndian(bytes, static_cast<uint32_t>(settings.size()), 4);
  return bytes + settings;
}

std::optional<std::string> DecodePrinterSettings(const std::string& bytes) {
  if (bytes.size() < kHeaderSize || bytes.compare(0, sizeof kMagic, kMagic, sizeof kMagic) != 0)
    return std::nullopt;
  if (GetLittleEndian(bytes, sizeof kMagic, 2) != kVersion) return std::nullopt;
  const size_t size = GetLittleEndian(bytes, sizeof kMagic + 4, 4);
  if (size > kMaxSettings || bytes.size() != kHeaderSize + size) return std::nullopt;
  return bytes.substr(kHeaderSize);
}

bool SavePrinterChoice(const std::string& settingsFile, const std::string& printSettingsFile,
                       const PrinterChoice& choice) {
  IniFile::Update(settingsFile,
                  [&](IniFile& ini) { return ini.WriteString("Printer", "Name", choice.name); });
  SafeOutputFile out;
  return out.Create(printSettingsFile) && out.Write(EncodePrinterSettings(choice.settings)) &&
         out.Commit();
}

std::optional<StoredPrinterChoice> LoadPrinterChoice(const std::string& settingsFile,
                                                     const std::string& printSettingsFile) {
  struct stat info {};
  if (stat(printSettingsFile.c_str(), &info) != 0) return std::nullopt;
  IniFile ini(settingsFile);
  if (!ini.Load()) return std::nullopt;
  StoredPrinterChoice stored;
  stored.name = ini.ReadString("Printer", "Name", "");
  if (stored.name.empty()) return std::nullopt;
  if (const std::optional<std::string> bytes = ReadSmallFile(printSettingsFile))
    stored.settings = DecodePrinterSettings(*bytes);
  return stored;
}

}  // namespace tessaro
