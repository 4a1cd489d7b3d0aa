#pragma once
// Why a serial port did not open, in words the user can act on: the device
// is missing (and which ports exist), the user may not open it (its group,
// whether the user is in it, the command that adds them), or another
// process holds it (name and PID from /proc and the UUCP lock file).

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

#include "core/line/SerialPortList.h"

namespace tessaro {

// The system as the diagnosis sees it; tests replace parts of it.
struct PortSystem {
  std::string procFolder = "/proc/";
  std::string lockFolder = "/var/lock/";
  SerialPortRoots portRoots;
  // errno of a read-write access check on the device, 0 when allowed.
  std::function<int(const std::string& device)> accessError;
  std::string userName;  // empty: the current user
  // Whether the user is listed in the group database / has the group in
  // this login session.
  std::function<bool(gid_t)> groupInDatabase;
  std::function<bool(gid_t)> groupInSession;

  // The running system for the current user.
  static PortSystem Current();
};

enum class PortProblem { None, Missing, PermissionDenied, Busy, Other };

struct PortHolder {
  pid_t pid = 0;
  std::string name;       // the process's command name
  bool tessaro = false;   // another copy of this program
  bool fromLock = false;  // named by a lock file rather than an open descriptor
};

struct PortDiagnosis {
  PortProblem problem = PortProblem::None;
  std::string device;
  int error = 0;  // errno of the failed open, when known
  // PermissionDenied
  std::string owner;
  std::string group;
  mode_t mode = 0;
  std::string user;
  bool inGroup = false;         // listed in the group database
  bool groupInSession = false;  // already effective in this login
  // Busy
  std::vector<PortHolder> holders;
  std::string lockFile;
  // Missing
  std::vector<SerialPortInfo> existing;
};

// openError: the errno of the failed open (0 when unknown).
PortDiagnosis DiagnoseSerialPort(const std::string& device, int openError,
                                 const PortSystem& system = PortSystem::Current());

// The processes holding device open, found through procFolder/*/fd, and
// the owner of its lock file; this process is left out.
std::vector<PortHolder> FindPortHolders(const std::string& device, const PortSystem& system,
                                        std::string* lockFile = nullptr);

// The diagnosis as Japanese text, several lines; empty for None.
std::string DescribePortDiagnosis(const PortDiagnosis& diagnosis);

// DiagnoseSerialPort on the running system, described.
std::string ExplainPortOpenFailure(const std::string& device, int openError);

}  // namespace tessaro
