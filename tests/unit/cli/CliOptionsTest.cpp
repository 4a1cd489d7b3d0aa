#include "cli/CliOptions.h"

#include <gtest/gtest.h>

namespace tessaro {
namespace {

CliOptions Parse(const std::vector<std::string>& args) {
  CliOptions o;
  std::string error;
  EXPECT_TRUE(ParseCliOptions(args, o, error)) << error;
  return o;
}

std::string ParseError(const std::vector<std::string>& args) {
  CliOptions o;
  std::string error;
  EXPECT_FALSE(ParseCliOptions(args, o, error));
  EXPECT_FALSE(error.empty());
  return error;
}

TEST(CliOptions, SerialOptionsMapToSettingCodes) {
  const CliOptions o = Parse({"--port", "/dev/ttyUSB0", "--baud=19200", "--data", "7", "--stop",
                              "1.5", "--parity", "even", "--timeout", "9", "probe"});
  const LineSettings s = ResolveLineSettings(o, LineSettings{});
  EXPECT_EQ(s.ComPort, "/dev/ttyUSB0");
  EXPECT_EQ(s.Baud, 19200);
  EXPECT_EQ(s.Data, 3);
  EXPECT_EQ(s.Stop, 1);
  EXPECT_EQ(s.Parity, 2);
  EXPECT_EQ(s.Over, 9);
  EXPECT_EQ(o.command, "probe");
}

TEST(CliOptions, TcpAndSlave) {
  const CliOptions o = Parse({"send", "--tcp", "127.0.0.1:10001", "ver", "--slave", "12", "rtcr"});
  EXPECT_EQ(o.command, "send");
  EXPECT_EQ(o.args, (std::vector<std::string>{"ver", "rtcr"}));
  EXPECT_EQ(o.slave, 12);
  const LineSettings s = ResolveLineSettings(o, LineSettings{});
  EXPECT_EQ(s.ComPort, "TCP/IP");
  EXPECT_EQ(s.IpAddr, "127.0.0.1");
  EXPECT_EQ(s.IpPort, 10001);
}

TEST(CliOptions, LeftOutOptionsKeepTheSettingsFileValues) {
  LineSettings file;
  file.ComPort = "COM3";
  file.Baud = 9600;
  file.Over = 5;
  const LineSettings s = ResolveLineSettings(Parse({"--baud", "115200", "probe"}), file);
  EXPECT_EQ(s.ComPort, "COM3");
  EXPECT_EQ(s.Baud, 115200);
  EXPECT_EQ(s.Over, 5);
}

TEST(CliOptions, DoubleDashPassesDashedText) {
  const CliOptions o = Parse({"send", "--", "--not-an-option"});
  EXPECT_EQ(o.args, (std::vector<std::string>{"--not-an-option"}));
}

TEST(CliOptions, BadValuesAreUsageErrors) {
  ParseError({"--data", "6", "probe"});
  ParseError({"--stop", "3"});
  ParseError({"--parity", "mark"});
  ParseError({"--tcp", "127.0.0.1"});
  ParseError({"--tcp", "127.0.0.1:0"});
  ParseError({"--tcp", ":80"});
  ParseError({"--baud", "fast"});
  ParseError({"--timeout", "0"});
  ParseError({"--slave", "-1"});
  ParseError({"--slave", "65536"});
  ParseError({"--port"});
  ParseError({"--colour", "red"});
  EXPECT_NE(ParseError({"--port", "/dev/ttyS0", "--tcp", "127.0.0.1:1"}).find("--tcp"),
            std::string::npos);
}

}  // namespace
}  // namespace tessaro
