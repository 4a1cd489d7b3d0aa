#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

#include "cli/CliMain.h"
#include "core/support/Messages.h"
#include "support/LinePeers.h"

namespace tessaro {
namespace {

using namespace std::string_literals;
using testing::FakeRecorder;

struct Result {
  int status;
  std::string out;
  std::string err;
};

Result RunCliCaptured(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  const int status = RunCli(args, LineSettings{}, out, err);
  return {status, out.str(), err.str()};
}

// A recorder behind a TCP listener, answering each connection in turn.
class CliAgainstRecorder : public ::testing::Test {
 protected:
  void Serve(FakeRecorder::Script script) {
    server = std::thread([this, script] {
      peer = listener.Accept(3000);
      if (peer) recorder = std::make_unique<FakeRecorder>(peer.get(), script);
    });
  }
  // Waits for the connection to end and drops its recorder.
  void Finish() {
    if (server.joinable()) server.join();
    recorder.reset();
  }
  void TearDown() override { Finish(); }
  std::vector<std::string> Tcp(std::vector<std::string> rest) {
    std::vector<std::string> args = {"--tcp", "127.0.0.1:" + std::to_string(listener.port()),
                                     "--timeout", "1"};
    args.insert(args.end(), rest.begin(), rest.end());
    return args;
  }

  testing::TcpListener listener;
  UniqueFd peer;
  std::unique_ptr<FakeRecorder> recorder;
  std::thread server;
};

TEST_F(CliAgainstRecorder, ProbeSucceeds) {
  Serve(testing::EchoRecorder);
  const Result r = RunCliCaptured(Tcp({"probe"}));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "");
}

TEST_F(CliAgainstRecorder, SendPrintsEachReplyAsReceived) {
  Serve([](const std::string& line) -> std::optional<std::string> {
    if (line.empty()) return "??CMD\r"s;
    if (line == "ver") return "\x83\x65\x83\x58\x83\x67 1.0\r"s;  // CP932 bytes, untouched
    return line + "\r";
  });
  const Result r = RunCliCaptured(Tcp({"send", "ver", "rtcw201231235959"}));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "\x83\x65\x83\x58\x83\x67 1.0\nrtcw201231235959\n"s);
}

// Line options may follow the command among its texts; "--" lets a text
// start with a dash.
TEST_F(CliAgainstRecorder, SendTextsAmongLineOptions) {
  const std::string tcp = "127.0.0.1:" + std::to_string(listener.port());
  const struct {
    std::vector<std::string> args;
    const char* replies;
  } cases[] = {
      {{"send", "ver", "--tcp", tcp, "rtcr", "--timeout=1"}, "ver\nrtcr\n"},
      {{"send", "--tcp=" + tcp, "--", "--not-an-option", "--timeout"},
       "--not-an-option\n--timeout\n"},
  };
  for (const auto& c : cases) {
    Serve(testing::EchoRecorder);
    const Result r = RunCliCaptured(c.args);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, c.replies);
    Finish();
  }
}

TEST_F(CliAgainstRecorder, SlavedSendAddressesTheRecorder) {
  Serve([](const std::string& line) -> std::optional<std::string> {
    if (line.size() < 10 || line.compare(0, 10, "\x05 000CFFFF") != 0) return std::nullopt;
    const std::string text = line.substr(10);
    return "\x02 000CFFFF" + (text.empty() ? "??CMD"s : text) + "\r";
  });
  const Result r = RunCliCaptured(Tcp({"--slave", "12", "send", "askivl"}));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "askivl\n");
}

TEST_F(CliAgainstRecorder, MissingReplyFailsWithEchoBackMessage) {
  Serve([](const std::string& line) -> std::optional<std::string> {
    if (line.empty()) return "??CMD\r"s;
    if (line == "ver") return "V1\r"s;
    return std::nullopt;
  });
  const Result r = RunCliCaptured(Tcp({"send", "ver", "silent", "never"}));
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "V1\n");
  EXPECT_EQ(r.err, "レコーダからのエコーバックがありません。\n");
}

TEST_F(CliAgainstRecorder, ProbeOfWrongRecorderFails) {
  Serve([](const std::string&) { return std::optional<std::string>("?CMD\r"); });
  const Result r = RunCliCaptured(Tcp({"send", "ver"}));
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "通信条件に問題があります。\n");
  EXPECT_EQ(r.out, "");
}

TEST(CliCommands, NobodyListeningFailsWithinBounds) {
  const auto start = std::chrono::steady_clock::now();
  const Result r =
      RunCliCaptured({"--tcp", "127.0.0.1:" + std::to_string(testing::ClosedLocalPort()),
                      "--timeout", "1", "probe"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "通信条件に問題があります。\n");
  EXPECT_LT(testing::Seconds(std::chrono::steady_clock::now() - start), 5.0);
}

TEST(CliCommands, SerialPortThatCannotOpen) {
  const Result r = RunCliCaptured({"--port", "/dev/tessaro-missing", "probe"});
  EXPECT_EQ(r.status, 1);
  // The message stays the first line; why the port did not open follows.
  EXPECT_EQ(r.err.rfind("通信ポートオープンエラー ErrorCode = -1\n" +
                            FormatMessage(MsgPortMissing, "/dev/tessaro-missing") + "\n",
                        0),
            0u)
      << r.err;
}

TEST(CliCommands, SerialProbeOverPty) {
  testing::PtyPair pty;
  FakeRecorder recorder(pty.master(), testing::EchoRecorder);
  const Result r = RunCliCaptured({"--port", pty.path(), "--baud", "115200", "send", "eepr1"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "eepr1\n");
}

TEST(CliCommands, UsageErrorsExitTwo) {
  for (const auto& args : std::vector<std::vector<std::string>>{{},
                                                                {"frobnicate"},
                                                                {"send"},
                                                                {"probe", "extra"},
                                                                {"--data", "9", "probe"},
                                                                {"collect", "--keep-rlb=maybe"},
                                                                {"convert", "a.RLB", "--form"}}) {
    const Result r = RunCliCaptured(args);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.rfind("tessaro-cli: ", 0), 0u) << r.err;
    EXPECT_NE(r.err.find("usage: tessaro-cli"), std::string::npos);
  }
  const Result rlbAsCsv =
      RunCliCaptured({"--tcp", "127.0.0.1:1", "collect", "--csv", "./a/../x.RLB"});
  EXPECT_EQ(rlbAsCsv.status, 2);
  EXPECT_NE(rlbAsCsv.err.find("names the RLB file of the collection"), std::string::npos)
      << rlbAsCsv.err;
}

// Help and the version go to stdout and succeed, for the program and for
// each command.
TEST(CliCommands, HelpAndVersion) {
  const struct {
    std::vector<std::string> args;
    std::vector<const char*> shown;
  } cases[] = {
      {{"--help"},
       {"send TEXT...", "--tcp HOST:PORT", "convert RLB [--csv PATH] [--form q5|corvex]"}},
      {{"-h", "probe"}, {"usage: tessaro-cli probe\n"}},
      {{"convert", "--help"}, {"usage: tessaro-cli convert RLB [--csv PATH] [--form q5|corvex]"}},
      {{"--tcp", "127.0.0.1:1", "collect", "-h"},
       {"--ring NEW|OLD-nn", "--keep-rlb", "Line options"}},
  };
  for (const auto& c : cases) {
    const Result r = RunCliCaptured(c.args);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    for (const char* text : c.shown) EXPECT_NE(r.out.find(text), std::string::npos) << text;
  }
  const Result version = RunCliCaptured({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_THAT(version.out, ::testing::MatchesRegex("tessaro-cli [0-9]+\\.[0-9]+\\.[0-9]+\n"));
}

}  // namespace
}  // namespace tessaro
