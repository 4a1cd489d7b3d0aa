#include "core/support/SingleInstance.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>

#include "core/support/IdleFlagServer.h"
#include "support/TempDir.h"

namespace tessaro {
namespace {

constexpr char kName[] = "CVXWIN.TES";

// Exit status of a child process that tries to take the lock.
int AcquireInChild(const std::string& folder) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    SingleInstance other(kName, folder);
    ::_exit(other.Acquire() ? 0 : 3);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(SingleInstanceTest, SecondStartFailsWhileTheFirstRuns) {
  TempDir dir;
  {
    SingleInstance first(kName, dir.Path());
    ASSERT_TRUE(first.Acquire());
    EXPECT_TRUE(first.Held());
    EXPECT_EQ(first.LockPath(), dir.Path() + "/CVXWIN.TES.lock");
    EXPECT_EQ(AcquireInChild(dir.Path()), 3);

    SingleInstance sameProcess(kName, dir.Path());
    EXPECT_FALSE(sameProcess.Acquire());
    EXPECT_FALSE(sameProcess.Held());
    EXPECT_TRUE(first.Acquire());  // asking again keeps it
  }
  // Released with the object: the next start gets it.
  EXPECT_EQ(AcquireInChild(dir.Path()), 0);
  SingleInstance again(kName, dir.Path());
  EXPECT_TRUE(again.Acquire());
}

TEST(SingleInstanceTest, DifferentNamesDoNotCollide) {
  TempDir dir;
  SingleInstance a("A.TES", dir.Path());
  SingleInstance b("B.TES", dir.Path());
  EXPECT_TRUE(a.Acquire());
  EXPECT_TRUE(b.Acquire());
}

TEST(SingleInstanceTest, UnusableFolderRunsUnguarded) {
  SingleInstance noFolder(kName, "");
  EXPECT_TRUE(noFolder.Acquire());
  EXPECT_FALSE(noFolder.Held());
  TempDir dir;
  SingleInstance missing(kName, dir.Path() + "/missing");
  EXPECT_TRUE(missing.Acquire());
  EXPECT_FALSE(missing.Held());
}

TEST(SingleInstanceTest, RuntimeFolderIsUsable) {
  const std::string folder = RuntimeFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_TRUE(std::filesystem::is_directory(folder));
}

TEST(IdleFlagServerTest, AnswersTheCurrentFlag) {
  TempDir dir;
  std::atomic<int> idle{1};
  IdleFlagServer server(idle, kName, dir.Path());
  EXPECT_EQ(QueryIdleFlag(kName, dir.Path()), std::nullopt);  // nobody serving yet
  ASSERT_TRUE(server.Start());
  EXPECT_EQ(server.SocketPath(), dir.Path() + "/CVXWIN.TES.sock");
  EXPECT_EQ(QueryIdleFlag(kName, dir.Path()), 1);
  idle = 0;
  EXPECT_EQ(QueryIdleFlag(kName, dir.Path()), 0);
  EXPECT_EQ(QueryIdleFlag(kName, dir.Path()), 0);
  idle = 1;
  EXPECT_EQ(QueryIdleFlag(kName, dir.Path()), 1);
  EXPECT_EQ(QueryIdleFlag("OTHER.TES", dir.Path()), std::nullopt);

  // A second server does not take over a socket that answers.
  std::atomic<int> otherFlag{0};
  IdleFlagServer intruder(otherFlag, kName, dir.Path());
  EXPECT_FALSE(intruder.Start());
  EXPECT_EQ(QueryIdleFlag(kName, dir.Path()), 1);

  server.Stop();
  EXPECT_FALSE(std::filesystem::exists(server.SocketPath()));
  EXPECT_EQ(QueryIdleFlag(kName, dir.Path()), std::nullopt);
}

TEST(IdleFlagServerTest, ReplacesAStaleSocketAndAnswersAnotherProcess) {
  TempDir dir;
  dir.WriteFile("CVXWIN.TES.sock", "left by a crash");
  std::atomic<int> idle{0};
  IdleFlagServer server(idle, kName, dir.Path());
  ASSERT_TRUE(server.Start());
  const pid_t pid = ::fork();
  if (pid == 0) {
    const auto answer = QueryIdleFlag(kName, dir.Path());
    ::_exit(answer ? *answer : 9);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(IdleFlagServerTest, PathTooLongIsRefused) {
  std::atomic<int> idle{1};
  IdleFlagServer server(idle, std::string(200, 'x'), "/tmp");
  EXPECT_FALSE(server.Start());
  EXPECT_EQ(QueryIdleFlag(std::string(200, 'x'), "/tmp"), std::nullopt);
}

}  // namespace
}  // namespace tessaro
