#include "cli/CliOptions.h"

#include <gtest/gtest.h>

#include <sstream>

#include "cli/CliCommandLine.h"

namespace tessaro {
namespace {

// Parses a command line that must be valid.
void Parse(CliCommandLine& commandLine, const std::vector<std::string>& args) {
  std::ostringstream out, err;
  int status = -1;
  EXPECT_TRUE(commandLine.Parse(args, out, err, status)) << err.str();
}

std::string ParseError(const std::vector<std::string>& args) {
  CliCommandLine commandLine;
  std::ostringstream out, err;
  int status = -1;
  EXPECT_FALSE(commandLine.Parse(args, out, err, status));
  EXPECT_EQ(status, kExitUsage);
  EXPECT_EQ(err.str().rfind("tessaro-cli: ", 0), 0u) << err.str();
  return err.str();
}

TEST(CliOptions, SerialOptionsMapToSettingCodes) {
  CliCommandLine commandLine;
  Parse(commandLine, {"--port", "/dev/ttyUSB0", "--baud=19200", "--data", "7", "--stop", "1.5",
                      "--parity", "even", "--timeout", "9", "probe"});
  const LineSettings s = ResolveLineSettings(commandLine.Options(), LineSettings{});
  EXPECT_EQ(s.ComPort, "/dev/ttyUSB0");
  EXPECT_EQ(s.Baud, 19200);
  EXPECT_EQ(s.Data, 3);
  EXPECT_EQ(s.Stop, 1);
  EXPECT_EQ(s.Parity, 2);
  EXPECT_EQ(s.Over, 9);
  EXPECT_EQ(commandLine.CommandName(), "probe");
}

// The texts among them reach the recorder in order (CliCommandTest).
TEST(CliOptions, TcpAndSlaveAfterTheCommand) {
  CliCommandLine commandLine;
  Parse(commandLine, {"send", "--tcp", "127.0.0.1:10001", "ver", "--slave", "12", "rtcr"});
  EXPECT_EQ(commandLine.CommandName(), "send");
  EXPECT_EQ(commandLine.Options().slave, 12);
  const LineSettings s = ResolveLineSettings(commandLine.Options(), LineSettings{});
  EXPECT_EQ(s.ComPort, "TCP/IP");
  EXPECT_EQ(s.IpAddr, "127.0.0.1");
  EXPECT_EQ(s.IpPort, 10001);
}

TEST(CliOptions, LeftOutOptionsKeepTheSettingsFileValues) {
  LineSettings file;
  file.ComPort = "COM3";
  file.Baud = 9600;
  file.Over = 5;
  CliCommandLine commandLine;
  Parse(commandLine, {"--baud", "300", "probe", "--baud", "115200"});  // the last one counts
  const LineSettings s = ResolveLineSettings(commandLine.Options(), file);
  EXPECT_EQ(s.ComPort, "COM3");
  EXPECT_EQ(s.Baud, 115200);
  EXPECT_EQ(s.Over, 5);
}

// Each error names the option (or value) at fault.
TEST(CliOptions, BadValuesAreUsageErrors) {
  const struct {
    std::vector<std::string> args;
    const char* named;
  } cases[] = {
      {{"--data", "6", "probe"}, "--data"},
      {{"--stop", "3"}, "--stop"},
      {{"--parity", "mark"}, "--parity"},
      {{"--tcp", "127.0.0.1"}, "--tcp"},
      {{"--tcp", "127.0.0.1:0"}, "--tcp"},
      {{"--tcp", ":80"}, "--tcp"},
      {{"--baud", "fast"}, "--baud"},
      {{"--timeout", "0"}, "--timeout"},
      {{"--slave", "-1"}, "--slave"},
      {{"--slave", "65536"}, "--slave"},
      {{"--port"}, "--port"},
      {{"--port", "", "probe"}, "--port"},
      {{"--port", "TCP/IP", "probe"}, "--port"},
      {{"--colour", "red"}, "--colour"},
      {{"probe", "--colour"}, "--colour"},
      {{"--port", "/dev/ttyS0", "--tcp", "127.0.0.1:1", "probe"}, "--tcp"},
  };
  for (const auto& c : cases)
    EXPECT_NE(ParseError(c.args).find(c.named), std::string::npos) << c.named;
}

}  // namespace
}  // namespace tessaro
