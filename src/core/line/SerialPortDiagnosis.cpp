#include "core/line/SerialPortDiagnosis.h"

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "core/support/Messages.h"

namespace tessaro {
namespace {

namespace fs = std::filesystem;

std::string UserName(uid_t uid) {
  if (const passwd* pw = ::getpwuid(uid); pw && pw->pw_name) return pw->pw_name;
  return std::to_string(uid);
}

std::string GroupName(gid_t gid) {
  if (const group* gr = ::getgrgid(gid); gr && gr->gr_name) return gr->gr_name;
  return std::to_string(gid);
}

bool InDatabaseGroups(gid_t gid) {
  const passwd* pw = ::getpwuid(::getuid());
  if (!pw) return false;
  std::vector<gid_t> groups(64);
  int count = static_cast<int>(groups.size());
  if (::getgrouplist(pw->pw_name, pw->pw_gid, groups.data(), &count) < 0) {
    groups.resize(static_cast<size_t>(count));
    if (::getgrouplist(pw->pw_name, pw->pw_gid, groups.data(), &count) < 0) return false;
  }
  groups.resize(static_cast<size_t>(count));
  return std::find(groups.begin(), groups.end(), gid) != groups.end();
}

bool InSessionGroups(gid_t gid) {
  if (::getegid() == gid) return true;
  const int count = ::getgroups(0, nullptr);
  std::vector<gid_t> groups(static_cast<size_t>(std::max(count, 0)));
  if (count <= 0 || ::getgroups(count, groups.data()) < 0) return false;
  return std::find(groups.begin(), groups.end(), gid) != groups.end();
}

bool AllDigits(const std::string& text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); });
}

std::string ReadSmallText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::string text(64, '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<size_t>(std::max<std::streamsize>(in.gcount(), 0)));
  return text;
}

std::string Trimmed(std::string text) {
  const auto blank = [](char c) { return c == ' ' || c == '\n' || c == '\r' || c == '\0'; };
  while (!text.empty() && blank(text.back())) text.pop_back();
  text.erase(text.begin(), std::find_if_not(text.begin(), text.end(), blank));
  return text;
}

// A UUCP lock file holds the PID as ten ASCII digits, or as a binary int
// in the oldest form.
pid_t LockFilePid(const std::string& text) {
  const std::string digits = Trimmed(text);
  if (!digits.empty() && std::all_of(digits.begin(), digits.end(), ::isdigit) && digits.size() <= 9)
    return static_cast<pid_t>(std::stol(digits));
  if (text.size() == sizeof(int)) {
    int pid = 0;
    std::memcpy(&pid, text.data(), sizeof pid);
    return pid > 0 ? pid : 0;
  }
  return 0;
}

// LCK..ttyUSB0 for /dev/ttyUSB0, LCK..pts_3 for /dev/pts/3.
std::string LockFileName(const fs::path& device) {
  std::string name = device.lexically_relative("/dev").string();
  if (name.empty() || name.rfind("..", 0) == 0) name = device.filename().string();
  std::replace(name.begin(), name.end(), '/', '_');
  return "LCK.." + name;
}

PortHolder MakeHolder(const PortSystem& system, pid_t pid, bool fromLock) {
  PortHolder holder;
  holder.pid = pid;
  holder.name = Trimmed(ReadSmallText(fs::path(system.procFolder) / std::to_string(pid) / "comm"));
  holder.tessaro = holder.name == "tessaro" || holder.name == "tessaro-cli";
  holder.fromLock = fromLock;
  return holder;
}

bool HoldsOpen(const fs::path& processFolder, const fs::path& target) {
  std::error_code ec;
  for (const auto& fd : fs::directory_iterator(processFolder / "fd", ec)) {
    std::error_code unreadable;
    if (fs::read_symlink(fd.path(), unreadable) == target && !unreadable) return true;
  }
  return false;
}

std::string ModeText(mode_t mode) {
  std::string text = S_ISCHR(mode) ? "c" : S_ISDIR(mode) ? "d" : "-";
  const char* letters = "rwxrwxrwx";
  for (int bit = 0; bit < 9; ++bit) text += (mode & (0400 >> bit)) ? letters[bit] : '-';
  return text;
}

void AddLine(std::string& text, const std::string& line) {
  if (!text.empty()) text += "\n";
  text += line;
}

}  // namespace

PortSystem PortSystem::Current() {
  PortSystem system;
  system.accessError = [](const std::string& device) {
    return ::access(device.c_str(), R_OK | W_OK) == 0 ? 0 : errno;
  };
  system.groupInDatabase = InDatabaseGroups;
  system.groupInSession = InSessionGroups;
  return system;
}

std::vector<PortHolder> FindPortHolders(const std::string& device, const PortSystem& system,
                                        std::string* lockFile) {
  std::vector<PortHolder> holders;
  std::error_code ec;
  const fs::path target = fs::canonical(device, ec);
  if (ec) return holders;
  const pid_t self = ::getpid();
  for (const auto& entry : fs::directory_iterator(system.procFolder, ec)) {
    const std::string name = entry.path().filename().string();
    if (!AllDigits(name) || name.size() > 9) continue;
    const pid_t pid = static_cast<pid_t>(std::stol(name));
    if (pid != self && HoldsOpen(entry.path(), target))
      holders.push_back(MakeHolder(system, pid, false));
  }
  const fs::path lock = fs::path(system.lockFolder) / LockFileName(target);
  const pid_t owner = LockFilePid(ReadSmallText(lock));
  const bool alive =
      owner > 0 && fs::exists(fs::path(system.procFolder) / std::to_string(owner), ec);
  const bool known = std::any_of(holders.begin(), holders.end(),
                                 [owner](const PortHolder& h) { return h.pid == owner; });
  if (alive && owner != self && !known) holders.push_back(MakeHolder(system, owner, true));
  if (lockFile && alive) *lockFile = lock.string();
  return holders;
}

PortDiagnosis DiagnoseSerialPort(const std::string& device, int openError,
                                 const PortSystem& system) {
  PortDiagnosis d;
  d.device = device;
  d.error = openError;
  struct stat st {};
  if (::stat(device.c_str(), &st) != 0 || openError == ENXIO || openError == ENODEV) {
    const int statError = errno;
    if (openError == ENXIO || openError == ENODEV || statError == ENOENT || statError == ENOTDIR) {
      d.problem = PortProblem::Missing;
      d.existing = ListSerialPortInfo(system.portRoots).value_or(std::vector<SerialPortInfo>{});
    } else {
      d.problem = PortProblem::Other;
      d.error = statError;
    }
    return d;
  }
  const int access = system.accessError ? system.accessError(device) : 0;
  if (openError == EACCES || openError == EPERM || access == EACCES) {
    d.problem = PortProblem::PermissionDenied;
    d.owner = UserName(st.st_uid);
    d.group = GroupName(st.st_gid);
    d.mode = st.st_mode;
    d.user = system.userName.empty() ? UserName(::getuid()) : system.userName;
    d.inGroup = system.groupInDatabase && system.groupInDatabase(st.st_gid);
    d.groupInSession = system.groupInSession && system.groupInSession(st.st_gid);
    return d;
  }
  d.holders = FindPortHolders(device, system, &d.lockFile);
  if (!d.holders.empty() || openError == EBUSY || openError == EWOULDBLOCK)
    d.problem = PortProblem::Busy;
  else
    d.problem = PortProblem::Other;
  return d;
}

std::string DescribePortDiagnosis(const PortDiagnosis& d) {
  std::string text;
  const char* device = d.device.c_str();
  switch (d.problem) {
    case PortProblem::None:
      break;
    case PortProblem::Missing:
      AddLine(text, FormatMessage(MsgPortMissing, device));
      if (d.existing.empty()) {
        AddLine(text, LoadMessage(MsgPortNoneFound));
        break;
      }
      AddLine(text, LoadMessage(MsgPortExistingHeader));
      for (const SerialPortInfo& port : d.existing) {
        const std::string identity = port.Identity();
        AddLine(text, "  " + port.device + (identity.empty() ? "" : "  " + identity));
      }
      break;
    case PortProblem::PermissionDenied: {
      const char* user = d.user.c_str();
      const char* group = d.group.c_str();
      AddLine(text, FormatMessage(MsgPortDenied, device, d.owner.c_str(), group,
                                  ModeText(d.mode).c_str()));
      if (!d.inGroup && !d.groupInSession) {
        AddLine(text, FormatMessage(MsgPortNotInGroup, user, group));
        AddLine(text, FormatMessage(MsgPortAddToGroup, group, user));
      } else if (!d.groupInSession) {
        AddLine(text, FormatMessage(MsgPortGroupPending, user, group));
      } else {
        AddLine(text, FormatMessage(MsgPortInGroup, user, group));
      }
      if ((d.mode & 060) != 060) AddLine(text, FormatMessage(MsgPortGroupNoAccess, group, device));
      break;
    }
    case PortProblem::Busy:
      AddLine(text, FormatMessage(MsgPortBusy, device));
      for (const PortHolder& holder : d.holders) {
        const char* name = holder.name.c_str();
        const int pid = static_cast<int>(holder.pid);
        if (holder.fromLock)
          AddLine(text, FormatMessage(MsgPortLockHolder, name, pid, d.lockFile.c_str()));
        else
          AddLine(text, FormatMessage(MsgPortHolder, name, pid));
        if (holder.tessaro) AddLine(text, LoadMessage(MsgPortHolderTessaro));
      }
      if (d.holders.empty()) AddLine(text, LoadMessage(MsgPortHolderUnknown));
      break;
    case PortProblem::Other:
      AddLine(text, d.error ? FormatMessage(MsgPortOtherError, std::strerror(d.error))
                            : LoadMessage(MsgPortUnknownCause));
      break;
  }
  return text;
}

std::string ExplainPortOpenFailure(const std::string& device, int openError) {
  try {
    return DescribePortDiagnosis(DiagnoseSerialPort(device, openError));
  } catch (const std::exception&) {
    // A process or device that vanished while it was looked at.
    return LoadMessage(MsgPortUnknownCause);
  }
}

}  // namespace tessaro
