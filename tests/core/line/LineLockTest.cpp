// The per-line lock: a second holder is refused and told who has the line;
// the lock of a holder that died is taken over.

#include "core/line/LineLock.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "support/TempDir.h"

namespace tessaro {
namespace {

// Locks go to a folder of the test's own.
class LineLockTest : public testing::Test {
 protected:
  void SetUp() override {
    if (const char* folder = std::getenv("TESSARO_LOCK_DIR")) saved_ = folder;
    ::setenv("TESSARO_LOCK_DIR", dir_.Path().c_str(), 1);
  }
  void TearDown() override {
    if (saved_.empty())
      ::unsetenv("TESSARO_LOCK_DIR");
    else
      ::setenv("TESSARO_LOCK_DIR", saved_.c_str(), 1);
  }
  TempDir dir_;
  std::string saved_;
};

// A child process that takes key's lock, says so through a pipe and then
// either holds it until killed or exits at once without letting go.
pid_t ChildHolding(const std::string& key, bool exitAtOnce) {
  int ready[2];
  if (::pipe(ready) != 0) return -1;
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(ready[0]);
    static LineLock lock;  // never released: the process ends holding it
    const bool taken = lock.Acquire(key, 0) == LineLock::Outcome::Taken;
    (void)!::write(ready[1], taken ? "1" : "0", 1);
    if (exitAtOnce) ::_exit(0);
    for (;;) ::pause();
  }
  ::close(ready[1]);
  char answer = 0;
  const bool ok = ::read(ready[0], &answer, 1) == 1 && answer == '1';
  ::close(ready[0]);
  return ok ? pid : -1;
}

TEST_F(LineLockTest, SecondHolderIsRefusedWithTheHolderNamed) {
  const std::string key = LineLock::TcpKey("Gateway", 1000);
  const pid_t holder = ChildHolding(key, false);
  ASSERT_GT(holder, 0);
  LineLock lock;
  // The same line under another spelling of the host.
  EXPECT_EQ(lock.Acquire(LineLock::TcpKey("gateway", 1000), 0), LineLock::Outcome::Busy);
  EXPECT_EQ(lock.Holder().pid, holder);
  EXPECT_FALSE(lock.Holder().program.empty());
  EXPECT_NE(lock.Holder().Text().find("(PID " + std::to_string(holder) + ")"), std::string::npos);
  EXPECT_FALSE(lock.Held());
  // Another line is free.
  EXPECT_EQ(lock.Acquire(LineLock::TcpKey("gateway", 1001), 0), LineLock::Outcome::Taken);

  ::kill(holder, SIGKILL);
  ::waitpid(holder, nullptr, 0);
  LineLock after;
  EXPECT_EQ(after.Acquire(key, 2000), LineLock::Outcome::Taken);
}

TEST_F(LineLockTest, DeadHoldersLockIsTakenOverAndReleasedLocksVanish) {
  const std::string key = LineLock::SerialKey("/dev/ttyUSB-none");
  const pid_t holder = ChildHolding(key, true);
  ASSERT_GT(holder, 0);
  ::waitpid(holder, nullptr, 0);
  // The file stays with the dead holder's text.
  EXPECT_FALSE(TempDir::ReadAll(LineLock::FileFor(key)).empty());
  LineLock lock;
  ASSERT_EQ(lock.Acquire(key, 0), LineLock::Outcome::Taken);
  EXPECT_EQ(TempDir::ReadAll(LineLock::FileFor(key)).rfind(std::to_string(::getpid()) + " ", 0),
            0u);
  LineLock second;
  EXPECT_EQ(second.Acquire(key, 150), LineLock::Outcome::Busy);
  EXPECT_EQ(second.Holder().pid, ::getpid());
  lock.Release();
  EXPECT_TRUE(TempDir::ReadAll(LineLock::FileFor(key)).empty());
  EXPECT_EQ(second.Acquire(key, 0), LineLock::Outcome::Taken);
}

}  // namespace
}  // namespace tessaro
