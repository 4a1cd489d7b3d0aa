// Unattended collection against the simulator: retries, one growing file,
// several slaves, the line lock and the summary lines.

#include <gtest/gtest.h>
#include <unistd.h>

#include <sstream>

#include "cli/CliMain.h"
#include "core/line/LineContext.h"
#include "core/line/LineFacade.h"
#include "support/CollectRig.h"
#include "support/SimFixture.h"
#include "support/TempDir.h"

namespace tessaro {
namespace {

struct CliRun {
  int status;
  std::string out;
  std::string err;
};

CliRun Cli(int port, std::vector<std::string> args) {
  std::vector<std::string> line = {"--tcp", "127.0.0.1:" + std::to_string(port), "--timeout", "1"};
  line.insert(line.end(), args.begin(), args.end());
  std::ostringstream out, err;
  const int status = RunCli(line, LineSettings{}, out, err);
  return {status, out.str(), err.str()};
}

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

sim::RecorderProfile GrowingProfile() {
  sim::RecorderProfile profile = SmallProfile();
  profile.rings[0].records = 100;
  return profile;
}

TEST(UnattendedCollect, AppendRunsThroughFailuresBuildTheFullCollection) {
  SimFixture sim(GrowingProfile());
  const int port = sim.StartTcp();
  TempDir dir;
  const std::string file = dir.Join("site.csv"), summary = dir.Join("runs.json");
  const std::vector<std::string> append = {"collect", "--append",     file, "--retries",
                                           "2",       "--retry-wait", "0",  "--summary-json",
                                           summary};
  struct Run {
    const char* name;
    sim::FaultSettings faults;
    int tries;
  };
  const std::vector<Run> runs = {
      {"first run makes the file", {.growRecords = 37}, 1},
      {"cut mid-transfer", {.stopAfterBlock = 1, .faultyConnections = 1, .growRecords = 37}, 2},
      {"silent recorder", {.silentAfter = 0, .faultyConnections = 2, .growRecords = 37}, 3},
      {"plain run", {.growRecords = 37}, 1},
  };
  for (const Run& run : runs) {
    SCOPED_TRACE(run.name);
    sim.Faults().Set(run.faults);
    const CliRun result = Cli(port, append);
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, file + "\n");
    EXPECT_TRUE(Has(result.err, "try " + std::to_string(run.tries) + " of 3: ok")) << result.err;
  }
  // Growth: 37 at each connection after the first since the faults were set.
  sim.Faults().Clear();
  const CliRun full = Cli(port, {"collect", "--csv", dir.Join("full.csv"), "--form", "corvex"});
  ASSERT_EQ(full.status, 0) << full.err;
  EXPECT_EQ(sim.Recorder().RecordCount(0), 100 + 3 * 37);
  EXPECT_TRUE(SameText(TempDir::ReadAll(file), TempDir::ReadAll(dir.Join("full.csv"))));

  const std::vector<std::string> lines = Lines(TempDir::ReadAll(summary));
  ASSERT_EQ(lines.size(), runs.size());
  EXPECT_TRUE(Has(lines[0], "\"records_appended\":100,"));
  EXPECT_TRUE(Has(lines[1], "\"tries\":2,\"outcome\":\"ok\"")) << lines[1];
  for (const char* field :
       {"\"serial\":\"", "\"ring\":\"NEW\"", "\"slave\":null",
        "\"records_collected\":", "\"first_record\":\"", "\"last_record\":\"", "\"duration_s\":"})
    EXPECT_TRUE(Has(lines[2], field)) << field << " in " << lines[2];
  EXPECT_TRUE(Has(lines[3], "\"records_appended\":0,\"first_record\":null"));

  // No connection at all: tried, reported, the file as it was.
  const std::string before = TempDir::ReadAll(file);
  sim.Stop();
  const CliRun refused = Cli(port, append);
  EXPECT_EQ(refused.status, 1);
  EXPECT_TRUE(Has(refused.err, "try 3 of 3: failed on the line")) << refused.err;
  EXPECT_EQ(TempDir::ReadAll(file), before);
  EXPECT_TRUE(Has(Lines(TempDir::ReadAll(summary)).back(), "\"outcome\":\"failed\""));
}

TEST(UnattendedCollect, RefusalsAndBadArgumentsAreNotRetried) {
  SimFixture sim(GrowingProfile());
  const int port = sim.StartTcp();
  TempDir dir;
  const std::string file = dir.WriteFile("keep.csv", "NO,DATE-TIME,other\r\n");
  struct Case {
    const char* name;
    sim::FaultSettings faults;
    std::vector<std::string> args;
    int status;
    std::string says;
  };
  const std::vector<Case> cases = {
      {"recorder refuses",
       {.refused = {"eepr"}},
       {"--append", dir.Join("a.csv")},
       1,
       "try 1 of 3: failed (not retried)"},
      {"heading of other channels", {}, {"--append", file}, 1, "does not match the channels"},
      {"Q5 form", {}, {"--append", file, "--form", "q5"}, 2, "the Q5 form cannot be appended"},
      {"pattern without slaves", {}, {"--csv", dir.Join("s-{slave}.csv")}, 2, "--slave list"},
      {"repeated slave",
       {},
       {"--slave", "1,2,1", "--csv", dir.Join("{slave}.csv")},
       2,
       "listed twice"},
      {"slave out of range",
       {},
       {"--slave", "1,70000", "--csv", dir.Join("{slave}.csv")},
       2,
       "not a number in 0..65535"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    sim.Faults().Set(c.faults);
    std::vector<std::string> args = {"collect", "--retries", "2", "--retry-wait", "0"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const CliRun run = Cli(port, args);
    EXPECT_EQ(run.status, c.status);
    EXPECT_TRUE(Has(run.err, c.says)) << run.err;
    EXPECT_FALSE(Has(run.err, "try 2 of 3"));
    EXPECT_EQ(TempDir::ReadAll(file), "NO,DATE-TIME,other\r\n");
    EXPECT_FALSE(FileExists(dir.Join("a.csv")));
  }
}

TEST(UnattendedCollect, SlavesInTurnOneNotAnswering) {
  SimFixture sim(GrowingProfile(), {1, 5});
  const int port = sim.StartTcp();
  TempDir dir;
  const CliRun run =
      Cli(port, {"collect", "--slave", "1,2,5", "--form", "corvex", "--csv",
                 dir.Join("site-{slave}.csv"), "--summary-json", dir.Join("s.json")});
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(FileExists(dir.Join("site-1.csv")));
  EXPECT_FALSE(FileExists(dir.Join("site-2.csv")));
  EXPECT_TRUE(FileExists(dir.Join("site-5.csv")));
  EXPECT_EQ(Lines(run.err).back(), "tessaro-cli: 1 of 3 slaves failed: 2");
  const std::vector<std::string> summary = Lines(TempDir::ReadAll(dir.Join("s.json")));
  ASSERT_EQ(summary.size(), 3u);
  EXPECT_TRUE(Has(summary[1], "\"slave\":2,") && Has(summary[1], "\"outcome\":\"failed\""));
  EXPECT_TRUE(Has(summary[2], "\"slave\":5,") && Has(summary[2], "\"outcome\":\"ok\""));
  // Each file is its own recorder's.
  EXPECT_TRUE(Has(summary[0], "\"serial\":\"" + sim.Recorder(1).Serial() + "\""));
  EXPECT_TRUE(Has(summary[2], "\"serial\":\"" + sim.Recorder(5).Serial() + "\""));
}

TEST(UnattendedCollect, HeldLineExitsThreeNamingTheHolder) {
  SimFixture sim(GrowingProfile());
  const int port = sim.StartTcp();
  LineContext holder;
  LineSettings settings;
  settings.ComPort = "TCP/IP";
  settings.IpAddr = "127.0.0.1";
  settings.IpPort = port;
  ApplyLineSettings(holder, settings);
  LineOpen(holder);
  TempDir dir;
  const CliRun run = Cli(port, {"--wait-line", "0", "collect", "--csv", dir.Join("b.csv")});
  EXPECT_EQ(run.status, 3);
  EXPECT_TRUE(Has(run.err, "(PID " + std::to_string(::getpid()) + ")")) << run.err;
  EXPECT_FALSE(FileExists(dir.Join("b.csv")));
  LineClose(holder);
  EXPECT_EQ(Cli(port, {"collect", "--csv", dir.Join("b.csv")}).status, 0);
}

}  // namespace
}  // namespace tessaro
