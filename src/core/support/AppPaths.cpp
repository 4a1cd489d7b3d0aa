#include "core/support/AppPaths.h"

#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string_view>

#include "core/support/File.h"
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

// The text of a small regular file; empty when there is none (a FIFO or
// device in its place is not waited on).
std::string ReadSmallFile(const std::string& path) {
  constexpr size_t kLimit = 64 * 1024;
  File file = File::OpenRegular(path, File::Mode::Read);
  std::string text(kLimit, '\0');
  const ssize_t n = file ? file.ReadSome(text.data(), text.size()) : -1;
  text.resize(n > 0 ? static_cast<size_t>(n) : 0);
  return text;
}

constexpr const char* kDefinitionsFile = "DB/Master.mdb";
constexpr const char* kInstalledShare = "../share/tessaro/";

bool Exists(const std::string& path) { return ::access(path.c_str(), F_OK) == 0; }

std::string HomeFolder() {
  if (const char* home = std::getenv("HOME"); home && *home) return home;
  if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) return pw->pw_dir;
  return "/tmp";
}

}  // namespace

std::string DocumentsFolder(const std::string& home, const std::string& configHome) {
  std::istringstream in(ReadSmallFile(WithSlash(configHome) + "user-dirs.dirs"));
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
  p.sharedFolder = FindSharedFolder(p.programFolder, kDefinitionsFile);
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

int CreateFolder(const std::string& folder) {
  std::error_code made;
  std::filesystem::create_directories(folder, made);
  std::error_code checked;
  if (std::filesystem::is_directory(folder, checked)) return 0;
  return made ? made.value() : ENOTDIR;
}

bool CreateSettingsFolder(const AppPaths& paths) { return CreateFolder(paths.settingsFolder) == 0; }

std::optional<FolderFailure> CreateUserFolders(const AppPaths& paths) {
  for (const std::string& folder : {paths.baseFolder, paths.settingsFolder}) {
    if (const int error = CreateFolder(folder)) return FolderFailure{folder, error};
  }
  // Only now can the base folder stand in for a program folder the user
  // may not write.
  const std::string log = WritableProgramFolder(paths) + "LOG/";
  if (const int error = CreateFolder(log)) return FolderFailure{log, error};
  return std::nullopt;
}

std::string FindSharedFolder(const std::string& programFolder, const std::string& relativePath) {
  const std::string program = WithSlash(programFolder);
  if (Exists(program + relativePath)) return program;
  const std::string installed = program + kInstalledShare;
  if (Exists(installed + relativePath))
    return WithSlash(std::filesystem::path(installed).lexically_normal().string());
  return program;
}

std::string DefinitionsPath(const std::string& programFolder) {
  return FindSharedFolder(programFolder, kDefinitionsFile) + kDefinitionsFile;
}

std::string WritableProgramFolder(const AppPaths& paths) {
  // An installed copy (its data under share/) never writes beside itself,
  // not even for a user who could.
  const bool installed = !paths.sharedFolder.empty() && paths.sharedFolder != paths.programFolder;
  if (!installed && !paths.programFolder.empty() &&
      ::access(paths.programFolder.c_str(), W_OK) == 0)
    return paths.programFolder;
  return paths.baseFolder;
}

}  // namespace tessaro
