#include "support/CollectRig.h"

#include <sys/stat.h>

#include "core/collect/ConversionStep.h"
#include "core/collect/DataFileAnalysis.h"
#include "core/line/LineFacade.h"
#include "core/support/SilentProgress.h"
#include "sim/RecordGenerator.h"
#include "support/SimFixture.h"
#include "support/TestRlbFile.h"

namespace tessaro {
namespace {

constexpr int kSlaveId = 7;

DateTimeFields FromDigits(const std::string& digits) {
  auto two = [&](size_t at) { return (digits[at] - '0') * 10 + (digits[at + 1] - '0'); };
  return {2000 + two(0), two(2), two(4), two(6), two(8), two(10)};
}

}  // namespace

sim::RecorderProfile SmallProfile() {
  sim::RecorderProfile p = sim::DefaultProfile();
  p.name = "small";
  p.rings.clear();
  sim::RingProfile fresh;
  fresh.channels = {{1, 1001, -1, 1, 2}, {2, 1001, -2, 11, 2}, {3, 1001, 0, 10, 2}};
  fresh.records = 700;
  fresh.start = {2026, 12, 1, 23, 55, 0};  // crosses midnight after 300 records
  fresh.memos = {"NEW RING", "", "SITE 3"};
  sim::RingProfile old;
  old.channels = {{1, 1101, -2, 1, 2}, {1, 1101, 0, 1, 2}, {2, 1101, -1, 10, 2}};
  old.records = 300;
  old.start = {2026, 11, 20, 8, 0, 0};
  old.memos = {"OLD RING"};
  p.rings = {fresh, old};
  return p;
}

CollectRig::CollectRig(const sim::RecorderProfile& profile, Transport transport, bool slaved,
                       int timeoutSeconds) {
  server_ = std::make_unique<sim::SimServer>(
      profile, slaved ? std::vector<int>{3, kSlaveId} : std::vector<int>{});
  if (slaved) slaveId_ = kSlaveId;
  LineSettings settings;
  settings.Over = timeoutSeconds;
  if (transport == Transport::Tcp) {
    settings.ComPort = "TCP/IP";
    settings.IpAddr = "127.0.0.1";
    settings.IpPort = server_->StartTcp();
  } else {
    settings.ComPort = server_->StartPty();
    settings.Baud = 115200;
  }
  SimFixture::UseQuickTiming(line_);
  ApplyLineSettings(line_, settings);
  LineSetSlave(line_, slaved, slaved ? kSlaveId : 0);
  if (slaved)
    LineFlowNone(line_);
  else
    LineFlowRtsCts(line_);
  LineOpen(line_);
  db_.Open(TESSARO_BIN_DIR "/DB/Master.mdb");
  ::mkdir(ProgramFolder().c_str(), 0755);
  install_ = std::make_unique<ScopedMessageBoxHandler>(boxes_);
}

CollectRig::~CollectRig() {
  LineClose(line_);
  server_->Stop();
}

StepResult CollectRig::Collect(int ring, CsvType type, const std::string& csvName, bool keepRlb,
                               bool highSpeed, ProgressReporter* progress) {
  RecordingProgress reading;
  RingInfo info;
  StepResult step = ReadManagementInfo(line_, reading, info);
  if (!step) return step;
  step = PlanCollection(
      info, ring, type, {}, [](const std::string&) { return true; }, plan_);
  if (!step) return step;
  CollectionOptions options{keepRlb, type};
  CollectionRequest request = MakeCollectionRequest(plan_, Path(csvName), options, highSpeed);
  request.programFolder = ProgramFolder();
  RecordingProgress recorded;
  TThredTess thread(line_, request, db_, progress ? *progress : recorded);
  thread.Wait();
  return thread.Result();
}

std::string CollectRig::ExpectedCsv(int ring, CsvType type, int64_t skipCount) {
  sim::Recorder& recorder = Recorder();
  const sim::RecorderProfile& p = recorder.Profile();
  const sim::RingProfile& r = p.rings[static_cast<size_t>(ring)];
  TestRlb rlb;
  rlb.version = p.version;
  rlb.model = p.model;
  rlb.subModel = p.subModel;
  rlb.romVersion = p.romVersion;
  rlb.serial = recorder.Serial();
  rlb.date = p.dateText.value_or("");
  for (int k = 0; k < 8; ++k)
    rlb.memos[static_cast<size_t>(k)] = recorder.FileTupleText(ring, 620 + k).value_or("");
  rlb.start = EncodeDateTime(sim::RecordTime(r, skipCount));
  rlb.stop = EncodeDateTime(FromDigits(*recorder.FileTupleText(ring, 801)));
  rlb.channels.clear();
  for (const sim::ChannelProfile& c : r.channels)
    rlb.channels.push_back({c.mode, c.interval, c.decimals, c.dataType, c.bytes});
  for (int64_t e = skipCount; e < recorder.RecordCount(ring); ++e)
    rlb.records.push_back(recorder.GeneratedRecord(ring, e));
  const std::string name = "expected" + std::to_string(++expected_);
  if (!TestRlbFile(rlb).Write(Path(name + ".RLB"))) return {};
  return ConvertToText(Path(name + ".RLB"), type, *this, Path(name + ".CSV"));
}

testing::AssertionResult CollectRig::Analyse(const std::string& name, DataFileInfo& file) {
  file.rlbPath = Path(name);
  if (AnalyseDataFile(file, db_, ProgramFolder())) return testing::AssertionSuccess();
  return testing::AssertionFailure() << "the analysis of " << name << " failed";
}

bool CollectRig::Sent(const std::string& text) {
  for (const std::string& command : Recorder().Commands())
    if (command.rfind(text, 0) == 0) return true;
  return false;
}

std::string ConvertToText(const std::string& rlbPath, CsvType type, const CollectRig& rig,
                          const std::string& csvPath) {
  SilentProgress progress;
  if (!ConvertRlbFile(rlbPath, csvPath, type, rig.Db(), progress, rig.ProgramFolder())) return {};
  return TempDir::ReadAll(csvPath);
}

testing::AssertionResult SameText(const std::string& actual, const std::string& expected) {
  if (actual == expected) return testing::AssertionSuccess();
  if (expected.empty()) return testing::AssertionFailure() << "no expected text";
  size_t at = 0;
  int line = 1;
  while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) {
    if (actual[at] == '\n') ++line;
    ++at;
  }
  const auto lineOf = [&](const std::string& text) {
    const size_t begin = text.rfind('\n', at == 0 ? 0 : at - 1);
    const size_t from = begin == std::string::npos ? 0 : begin + 1;
    return text.substr(from, text.find('\n', from) - from);
  };
  return testing::AssertionFailure()
         << "texts differ at line " << line << " (sizes " << actual.size() << " / "
         << expected.size() << ")\n  actual:   " << lineOf(actual)
         << "\n  expected: " << lineOf(expected);
}

bool FileExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

}  // namespace tessaro
