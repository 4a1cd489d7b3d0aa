// tessaro-cli ports and --version, and the reason a port did not open, as
// separate processes.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <sstream>

#include "cli/PortsCommand.h"
#include "core/support/Messages.h"
#include "support/TempDir.h"

namespace tessaro {
namespace {

// stdout and stderr of a shell command line, and its exit status.
std::string RunShell(const std::string& commandLine, int& status) {
  std::string output;
  FILE* pipe = ::popen((commandLine + " 2>&1").c_str(), "r");
  if (!pipe) return output;
  char buffer[4096];
  while (size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, n);
  const int raw = ::pclose(pipe);
  status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return output;
}

TEST(PortsCliTest, VersionOfBothCommandLinePrograms) {
  for (const std::string program : {"tessaro-cli", "tessaro-sim"}) {
    int status = -1;
    EXPECT_EQ(RunShell(TESSARO_BIN_DIR "/" + program + " --version", status),
              program + " " + TESSARO_VERSION + "\n");
    EXPECT_EQ(status, 0);
  }
}

TEST(PortsCliTest, PortsListsTheMachinesSerialDevicesOneALine) {
  const auto ports = ListSerialPortInfo();
  ASSERT_TRUE(ports);
  std::ostringstream expected;
  WritePortList(expected, *ports);
  if (ports->empty()) expected << LoadMessage(MsgPortNoneFound) << "\n";
  int status = -1;
  EXPECT_EQ(RunShell(TESSARO_BIN_DIR "/tessaro-cli ports", status), expected.str());
  EXPECT_EQ(status, 0);
}

TEST(PortsCliTest, MissingPortIsExplainedOnStderr) {
  TempDir home;
  int status = -1;
  const std::string output = RunShell(
      "HOME=" + home.Path() + " " TESSARO_BIN_DIR "/tessaro-cli --port /dev/ttyTESSARO-NONE probe",
      status);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(output.rfind(FormatMessage(MsgCommOpenError, -1) + "\n", 0), 0u) << output;
  EXPECT_NE(output.find(FormatMessage(MsgPortMissing, "/dev/ttyTESSARO-NONE")), std::string::npos)
      << output;
}

}  // namespace
}  // namespace tessaro
