// tessaro-cli firmware: the file check, the exit status of each outcome
// against the simulator, and the question on a terminal.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sstream>

#include "cli/CliMain.h"
#include "core/support/Messages.h"
#include "support/SRecordText.h"
#include "support/SimLine.h"
#include "support/TempDir.h"

namespace tessaro {
namespace {

struct Outcome {
  int status;
  std::string out;
  std::string err;
};

class FirmwareCli : public ::testing::Test {
 protected:
  Outcome Cli(std::vector<std::string> args, const sim::FaultSettings& faults = {}) {
    sim_.Faults().Set(faults);
    args.insert(args.begin(), {"--tcp", Target(), "--timeout", "1"});
    std::ostringstream out, err;
    const int status = RunCli(args, LineSettings{}, out, err);
    return {status, out.str(), err.str()};
  }
  std::string Target() const { return "127.0.0.1:" + std::to_string(port_); }

  // tessaro-cli as its own process with stdin from the given descriptor.
  int Process(std::vector<std::string> args, int input) {
    args.insert(args.begin(),
                {TESSARO_BIN_DIR "/tessaro-cli", "--tcp", Target(), "--timeout", "1"});
    const pid_t pid = ::fork();
    if (pid == 0) {
      ::dup2(input, 0);
      const int null = ::open("/dev/null", O_WRONLY);
      ::dup2(null, 1);
      ::dup2(null, 2);
      std::vector<char*> argv;
      for (auto& a : args) argv.push_back(a.data());
      argv.push_back(nullptr);
      ::execv(argv[0], argv.data());
      ::_exit(127);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  SimFixture sim_;
  int port_ = sim_.StartTcp();
  TempDir dir_;
  std::string good_ =
      dir_.WriteFile("GOOD.MOT", testing::JoinLines(testing::FirmwareRecords(2, 4)));
};

TEST_F(FirmwareCli, CheckPrintsTheSummaryWithoutTouchingTheLine) {
  const Outcome checked = Cli({"firmware", good_, "--check"});
  EXPECT_EQ(checked.status, 0) << checked.err;
  EXPECT_EQ(checked.out,
            "S0 records: 1\nS2 records: 4\nS8 records: 1\ndata bytes: 64\n"
            "addresses: 0x00001000-0x0000103F\n");
  EXPECT_EQ(sim_.Faults().CommandsSeen(), 0);
}

TEST_F(FirmwareCli, ExitStatusSaysWhetherTheRecorderChanged) {
  const std::string bad = dir_.WriteFile("BAD.MOT", "S9030000FC\n");
  const struct {
    const char* what;
    std::vector<std::string> args;
    sim::FaultSettings faults;
    int status;
    std::string says;  // on stderr (on stdout for success)
  } cases[] = {
      {"written", {"firmware", good_, "--yes"}, {}, 0, LoadMessage(MsgMotDone)},
      {"invalid file", {"firmware", bad, "--yes"}, {}, 2, LoadMessage(MsgMotNoData)},
      {"missing file",
       {"firmware", dir_.Join("NONE.MOT"), "--check"},
       {},
       2,
       LoadMessage(MsgMotOpenFailed)},
      {"no file", {"firmware"}, {}, 2, "FILE"},
      {"eromoff refused",
       {"firmware", good_, "--yes"},
       {.refused = {"eromoff"}},
       1,
       "program is unchanged"},
      {"no recorder",
       {"firmware", good_, "--yes"},
       {.silentAfter = 0},
       1,
       LoadMessage(MsgLineCheckFailed)},
      {"record refused",
       {"firmware", good_, "--yes"},
       {.refused = {"S2"}},
       3,
       "may need a new write"},
      {"eromon refused",
       {"firmware", good_, "--yes"},
       {.refused = {"eromon"}},
       3,
       LoadMessage(MsgNoWriteConfirmation)},
  };
  for (const auto& c : cases) {
    const Outcome outcome = Cli(c.args, c.faults);
    EXPECT_EQ(outcome.status, c.status) << c.what << "\n" << outcome.err;
    EXPECT_NE((c.status == 0 ? outcome.out : outcome.err).find(c.says), std::string::npos)
        << c.what << "\n"
        << outcome.err;
    sim_.Recorder().Execute("eromon");  // the loader takes commands again
    if (c.status == 2) {
      EXPECT_EQ(sim_.Faults().CommandsSeen(), 0) << c.what;
    }
  }
}

TEST_F(FirmwareCli, AsksOnATerminalAndRefusesWithoutOne) {
  const int null = ::open("/dev/null", O_RDONLY);
  EXPECT_EQ(Process({"firmware", good_}, null), 2);
  ::close(null);
  EXPECT_EQ(sim_.Faults().CommandsSeen(), 0);

  for (const auto& [answer, status] : {std::pair{"n\n", 1}, std::pair{"y\n", 0}}) {
    int master = -1, slave = -1;
    ASSERT_EQ(::openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
    ASSERT_EQ(::write(master, answer, 2), 2);
    EXPECT_EQ(Process({"firmware", good_}, slave), status) << answer;
    ::close(slave);
    ::close(master);
  }
  EXPECT_TRUE(sim_.Recorder().FirmwareConfirmed());
  EXPECT_EQ(CommandsTaken(sim_.Recorder(), "eromoff").size(), 1u);
}

}  // namespace
}  // namespace tessaro
