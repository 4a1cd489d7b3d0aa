#include "core/support/SingleInstance.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
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

TEST(SingleInstanceTest, SpecialFileAtTheLockIsNotWaitedOn) {
  TempDir dir;
  ASSERT_EQ(::mkfifo((dir.Path() + "/CVXWIN.TES.lock").c_str(), 0600), 0);
  SingleInstance instance(kName, dir.Path());
  EXPECT_TRUE(instance.Acquire());  // runs unguarded, as without a folder
  EXPECT_FALSE(instance.Held());
}

TEST(SingleInstanceTest, OnlyPrivateFoldersServeAsRuntimeFolder) {
  TempDir dir;
  const std::string good = dir.Join("good");
  const std::string open = dir.Join("open");
  const std::string link = dir.Join("link");
  ::mkdir(good.c_str(), 0700);
  ::mkdir(open.c_str(), 0700);
  ::chmod(open.c_str(), 0755);
  ::symlink(good.c_str(), link.c_str());
  const std::string fallback = dir.Join("fallback");
  struct Case {
    std::string runtimeDir;
    std::string chosen;
  } const cases[] = {
      {good, good},
      {good + "/", good + "/"},
      {open, fallback},        // others may look in
      {link, fallback},        // a link may be swapped under us
      {link + "/", fallback},  // not even with a trailing slash
      {"", fallback},          // unset
      {"relative", fallback},  // not an absolute path
      {dir.Join("missing"), fallback},
      {"/", fallback},  // not ours
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ChooseRuntimeFolder(c.runtimeDir, fallback), c.chosen) << c.runtimeDir;
  }
  struct stat st {};
  ASSERT_EQ(::lstat(fallback.c_str(), &st), 0);  // made private when missing
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  // A fallback that fails the same checks is refused as well.
  EXPECT_EQ(ChooseRuntimeFolder(open, open), "");
  EXPECT_EQ(ChooseRuntimeFolder(open, link), "");
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
