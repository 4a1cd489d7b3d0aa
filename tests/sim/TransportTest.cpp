// The simulator's transports: slave framing behind one TCP port, the
// pseudo-terminal, reconnecting clients, the program itself, and the
// program's own line facade talking to it.

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>

#include "RawClient.h"
#include "core/line/LineContext.h"
#include "core/line/LineFacade.h"
#include "support/SimFixture.h"

namespace tessaro::simtest {
namespace {

std::string Framed(int id, const std::string& text) {
  char header[16];
  std::snprintf(header, sizeof header, "\x02 %04XFFFF", id);
  return header + text;
}

TEST(SimTransport, EachSlaveIdAnswersOnlyItsOwnFrames) {
  SimFixture sim("default", {1, 2, 0x2A});
  auto client = RawClient::Tcp(sim.StartTcp());
  ASSERT_TRUE(client);
  const std::string serial1 = sim.Recorder(1).Serial();
  const std::string serial2 = sim.Recorder(2).Serial();
  EXPECT_NE(serial1, serial2);
  EXPECT_EQ(client->Command(SlaveFrame(1, "eepr210")), Framed(1, serial1));
  EXPECT_EQ(client->Command(SlaveFrame(2, "eepr210")), Framed(2, serial2));
  EXPECT_EQ(client->Command(SlaveFrame(2, "")), Framed(2, "??CMD"));
  // Lower-case hex digits address the same recorder; replies use upper case.
  EXPECT_EQ(client->Command("\x05 002aFFFFver"), Framed(0x2A, "CVX-4A Ver1.20"));
  // Another ID, or no header at all: nobody answers.
  EXPECT_FALSE(client->Command(SlaveFrame(3, "ver"), 300));
  EXPECT_FALSE(client->Command("ver", 300));
  // Each ID is its own recorder.
  EXPECT_EQ(client->Command(SlaveFrame(1, "eepw202,2")), Framed(1, "2"));
  EXPECT_EQ(client->Command(SlaveFrame(2, "eepr202")), Framed(2, "4"));
  // A transfer: framed "!!", then plain blocks.
  EXPECT_EQ(client->Command(SlaveFrame(2, "xdmrr")), Framed(2, "!!"));
  const Received rom = client->Receive({});
  EXPECT_TRUE(rom.completed);
  const auto image = sim.Recorder(2).AreaImage(sim::SimArea::Rom);
  ASSERT_GE(rom.data.size(), image.size());
  EXPECT_TRUE(std::equal(image.begin(), image.end(), rom.data.begin()));
}

TEST(SimTransport, PseudoTerminalServesAcrossReopens) {
  SimFixture sim("old");
  const std::string path = sim.StartPty();
  ASSERT_EQ(path.rfind("/dev/", 0), 0u) << path;
  {
    auto client = RawClient::Pty(path);
    ASSERT_TRUE(client);
    EXPECT_EQ(client->Command(""), "??CMD");
    EXPECT_EQ(client->Command("romr108"), "??");
    ASSERT_EQ(client->Command("xdmee"), "!!");
    const Received eep = client->Receive({});
    EXPECT_TRUE(eep.completed);
    const auto image = sim.Recorder().AreaImage(sim::SimArea::Eep);
    EXPECT_TRUE(std::equal(image.begin(), image.end(), eep.data.begin()));
  }
  auto again = RawClient::Pty(path);
  ASSERT_TRUE(again);
  again->Drain(50);
  EXPECT_EQ(again->Command("ver"), "CVX-2 Ver0.95");
}

TEST(SimTransport, ServingGoesOnAfterDisconnectAndNewestClientWins) {
  SimFixture sim;
  const int port = sim.StartTcp();
  {
    auto first = RawClient::Tcp(port);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->Command("romr100"), "41");
  }
  auto second = RawClient::Tcp(port);
  ASSERT_TRUE(second);
  EXPECT_EQ(second->Command("romr100"), "41");
  // A third client while the second stays connected but idle takes over.
  auto third = RawClient::Tcp(port);
  ASSERT_TRUE(third);
  EXPECT_EQ(third->Command("romr101"), "2");
  sim.Stop();
  EXPECT_FALSE(third->Command("ver", 500));
}

// The line as the program configures it: a serial device path or
// "TCP/IP" to 127.0.0.1:port; slaveId < 0 for no slave header.
void OpenLine(LineContext& line, const std::string& port, int tcpPort, int slaveId) {
  LineSettings settings;
  settings.ComPort = port;
  settings.IpAddr = "127.0.0.1";
  settings.IpPort = tcpPort;
  settings.Over = 1;
  SimFixture::UseQuickTiming(line);
  ApplyLineSettings(line, settings);
  LineSetSlave(line, slaveId >= 0, std::max(slaveId, 0));
  LineFlowNone(line);
  LineOpen(line);
}

TEST(SimTransport, LineFacadeTalksToSlavedRecorder) {
  SimFixture sim("default", {5});
  LineContext line;
  OpenLine(line, "TCP/IP", sim.StartTcp(), 5);
  EXPECT_TRUE(LineCheck(line));
  std::string reply;
  ASSERT_TRUE(LineCommand(line, "eepr210", reply));
  EXPECT_EQ(reply, sim.Recorder(5).Serial());
  ASSERT_TRUE(LineCommand(line, "xdm1krr", reply));
  ASSERT_EQ(reply, "!!");
  ASSERT_TRUE(LinePutChar(line, 0x15));
  uint8_t block[kBlockBufferSize];
  ASSERT_EQ(LineRecvBlock(line, true, block), BlockOk);
  EXPECT_TRUE(LineCheckBlock(true, block));
  EXPECT_EQ(block[1], 1);
  ASSERT_TRUE(LinePutChar(line, 0x06));
  EXPECT_EQ(LineRecvBlock(line, true, block), BlockEnd);
  ASSERT_TRUE(LinePutChar(line, 0x06));
  LineSetSlave(line, true, 6);
  EXPECT_FALSE(LineCommand(line, "ver", reply));
  LineClose(line);
}

TEST(SimTransport, LineFacadeOverThePseudoTerminal) {
  SimFixture sim;
  LineContext line;
  OpenLine(line, sim.StartPty(), 0, -1);
  EXPECT_TRUE(LineCheck(line));
  std::string reply;
  ASSERT_TRUE(LineCommand(line, "rtcw261208102345", reply));
  EXPECT_EQ(reply, "261208102345");
  ASSERT_TRUE(LineCommand(line, "filer1,806", reply));
  EXPECT_EQ(reply, "40000");
  LineClose(line);
}

// Runs bin/tessaro-sim with arguments; its stdout is read through a pipe.
class Program {
 public:
  explicit Program(std::vector<std::string> args) {
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      ::dup2(out[1], 1);
      const std::string exe = std::string(TESSARO_BIN_DIR) + "/tessaro-sim";
      std::vector<char*> argv{const_cast<char*>(exe.c_str())};
      for (auto& a : args) argv.push_back(a.data());
      argv.push_back(nullptr);
      ::execv(exe.c_str(), argv.data());
      ::_exit(127);
    }
    ::close(out[1]);
    stdout_ = ::fdopen(out[0], "r");
  }
  ~Program() {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
    if (stdout_) std::fclose(stdout_);
  }
  std::string Line() {
    char buffer[256] = {};
    if (!stdout_ || !std::fgets(buffer, sizeof buffer, stdout_)) return {};
    std::string line = buffer;
    if (!line.empty() && line.back() == '\n') line.pop_back();
    return line;
  }
  int Terminate() {
    ::kill(pid_, SIGTERM);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  int Wait() {
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

 private:
  pid_t pid_ = -1;
  FILE* stdout_ = nullptr;
};

TEST(SimProgram, PrintsItsEndpointsAndStopsOnSigterm) {
  Program program({"--tcp", "0", "--pty", "--profile", "wind", "--refuse", "romr120"});
  const std::string tcp = program.Line();
  ASSERT_EQ(tcp.rfind("tcp 127.0.0.1:", 0), 0u) << tcp;
  const std::string pty = program.Line();
  ASSERT_EQ(pty.rfind("pty /dev/", 0), 0u) << pty;
  auto client = RawClient::Tcp(std::stoi(tcp.substr(14)));
  ASSERT_TRUE(client);
  EXPECT_EQ(client->Command("ver"), "CVX-W Ver2.10");
  EXPECT_EQ(client->Command("romr120"), "??");
  auto serial = RawClient::Pty(pty.substr(4));
  ASSERT_TRUE(serial);
  EXPECT_EQ(serial->Command("filer2,2000"), "138");
  EXPECT_EQ(program.Terminate(), 0);
}

TEST(SimProgram, RefusesBadArguments) {
  EXPECT_EQ(Program({"--drop-block", "x"}).Wait(), 2);
  EXPECT_EQ(Program({"--bogus"}).Wait(), 2);
  EXPECT_EQ(Program({"--profile", "no-such-profile"}).Wait(), 1);
}

}  // namespace
}  // namespace tessaro::simtest
