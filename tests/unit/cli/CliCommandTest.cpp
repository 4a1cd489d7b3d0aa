#include <gtest/gtest.h>

#include <sstream>

#include "cli/CliMain.h"
#include "unit/line/LinePeers.h"

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
  void TearDown() override {
    if (server.joinable()) server.join();
    recorder.reset();
  }
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
  EXPECT_EQ(r.err, "通信ポートオープンエラー ErrorCode = -1\n");
}

TEST(CliCommands, SerialProbeOverPty) {
  testing::PtyPair pty;
  FakeRecorder recorder(pty.master(), testing::EchoRecorder);
  const Result r = RunCliCaptured({"--port", pty.path(), "--baud", "115200", "send", "eepr1"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "eepr1\n");
}

TEST(CliCommands, UsageErrorsExitTwo) {
  for (const auto& args : std::vector<std::vector<std::string>>{
           {}, {"frobnicate"}, {"send"}, {"probe", "extra"}, {"--data", "9", "probe"}}) {
    const Result r = RunCliCaptured(args);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("usage: tessaro-cli"), std::string::npos);
  }
  const Result help = RunCliCaptured({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("send TEXT..."), std::string::npos);
  EXPECT_NE(help.out.find("--tcp HOST:PORT"), std::string::npos);
}

}  // namespace
}  // namespace tessaro
