// tessaro-cli monitor and term against the recorder simulator.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sstream>

#include "cli/CliMain.h"
#include "core/support/Messages.h"
#include "support/SimFixture.h"
#include "support/TempDir.h"

namespace tessaro {
namespace {

std::string TcpTarget(SimFixture& sim) { return "127.0.0.1:" + std::to_string(sim.StartTcp()); }

// tessaro-cli as a process with stdin fed from input; stdout collected.
class CliRun {
 public:
  CliRun(std::vector<std::string> args, const std::string& input, const std::string& home) {
    int in[2], out[2];
    if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      ::dup2(in[0], 0);
      ::dup2(out[1], 1);
      std::string homeVar = "HOME=" + home;
      char* env[] = {homeVar.data(), nullptr};
      const std::string exe = TESSARO_BIN_DIR "/tessaro-cli";
      std::vector<char*> argv{const_cast<char*>(exe.c_str())};
      for (auto& a : args) argv.push_back(a.data());
      argv.push_back(nullptr);
      ::execve(exe.c_str(), argv.data(), env);
      ::_exit(127);
    }
    ::close(in[0]);
    ::close(out[1]);
    if (!input.empty() && ::write(in[1], input.data(), input.size()) < 0) ADD_FAILURE();
    ::close(in[1]);
    out_ = out[0];
  }
  ~CliRun() {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
    if (out_ >= 0) ::close(out_);
  }
  // Reads stdout until it holds text (false after 5 s or at its end).
  bool WaitFor(const std::string& text) {
    while (stdout_.find(text) == std::string::npos) {
      pollfd p{out_, POLLIN, 0};
      char buffer[512];
      if (::poll(&p, 1, 5000) <= 0) return false;
      const ssize_t got = ::read(out_, buffer, sizeof buffer);
      if (got <= 0) return false;
      stdout_.append(buffer, static_cast<size_t>(got));
    }
    return true;
  }
  void Signal(int signal) { ::kill(pid_, signal); }
  int Wait() {
    WaitFor(std::string("\x01"));  // to the end
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  const std::string& Stdout() const { return stdout_; }

 private:
  pid_t pid_ = -1;
  int out_ = -1;
  std::string stdout_;
};

TEST(TermCliTest, MonitorListsNumberedRepliesAndStopsAfterThreeFailures) {
  SimFixture sim;
  const std::string target = TcpTarget(sim);
  std::ostringstream out, err;
  EXPECT_EQ(
      RunCli({"--tcp", target, "--timeout", "1", "monitor", "--count", "2", "--interval", "0"},
             LineSettings{}, out, err),
      0)
      << err.str();
  EXPECT_EQ(out.str(), "00001 ver CVX-4A Ver1.20\n00002 ver CVX-4A Ver1.20\n");

  sim::FaultSettings faults;
  faults.silentAfter = 2;  // the probe and one command
  sim.Faults().Set(faults);
  std::ostringstream out2, err2;
  EXPECT_EQ(RunCli({"--tcp", target, "--timeout", "1", "monitor", "rtcr", "--interval", "0"},
                   LineSettings{}, out2, err2),
            1);
  EXPECT_EQ(out2.str().substr(0, 11), "00001 rtcr ");
  EXPECT_EQ(out2.str().find("00002"), std::string::npos);
  EXPECT_EQ(err2.str(), LoadMessage(MsgNoEchoBack) + "\n");
}

TEST(TermCliTest, MonitorEndsCleanlyOnCtrlC) {
  SimFixture sim;
  TempDir home;
  CliRun cli({"--tcp", TcpTarget(sim), "--timeout", "1", "monitor", "--interval", "50"}, "",
             home.Path());
  ASSERT_TRUE(cli.WaitFor("00002 ver")) << cli.Stdout();
  cli.Signal(SIGINT);
  EXPECT_EQ(cli.Wait(), 0);
}

TEST(TermCliTest, TermSendsStdinLinesSlavedAndLogs) {
  SimFixture sim("default", {5});
  TempDir home;
  const std::string log = home.Join("term.LOG");
  home.WriteFile("term.LOG", "before\r\n");
  CliRun cli({"--tcp", TcpTarget(sim), "--timeout", "1", "--slave", "5", "term", "--log", log},
             "ver\r\nbad\x1b\n" + std::string(300, 'a') + "\nrtcr", home.Path());
  EXPECT_EQ(cli.Wait(), 0);
  const std::string slave = ". 0005FFFF";
  std::istringstream lines(cli.Stdout());
  std::vector<std::string> shown;
  for (std::string line; std::getline(lines, line);) shown.push_back(line);
  ASSERT_EQ(shown.size(), 5u) << cli.Stdout();
  EXPECT_EQ(shown[0], slave + "CVX-4A Ver1.20");
  EXPECT_EQ(shown[1], slave + "??CMD");
  EXPECT_EQ(shown[4].size(), slave.size() + 12);  // the clock
  const auto taken = sim.Recorder(5).Commands();
  ASSERT_EQ(taken.size(), 5u);
  EXPECT_EQ(taken[1], "bad");
  EXPECT_EQ(taken[2], std::string(255, 'a'));
  EXPECT_EQ(taken[3], std::string(45, 'a'));
  const std::string written = TempDir::ReadAll(log);
  EXPECT_EQ(written.rfind("before\r\nver\r\nbad\r\n", 0), 0u) << written;
  EXPECT_NE(written.find("\r\n" + shown[0] + "\r\n"), std::string::npos) << written;
}

}  // namespace
}  // namespace tessaro
