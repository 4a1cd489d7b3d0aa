// tessaro-cli as a separate process, as a user starts it: its own program
// folder, a fresh home, signals from outside.

#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <set>

#include "core/support/Messages.h"
#include "support/SimFixture.h"
#include "support/TempDir.h"

namespace tessaro {
namespace {

namespace fs = std::filesystem;

// A copy of tessaro-cli in a folder of its own, so that its program folder
// (work copies, LOG) is one the test can watch.
class ProgramFolder {
 public:
  ProgramFolder() {
    fs::copy_file(TESSARO_BIN_DIR "/tessaro-cli", Exe());
    fs::create_directory_symlink(TESSARO_BIN_DIR "/DB", dir_.Join("DB"));
    ::chmod(dir_.Path().c_str(), 0755);
  }
  std::string Exe() const { return dir_.Join("tessaro-cli"); }
  const TempDir& Dir() const { return dir_; }

 private:
  TempDir dir_;
};

// Every path below folder.
std::set<std::string> Tree(const std::string& folder) {
  std::set<std::string> paths;
  for (const auto& e : fs::recursive_directory_iterator(folder)) paths.insert(e.path().string());
  return paths;
}

// One run of the program; its stderr is read line by line through a pipe.
class CliProcess {
 public:
  CliProcess(const std::string& exe, std::vector<std::string> args, const std::string& home,
             std::optional<passwd> user = std::nullopt) {
    int err[2];
    if (::pipe2(err, O_CLOEXEC) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      ::dup2(err[1], 2);
      const int null = ::open("/dev/null", O_WRONLY);
      ::dup2(null, 1);
      if (user && (::setgroups(0, nullptr) != 0 || ::setgid(user->pw_gid) != 0 ||
                   ::setuid(user->pw_uid) != 0))
        ::_exit(126);
      std::string homeVar = "HOME=" + home;
      char* env[] = {homeVar.data(), const_cast<char*>("PATH=/usr/bin:/bin"), nullptr};
      std::vector<char*> argv{const_cast<char*>(exe.c_str())};
      for (auto& a : args) argv.push_back(a.data());
      argv.push_back(nullptr);
      ::execve(exe.c_str(), argv.data(), env);
      ::_exit(127);
    }
    ::close(err[1]);
    stderr_ = ::fdopen(err[0], "r");
  }
  ~CliProcess() {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
    if (stderr_) std::fclose(stderr_);
  }
  // Reads stderr up to a line containing text; false at its end.
  bool WaitForLine(const std::string& text) {
    char buffer[1024];
    while (stderr_ && std::fgets(buffer, sizeof buffer, stderr_)) {
      seen_ += buffer;
      if (std::string(buffer).find(text) != std::string::npos) return true;
    }
    return false;
  }
  void Signal(int signal) { ::kill(pid_, signal); }
  // The exit status (-1 when it did not exit by itself), with the rest of stderr read.
  int Wait() {
    WaitForLine("\x01");  // to the end
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  const std::string& Stderr() const { return seen_; }

 private:
  pid_t pid_ = -1;
  FILE* stderr_ = nullptr;
  std::string seen_;
};

std::string Target(SimFixture& sim) { return "127.0.0.1:" + std::to_string(sim.StartTcp()); }

TEST(CliProcessTest, TerminationSignalsCancelACollectionAndLeaveNothing) {
  for (const int signal : {SIGTERM, SIGHUP}) {
    SCOPED_TRACE(signal);
    SimFixture sim;
    sim.Faults().Set({.baud = 38400});
    ProgramFolder program;
    TempDir home;
    home.WriteFile("kept.txt", "already here");
    const auto before = Tree(home.Path());
    const auto programBefore = Tree(program.Dir().Path());

    CliProcess cli(program.Exe(),
                   {"--tcp", Target(sim), "--timeout", "2", "collect", "--keep-rlb", "--csv",
                    home.Join("x.csv")},
                   home.Path());
    ASSERT_TRUE(cli.WaitForLine(LoadMessage(MsgNewRingReading))) << cli.Stderr();
    cli.Signal(signal);
    EXPECT_EQ(cli.Wait(), 1) << cli.Stderr();
    EXPECT_NE(cli.Stderr().find(LoadMessage(MsgCancelPressed)), std::string::npos);
    // Only the empty folders of a fresh user may be new.
    for (const auto& path : Tree(home.Path()))
      if (!before.count(path)) EXPECT_TRUE(fs::is_directory(path)) << path;
    for (const auto& path : Tree(program.Dir().Path()))
      if (!programBefore.count(path)) EXPECT_TRUE(fs::is_directory(path)) << path;
  }
}

TEST(CliProcessTest, OrdinaryUserWithAFreshHomeCollectsAndConverts) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to become another user";
  const passwd* nobody = ::getpwnam("nobody");
  if (!nobody) GTEST_SKIP() << "no user nobody";
  SimFixture sim;
  ProgramFolder program;  // root's: the user may not write there
  TempDir top;
  ::chmod(top.Path().c_str(), 0755);
  const std::string data = top.Join("data");
  fs::create_directory(data);
  ::chown(data.c_str(), nobody->pw_uid, nobody->pw_gid);
  const std::string csv = data + "/c.csv";
  const std::string home = data + "/home";  // does not exist yet

  CliProcess collect(
      program.Exe(),
      {"--tcp", Target(sim), "--timeout", "2", "collect", "--keep-rlb", "--csv", csv}, home,
      *nobody);
  ASSERT_EQ(collect.Wait(), 0) << collect.Stderr();
  EXPECT_TRUE(fs::is_regular_file(csv));
  CliProcess convert(program.Exe(), {"convert", data + "/c.RLB", "--csv", data + "/v.csv"}, home,
                     *nobody);
  ASSERT_EQ(convert.Wait(), 0) << convert.Stderr();
  EXPECT_TRUE(fs::is_regular_file(data + "/v.csv"));
  // LOG and the work copies went to the user's own folder.
  EXPECT_FALSE(fs::exists(program.Dir().Join("LOG")));
  ASSERT_TRUE(fs::is_directory(home + "/Documents/Tessaro/LOG"));
  EXPECT_FALSE(fs::is_empty(home + "/Documents/Tessaro/LOG"));
  EXPECT_TRUE(fs::is_directory(home + "/Documents/Tessaro/INI"));
}

}  // namespace
}  // namespace tessaro
