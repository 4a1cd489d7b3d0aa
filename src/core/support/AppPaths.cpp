#include "core/support/AppPaths.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string_view>

#include "core/support/Messages.h"

namespace tessaro {
namespace {

std::string WithSlash(std::string folder) {
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

std::string WithoutSlash(std::string folder) {
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

// One value of user-dirs.dirs: XDG_DOCUMENTS_DIR="$HOME/Documents". The file
// allows only a path relative to $HOME or an absolute path.
std::string ParseUserDir(std::string_view value, const std::string& home) {
  if (value.size() < 2 || value.front() != '"' || value.back() != '"') return {};
  value = value.substr(1, value.size() - 2);
  constexpr std::string_view kHome = "$HOME";
  if (value.substr(0, kHome.size()) == kHome) {
    const std::string_view rest = value.substr(kHome.size());
    if (!rest.empty() && rest.front() != '/') return {};
    return home + std::string(rest);
  }
  if (!value.empty() && value.front() == '/') return std::string(value);
  return {};
}

std::string HomeFolder() {
  if (const char* home = std::getenv("HOME"); home && *home) return home;
  if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) return pw->pw_dir;
  return "/tmp";
}

}  // namespace

std::string DocumentsFolder(const std::string& home, const std::string& configHome) {
  std::ifstream in(WithSlash(configHome) + "user-dirs.dirs");
  std::string line;
  std::string found;
  while (std::getline(in, line)) {
    constexpr std::string_view kKey = "XDG_DOCUMENTS_DIR=";
    if (line.rfind(kKey, 0) != 0) continue;
    std::string_view value = line;
    value.remove_prefix(kKey.size());
    while (!value.empty() && (value.back() == ' ' || value.back() == '\r')) value.remove_suffix(1);
    found = ParseUserDir(value, WithoutSlash(home));
  }
  return WithoutSlash(found.empty() ? WithSlash(home) + "Documents" : found);
}

std::string ExecutableFolder() {
  std::error_code ec;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return "./";
  return WithSlash(exe.parent_path().string());
}

AppPaths MakeAppPaths(const std::string& home, const std::string& programFolder,
                      const std::string& configHome) {
  AppPaths p;
  p.programFolder = WithSlash(programFolder);
  const std::string config = configHome.empty() ? WithSlash(home) + ".config" : configHome;
  p.baseFolder = WithSlash(DocumentsFolder(home, config)) + LoadMessage(MsgShortName) + "/";
  p.settingsFolder = p.baseFolder + "INI/";
  p.settingsFile = p.settingsFolder + "TESSARO.INI";
  p.positionFile = p.settingsFolder + "TESSARO.POS";
  p.printSettingsFile = p.settingsFolder + "TESSARO.PLV";
  p.commandHistoryFile = p.settingsFolder + "TESSARO.CMD";
  std::string help = LoadMessage(MsgHelpFile);
  for (char& c : help)
    if (c == '\\') c = '/';
  p.helpFile = p.programFolder + help;
  return p;
}

AppPaths CurrentAppPaths() {
  // A relocated configuration folder is honoured as the desktop does.
  const char* config = std::getenv("XDG_CONFIG_HOME");
  return MakeAppPaths(HomeFolder(), ExecutableFolder(),
                      config && *config == '/' ? std::string(config) : std::string());
}

bool CreateSettingsFolder(const AppPaths& paths) {
  std::error_code ec;
  std::filesystem::create_directories(paths.settingsFolder, ec);
  return std::filesystem::is_directory(paths.settingsFolder, ec);
}

std::string WritableProgramFolder(const AppPaths& paths) {
  if (!paths.programFolder.empty() && ::access(paths.programFolder.c_str(), W_OK) == 0)
    return paths.programFolder;
  return paths.baseFolder;
}

}  // namespace tessaro
