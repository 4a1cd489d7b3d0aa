// Collections from the simulated recorder over real lines: every transfer
// mode on TCP and on a pseudo-terminal, slaved and not, both CSV forms, the
// kept RLB file, and the faults a recorder line has.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>

#include "core/collect/CollectionBusy.h"
#include "core/line/LineFacade.h"
#include "core/support/Messages.h"
#include "sim/ProfileLoader.h"
#include "support/CollectRig.h"

namespace tessaro {
namespace {

using sim::RecorderProfile;

struct Variant {
  Transport transport;
  bool slaved;
  std::optional<int> capability;  // ROM 120
  bool highSpeed;
  const char* prefix;  // the transfer commands expected
};

std::string Name(const testing::TestParamInfo<Variant>& info) {
  const Variant& v = info.param;
  return std::string(v.transport == Transport::Tcp ? "Tcp" : "Pty") +
         (v.slaved ? "Slaved" : "Direct") + "_" + v.prefix;
}

class CollectModes : public testing::TestWithParam<Variant> {};

// NEW in the Q5 form with the RLB kept, OLD-01 in the Corvex form: both
// equal what the recorder's records give, and the kept RLB converts to the
// same file in either form.
TEST_P(CollectModes, RingsGiveExactCsvInBothForms) {
  const Variant& v = GetParam();
  RecorderProfile profile = SmallProfile();
  profile.capability = v.capability;
  CollectRig rig(profile, v.transport, v.slaved);

  ASSERT_TRUE(rig.Collect(0, CsvType::Q5, "new.csv", true, v.highSpeed));
  const std::string collected = TempDir::ReadAll(rig.Path("new.csv"));
  EXPECT_TRUE(SameText(collected, rig.ExpectedCsv(0, CsvType::Q5)));
  ASSERT_TRUE(FileExists(rig.Path("new.RLB")));
  EXPECT_TRUE(SameText(ConvertToText(rig.Path("new.RLB"), CsvType::Q5, rig, rig.Path("again.csv")),
                       collected));
  EXPECT_TRUE(
      SameText(ConvertToText(rig.Path("new.RLB"), CsvType::Corvex, rig, rig.Path("corvex.csv")),
               rig.ExpectedCsv(0, CsvType::Corvex)));

  ASSERT_TRUE(rig.Collect(1, CsvType::Corvex, "old.csv", false, v.highSpeed));
  EXPECT_TRUE(SameText(TempDir::ReadAll(rig.Path("old.csv")), rig.ExpectedCsv(1, CsvType::Corvex)));
  EXPECT_FALSE(FileExists(rig.Path("old.RLB")));  // not to be kept

  const std::string prefix = v.prefix;
  for (const char* area : {"rr", "ee", "bb", "dd1", "dd2"}) EXPECT_TRUE(rig.Sent(prefix + area));
  EXPECT_FALSE(CollectionBusy);
}

INSTANTIATE_TEST_SUITE_P(Lines, CollectModes,
                         testing::Values(Variant{Transport::Tcp, false, 4, false, "xdm1k"},
                                         Variant{Transport::Tcp, false, std::nullopt, true, "mnp"},
                                         Variant{Transport::Tcp, false, std::nullopt, false, "xdm"},
                                         Variant{Transport::Tcp, true, 4, false, "xdm1k"},
                                         Variant{Transport::Tcp, true, 0, true, "mnp"},
                                         Variant{Transport::Tcp, true, 0, false, "xdm"},
                                         Variant{Transport::Pty, false, 4, false, "xdm1k"},
                                         Variant{Transport::Pty, false, std::nullopt, true, "mnp"},
                                         Variant{Transport::Pty, false, std::nullopt, false, "xdm"},
                                         Variant{Transport::Pty, true, 4, true, "xdm1k"}),
                         Name);

class CollectFaults : public testing::Test {
 protected:
  RecorderProfile Profile(std::optional<int> capability = 4) {
    RecorderProfile p = SmallProfile();
    p.capability = capability;
    return p;
  }
  // Nothing of a failed collection is left behind.
  void ExpectNoFiles(CollectRig& rig, const std::string& name) {
    EXPECT_FALSE(FileExists(rig.Path(name + ".csv")));
    EXPECT_FALSE(FileExists(rig.Path(name + ".RLB")));
  }
  // The recorder took the CAN and listens again.
  void ExpectLineUsable(CollectRig& rig) {
    rig.Faults().Clear();
    LinePurge(rig.Line());
    EXPECT_TRUE(LineCheck(rig.Line()));
  }
};

// A lost ACK makes the recorder send the block again; storing it twice
// would shift the rest of the ring.
TEST_F(CollectFaults, RepeatedBlocksAreStoredOnce) {
  for (std::optional<int> capability : {std::optional<int>(4), std::optional<int>()}) {
    for (int block : {1, 2}) {
      CollectRig rig(Profile(capability), Transport::Tcp, false);
      rig.Faults().Set({.repeatBlock = block, .transferFilter = "dd"});
      ASSERT_TRUE(rig.Collect(0, CsvType::Corvex, "r.csv", false)) << block;
      EXPECT_TRUE(
          SameText(TempDir::ReadAll(rig.Path("r.csv")), rig.ExpectedCsv(0, CsvType::Corvex)))
          << block;
    }
  }
}

TEST_F(CollectFaults, ThreeBadBlocksInARowAreSurvived) {
  CollectRig rig(Profile(), Transport::Tcp, false);
  rig.Faults().Set({.corruptBlock = 2, .corruptTimes = 3, .transferFilter = "dd"});
  ASSERT_TRUE(rig.Collect(0, CsvType::Q5, "b.csv", false));
  EXPECT_TRUE(SameText(TempDir::ReadAll(rig.Path("b.csv")), rig.ExpectedCsv(0, CsvType::Q5)));

  rig.Faults().Set({.dropBlock = 3, .transferFilter = "bb"});  // a timeout, then the resend
  ASSERT_TRUE(rig.Collect(0, CsvType::Q5, "c.csv", false));
  EXPECT_TRUE(SameText(TempDir::ReadAll(rig.Path("c.csv")), TempDir::ReadAll(rig.Path("b.csv"))));
}

TEST_F(CollectFaults, FourthBadBlockCancelsAndLeavesNothing) {
  CollectRig rig(Profile(), Transport::Tcp, false);
  rig.Faults().Set({.corruptBlock = 2, .corruptTimes = 4, .transferFilter = "dd"});
  RecordingProgress progress;
  const StepResult result = rig.Collect(0, CsvType::Q5, "f.csv", true, false, &progress);
  EXPECT_FALSE(result);
  EXPECT_EQ(result.message, LoadMessage(MsgDataTransferFailed));
  EXPECT_EQ(progress.Errors(), std::vector<std::string>{LoadMessage(MsgDataTransferFailed)});
  ExpectNoFiles(rig, "f");
  ExpectLineUsable(rig);
}

TEST_F(CollectFaults, OneBadBlockEndsAnMnpTransfer) {
  CollectRig rig(Profile(std::nullopt), Transport::Tcp, false);
  rig.Faults().Set({.corruptBlock = 3, .transferFilter = "dd"});
  const StepResult result = rig.Collect(0, CsvType::Q5, "m.csv", true, true);
  EXPECT_EQ(result.message, LoadMessage(MsgDataTransferFailed));
  ExpectNoFiles(rig, "m");
  ExpectLineUsable(rig);

  rig.Faults().Set({.corruptBlock = 1, .transferFilter = "ee"});
  EXPECT_EQ(rig.Collect(0, CsvType::Q5, "e.csv", true, true).message,
            LoadMessage(MsgEepAreaFailed));
  ExpectNoFiles(rig, "e");
}

TEST_F(CollectFaults, SilentRecorderEndsWithinTheTimeouts) {
  CollectRig rig(Profile(), Transport::Tcp, false, 1);
  rig.Faults().Set({.stopAfterBlock = 2, .transferFilter = "dd"});
  const auto start = std::chrono::steady_clock::now();
  const StepResult result = rig.Collect(0, CsvType::Q5, "s.csv", true);
  const auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(result.message, LoadMessage(MsgDataTransferFailed));
  EXPECT_GE(elapsed, std::chrono::milliseconds(3500));  // four waits of one second
  EXPECT_LT(elapsed, std::chrono::seconds(15));
  ExpectNoFiles(rig, "s");
}

// EOT before an area is whole fails that area's transfer, in 128-byte
// blocks so that every area spans several.
TEST_F(CollectFaults, AreaEndedEarlyFailsItsTransfer) {
  const struct {
    const char* filter;
    sim::SimArea area;
    int message;
  } areas[] = {
      {"rr", sim::SimArea::Rom, MsgRomAreaFailed},
      {"ee", sim::SimArea::Eep, MsgEepAreaFailed},
      {"bb", sim::SimArea::Batt, MsgBattAreaFailed},
  };
  CollectRig rig(Profile(std::nullopt), Transport::Tcp, false);
  for (const auto& a : areas) {
    const int blocks = static_cast<int>((rig.Recorder().AreaImage(a.area).size() + 127) / 128);
    for (int k : {0, blocks - 1}) {
      rig.Faults().Set({.eotAfterBlocks = k, .transferFilter = a.filter});
      const std::string name = std::string(a.filter) + std::to_string(k);
      EXPECT_EQ(rig.Collect(0, CsvType::Q5, name + ".csv", true).message, LoadMessage(a.message))
          << name;
      ExpectNoFiles(rig, name);
    }
  }
}

// Cancels once the ring's transfer is under way.
class RingCancel : public RecordingProgress {
 public:
  void SetMessage(const std::string& message) override {
    RecordingProgress::SetMessage(message);
    if (message == LoadMessage(MsgNewRingReading)) inRing_ = true;
  }
  void SetPercent(int percent) override {
    RecordingProgress::SetPercent(percent);
    if (inRing_ && percent >= 30) cancel_ = true;
  }
  bool CancelRequested() const override { return cancel_; }

 private:
  std::atomic<bool> inRing_{false};
  std::atomic<bool> cancel_{false};
};

TEST_F(CollectFaults, CancelEndsCleanly) {
  CollectRig rig(Profile(std::nullopt), Transport::Tcp, false);
  RingCancel progress;
  const StepResult result = rig.Collect(0, CsvType::Q5, "x.csv", true, false, &progress);
  EXPECT_EQ(result.message, LoadMessage(MsgCancelPressed));
  ExpectNoFiles(rig, "x");
  ExpectLineUsable(rig);
}

TEST_F(CollectFaults, RefusedCapabilityAndRingCount) {
  RecorderProfile profile = SmallProfile();
  profile.capability.reset();
  profile.ringCountTuple = false;
  CollectRig rig(profile, Transport::Tcp, false);
  RecordingProgress progress;
  RingInfo info;
  ASSERT_TRUE(ReadManagementInfo(rig.Line(), progress, info));
  EXPECT_EQ(info.ringCount, 1);
  ASSERT_EQ(info.rings.size(), 1u);
  ASSERT_TRUE(rig.Collect(0, CsvType::Corvex, "q.csv", true));
  EXPECT_TRUE(rig.Sent("xdmrr"));  // 128-byte blocks with ACK/NAK
  EXPECT_FALSE(rig.Sent("xdm1k"));
  EXPECT_TRUE(SameText(TempDir::ReadAll(rig.Path("q.csv")), rig.ExpectedCsv(0, CsvType::Corvex)));
  // One ring table entry, for the one ring the file holds.
  DataFileInfo file;
  ASSERT_TRUE(rig.Analyse("q.RLB", file));
  EXPECT_EQ(file.ringCount, 1);
}

TEST_F(CollectFaults, OldRingIsStoredAsRingZero) {
  RecorderProfile profile = SmallProfile();
  profile.rings.push_back(profile.rings[1]);
  profile.rings.push_back(profile.rings[0]);
  profile.rings[3].records = 120;
  CollectRig rig(profile, Transport::Tcp, false);
  ASSERT_TRUE(rig.Collect(3, CsvType::Q5, "o3.csv", true));
  EXPECT_TRUE(rig.Sent("xdm1kdd4"));
  EXPECT_FALSE(rig.Sent("xdm1kdd1"));
  EXPECT_TRUE(SameText(TempDir::ReadAll(rig.Path("o3.csv")), rig.ExpectedCsv(3, CsvType::Q5)));
  DataFileInfo file;
  ASSERT_TRUE(rig.Analyse("o3.RLB", file));
  EXPECT_EQ(file.ringCount, 1);
  EXPECT_EQ(file.ringIndex, 0);
  EXPECT_EQ(file.recordCount, 120);
  // Ring 0 of the file is the recorder's ring 3: its group holds ring 3's memos.
  EXPECT_EQ(file.memos[0], *rig.Recorder().FileTupleText(3, 620));
}

// Byte counts 6000 (NEW) and 4998 (OLD-01) in a 10000-byte data area with
// 6-byte records: 998 bytes of OLD-01 are gone, 167 whole records.
TEST_F(CollectFaults, OverwrittenRecordsAreSkipped) {
  RecorderProfile profile = SmallProfile();
  profile.dataAreaSize = 10000;
  profile.dataStart = 0;
  profile.rings[0].records = 1000;
  profile.rings[1].records = 833;
  CollectRig rig(profile, Transport::Tcp, false);
  ASSERT_TRUE(rig.Collect(1, CsvType::Q5, "ow.csv", true));
  EXPECT_EQ(rig.LastPlan().skipBytes, 1002);
  EXPECT_EQ(rig.LastPlan().skipCount, 167);
  const std::string csv = TempDir::ReadAll(rig.Path("ow.csv"));
  EXPECT_TRUE(SameText(csv, rig.ExpectedCsv(1, CsvType::Q5, 167)));
  // Records of one minute: the first left is 167 minutes after the start.
  EXPECT_NE(csv.find("START-TIME,800,\"26/11/20 10:47:00\""), std::string::npos);
  EXPECT_NE(csv.find("SAMPLES,802,666"), std::string::npos);

  ASSERT_TRUE(rig.Collect(0, CsvType::Q5, "nw.csv", false));
  EXPECT_EQ(rig.LastPlan().skipCount, 0);
}

// The ring came in but the CSV file cannot be made: the RLB file stays only
// when it was to be kept.
TEST_F(CollectFaults, CsvFailureAfterTheTransfer) {
  CollectRig rig(Profile(), Transport::Tcp, false);
  for (bool keep : {false, true}) {
    CollectionRequest request;
    request.rlbPath = rig.Path("late.RLB");
    request.csvPath = rig.Path("missing/late.csv");
    request.saveDataFile = keep;
    request.programFolder = rig.ProgramFolder();
    RecordingProgress progress;
    const StepResult result = TThredTess::Run(rig.Line(), request, rig.Db(), progress);
    EXPECT_EQ(result.message, LoadMessage(MsgCsvCreateFailed));
    EXPECT_EQ(FileExists(request.rlbPath), keep);
  }
}

// The disk refuses to grow the RLB file in the middle of the ring data (a
// file size limit in a child process): CAN, the transfer failure, no file.
TEST_F(CollectFaults, DiskWriteFailureMidRing) {
  CollectRig rig(Profile(), Transport::Tcp, false);
  ASSERT_TRUE(rig.Collect(0, CsvType::Q5, "probe.csv", true));
  DataFileInfo file;
  ASSERT_TRUE(rig.Analyse("probe.RLB", file));
  const rlim_t limit = static_cast<rlim_t>(file.dataAreaStart + 2048 + 512);
  file.work.Remove();

  const std::string rlb = rig.Path("full.RLB");
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_IGN);  // a write beyond the limit fails with EFBIG instead
    rlimit rl{limit, limit};
    ::setrlimit(RLIMIT_FSIZE, &rl);
    CollectionRequest request;
    request.rlbPath = rlb;
    request.csvPath = rig.Path("full.csv");
    request.saveDataFile = true;
    request.programFolder = rig.ProgramFolder();
    RecordingProgress progress;
    const StepResult result = TThredTess::Run(rig.Line(), request, rig.Db(), progress);
    const bool ok = result.message == LoadMessage(MsgDataTransferFailed) && !FileExists(rlb) &&
                    !FileExists(request.csvPath);
    ::_exit(ok ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_FALSE(FileExists(rlb));
  ExpectLineUsable(rig);
}

}  // namespace
}  // namespace tessaro

namespace tessaro {
namespace {

// Every shipped recorder: the NEW ring and the highest selectable OLD ring
// holding data
// collect to the CSV the recorder's own records give (overwritten records
// dropped). A wide BATT area (many
// rings) must not put the ring data in the wrong place.
TEST(ShippedProfiles, NewAndLastOldRingCollectExactly) {
  for (const auto& [name, description] : sim::ListProfiles()) {
    SCOPED_TRACE(name);
    std::string error;
    const auto profile = sim::LoadProfile(name, error);
    ASSERT_TRUE(profile) << error;
    CollectRig rig(*profile, Transport::Tcp, false);
    int lastOld = std::min<int>(static_cast<int>(profile->rings.size()), 32) - 1;
    while (lastOld > 0 && profile->rings[static_cast<size_t>(lastOld)].records < 1) --lastOld;
    for (int ring : {0, lastOld}) {
      SCOPED_TRACE(ring);
      const std::string csv = "ring" + std::to_string(ring) + ".csv";
      const StepResult result = rig.Collect(ring, CsvType::Corvex, csv, false);
      if (name == "overwritten" && ring > 0) {  // lies wholly under the NEW ring's data
        EXPECT_EQ(result.message, LoadMessage(MsgAllOverwritten));
        continue;
      }
      ASSERT_TRUE(result.ok) << result.message;
      EXPECT_TRUE(SameText(TempDir::ReadAll(rig.Path(csv)),
                           rig.ExpectedCsv(ring, CsvType::Corvex, rig.LastPlan().skipCount)));
    }
  }
}

}  // namespace
}  // namespace tessaro
