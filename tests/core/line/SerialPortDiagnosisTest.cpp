// Why a serial port did not open, on pseudo-terminals: made unreadable,
// held by other processes, and a path that does not exist.

#include "core/line/SerialPortDiagnosis.h"

#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "core/line/CommError.h"
#include "core/line/CommEx.h"
#include "core/support/Messages.h"
#include "support/LinePeers.h"
#include "support/TempDir.h"

namespace tessaro {
namespace {

using testing::PtyPair;

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

std::string GroupOf(const std::string& path) {
  struct stat st {};
  ::stat(path.c_str(), &st);
  const group* gr = ::getgrgid(st.st_gid);
  return gr ? gr->gr_name : std::to_string(st.st_gid);
}

// A child process that stays until the object goes away; it opens and
// locks the device first when asked, and takes the given command name.
class HoldingProcess {
 public:
  HoldingProcess(const std::string& device, bool open, const char* name) {
    int ready[2];
    if (::pipe(ready) != 0 || ::pipe(hold_) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      // Only what the test gives it: not the pty the test itself keeps open.
      for (int fd = 3; fd < 1024; ++fd)
        if (fd != ready[1] && fd != hold_[0]) ::close(fd);
      ::prctl(PR_SET_NAME, name);
      if (open) {
        const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY);
        if (fd < 0 || ::flock(fd, LOCK_EX | LOCK_NB) != 0) ::_exit(1);
      }
      char byte = 1;
      ::close(hold_[1]);
      (void)!::write(ready[1], &byte, 1);
      (void)!::read(hold_[0], &byte, 1);  // until the parent closes its end
      ::_exit(0);
    }
    ::close(ready[1]);
    ::close(hold_[0]);
    char byte = 0;
    started_ = ::read(ready[0], &byte, 1) == 1;
    ::close(ready[0]);
  }
  ~HoldingProcess() {
    ::close(hold_[1]);
    if (pid_ > 0) ::waitpid(pid_, nullptr, 0);
  }
  pid_t Pid() const { return started_ ? pid_ : -1; }

 private:
  int hold_[2] = {-1, -1};
  pid_t pid_ = -1;
  bool started_ = false;
};

TEST(SerialPortDiagnosisTest, MissingDeviceNamesThePortsThatExist) {
  TempDir sys;
  sys.WriteFile("tty/ttyS4/type", "4\n");
  std::filesystem::create_directory(sys.Join("tty/ttyS4/device"));
  PortSystem system = PortSystem::Current();
  system.portRoots = {sys.Join("tty/"), "/dev/", sys.Join("by-id/")};

  const PortDiagnosis d = DiagnoseSerialPort("/dev/ttyTESSARO-NONE", ENOENT, system);
  EXPECT_EQ(d.problem, PortProblem::Missing);
  const std::string text = DescribePortDiagnosis(d);
  EXPECT_TRUE(Contains(text, FormatMessage(MsgPortMissing, "/dev/ttyTESSARO-NONE"))) << text;
  EXPECT_TRUE(Contains(text, LoadMessage(MsgPortExistingHeader) + "\n  /dev/ttyS4")) << text;

  system.portRoots.sysClassTty = sys.Join("none/");
  EXPECT_TRUE(Contains(DescribePortDiagnosis(DiagnoseSerialPort("/dev/ttyTESSARO-NONE", 0, system)),
                       LoadMessage(MsgPortNoneFound)));
}

TEST(SerialPortDiagnosisTest, PermissionDeniedNamesTheGroupAndWhatToDo) {
  PtyPair pty;
  ASSERT_EQ(::chmod(pty.path().c_str(), 0), 0);
  const std::string group = GroupOf(pty.path());
  PortSystem system = PortSystem::Current();
  system.userName = "fielduser";
  // root may open anything: the access check stands in for the denial.
  if (::geteuid() == 0) system.accessError = [](const std::string&) { return EACCES; };

  struct Case {
    bool inDatabase, inSession;
    std::string expected;
  } cases[] = {
      {false, false, FormatMessage(MsgPortAddToGroup, group.c_str(), "fielduser")},
      {true, false, FormatMessage(MsgPortGroupPending, "fielduser", group.c_str())},
      {true, true, FormatMessage(MsgPortInGroup, "fielduser", group.c_str())},
  };
  for (const Case& c : cases) {
    system.groupInDatabase = [&](gid_t) { return c.inDatabase; };
    system.groupInSession = [&](gid_t) { return c.inSession; };
    const PortDiagnosis d = DiagnoseSerialPort(pty.path(), 0, system);
    ASSERT_EQ(d.problem, PortProblem::PermissionDenied);
    EXPECT_EQ(d.group, group);
    const std::string text = DescribePortDiagnosis(d);
    EXPECT_TRUE(Contains(text, c.expected)) << text;
    EXPECT_TRUE(Contains(text, "c---------")) << text;
    // Joining the group alone would not help: its permissions say so.
    EXPECT_TRUE(
        Contains(text, FormatMessage(MsgPortGroupNoAccess, group.c_str(), pty.path().c_str())));
  }
}

TEST(SerialPortDiagnosisTest, BusyNamesTheHoldersFromProcAndTheLockFile) {
  PtyPair pty;
  HoldingProcess holder(pty.path(), true, "tessaro-cli");
  HoldingProcess locker(pty.path(), false, "old-terminal");
  ASSERT_GT(holder.Pid(), 0);
  ASSERT_GT(locker.Pid(), 0);
  TempDir locks;
  const std::string lockName = "LCK.." + pty.path().substr(5).replace(3, 1, "_");
  locks.WriteFile(lockName, "     " + std::to_string(locker.Pid()) + "\n");

  // The port refuses a second user, and the diagnosis says who has it.
  TCommEx port;
  port.SetDevice(pty.path());
  int openError = 0;
  try {
    port.Open();
  } catch (const ECommOpenError& e) {
    openError = e.SystemError();
  }
  EXPECT_NE(openError, 0);

  PortSystem system = PortSystem::Current();
  system.lockFolder = locks.Path();
  const PortDiagnosis d = DiagnoseSerialPort(pty.path(), openError, system);
  ASSERT_EQ(d.problem, PortProblem::Busy);
  ASSERT_EQ(d.holders.size(), 2u);
  EXPECT_EQ(d.holders[0].pid, holder.Pid());
  EXPECT_EQ(d.holders[0].name, "tessaro-cli");
  EXPECT_TRUE(d.holders[0].tessaro);
  EXPECT_FALSE(d.holders[0].fromLock);
  EXPECT_EQ(d.holders[1].pid, locker.Pid());
  EXPECT_TRUE(d.holders[1].fromLock);
  EXPECT_FALSE(d.holders[1].tessaro);

  const std::string text = DescribePortDiagnosis(d);
  EXPECT_TRUE(Contains(text, FormatMessage(MsgPortBusy, pty.path().c_str())));
  EXPECT_TRUE(Contains(text, FormatMessage(MsgPortHolder, "tessaro-cli", holder.Pid()) + "\n" +
                                 LoadMessage(MsgPortHolderTessaro)))
      << text;
  EXPECT_TRUE(Contains(text, FormatMessage(MsgPortLockHolder, "old-terminal", locker.Pid(),
                                           locks.Join(lockName).c_str())))
      << text;
}

TEST(SerialPortDiagnosisTest, StaleLockAndNoHolderLeaveTheCauseOpen) {
  PtyPair pty;
  TempDir locks;
  locks.WriteFile("LCK.." + pty.path().substr(5).replace(3, 1, "_"), "999999999\n");
  PortSystem system = PortSystem::Current();
  system.lockFolder = locks.Path();
  const PortDiagnosis busy = DiagnoseSerialPort(pty.path(), EBUSY, system);
  EXPECT_EQ(busy.problem, PortProblem::Busy);
  EXPECT_TRUE(busy.holders.empty());
  EXPECT_TRUE(Contains(DescribePortDiagnosis(busy), LoadMessage(MsgPortHolderUnknown)));
  EXPECT_EQ(DiagnoseSerialPort(pty.path(), EIO, system).problem, PortProblem::Other);
}

}  // namespace
}  // namespace tessaro
