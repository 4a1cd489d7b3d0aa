// The collection dialog's decisions without a recorder: form checks,
// overwrite handling, ring names and mask, stored options, and telling a
// repeated block from a new one.

#include <gtest/gtest.h>

#include <filesystem>

#include "core/collect/CollectionPlan.h"
#include "core/collect/ThredTess.h"
#include "core/recorder/BlockSequence.h"
#include "core/recorder/RecorderReply.h"
#include "core/recorder/TransferMode.h"
#include "core/support/Messages.h"
#include "support/TempDir.h"

namespace tessaro {
namespace {

RingEntry Ring(int64_t bytes, std::vector<int> sizes, std::vector<int> modes = {}) {
  RingEntry r;
  r.byteCount = bytes;
  r.dataCount = bytes > 0 ? 10 : 0;
  r.sizes = sizes;
  r.modes = modes.empty() ? std::vector<int>(sizes.size(), 1) : modes;
  return r;
}

RingInfo Example() {
  RingInfo info;
  info.ringCount = 2;
  info.dataAreaSize = 10000;
  info.rings = {Ring(6000, {2, 2, 2}), Ring(5000, {2, 2, 2})};
  return info;
}

TEST(CollectionPlan, OverwrittenOldRingAsksAndSkipsWholeRecords) {
  const RingInfo info = Example();
  std::vector<std::string> asked;
  const auto ask = [&](const std::string& q) {
    asked.push_back(q);
    return true;
  };
  CollectionPlan plan;
  ASSERT_TRUE(PlanCollection(info, 1, CsvType::Q5, {}, ask, plan));
  EXPECT_EQ(asked, std::vector<std::string>{LoadMessage(MsgAskDropOverwritten)});
  EXPECT_EQ(plan.skipBytes, 1002);
  EXPECT_EQ(plan.skipCount, 167);
  EXPECT_EQ(plan.ringMask, 0x40000000u);

  asked.clear();
  ASSERT_TRUE(PlanCollection(info, 0, CsvType::Q5, {}, ask, plan));
  EXPECT_TRUE(asked.empty());
  EXPECT_EQ(plan.skipCount, 0);
  EXPECT_EQ(plan.ringMask, 0x80000000u);

  const StepResult declined = PlanCollection(
      info, 1, CsvType::Q5, {}, [](const std::string&) { return false; }, plan);
  EXPECT_EQ(declined.message, LoadMessage(MsgCollectionAbandoned));
}

TEST(CollectionPlan, TwiceTheDataAreaRefuses) {
  RingInfo info = Example();
  info.rings[1].byteCount = 14000;  // 20000 in all
  CollectionPlan plan;
  bool asked = false;
  const StepResult r = PlanCollection(
      info, 1, CsvType::Corvex, {},
      [&](const std::string&) {
        asked = true;
        return true;
      },
      plan);
  EXPECT_EQ(r.message, LoadMessage(MsgAllOverwritten));
  EXPECT_FALSE(asked);
  info.rings[1].byteCount = 13999;
  EXPECT_EQ(CheckOverwrite(info, 1).outcome, OverwriteCheck::Outcome::Ask);
  info.rings[1].byteCount = 4000;  // exactly the area: nothing lost
  EXPECT_EQ(CheckOverwrite(info, 1).outcome, OverwriteCheck::Outcome::None);
}

// A ring lying wholly under newer data (here a 600-byte OLD ring behind a
// NEW ring that filled the area) has nothing left to collect.
TEST(CollectionPlan, RingWhollyOverwrittenRefuses) {
  RingInfo info = Example();
  info.rings[0].byteCount = 9800;
  info.rings[1].byteCount = 600;  // 400 bytes over: 67 of 100 records lost
  EXPECT_EQ(CheckOverwrite(info, 1).outcome, OverwriteCheck::Outcome::Ask);
  info.rings[0].byteCount = 10000;  // 600 over: every record lost
  EXPECT_EQ(CheckOverwrite(info, 1).outcome, OverwriteCheck::Outcome::Refused);
  CollectionPlan plan;
  const StepResult r = PlanCollection(
      info, 1, CsvType::Corvex, {}, [](const std::string&) { return true; }, plan);
  EXPECT_EQ(r.message, LoadMessage(MsgAllOverwritten));
}

TEST(CollectionPlan, Q5FormRefusesTimeAndWindModes) {
  RingInfo info = Example();
  CollectionPlan plan;
  const auto yes = [](const std::string&) { return true; };
  info.rings[0].modes = {1, 603, 1};
  EXPECT_EQ(PlanCollection(info, 0, CsvType::Q5, {}, yes, plan).message,
            "Most of WinDIR(50-60min/Hour Mode)モードはサポートしていません。");
  EXPECT_TRUE(PlanCollection(info, 0, CsvType::Corvex, {}, yes, plan));
  EXPECT_EQ(*Q5UnsupportedModeText(138), "PULSE.TIMEモードはサポートしていません。");
  EXPECT_EQ(*Q5UnsupportedModeText(607),
            "Average of WinSPD(Integral Mode)モードはサポートしていません。");
  EXPECT_FALSE(Q5UnsupportedModeText(599));
  EXPECT_FALSE(Q5UnsupportedModeText(608));
}

TEST(CollectionPlan, EmptyOrUnlistedRingIsNotSelected) {
  RingInfo info = Example();
  info.rings[1].dataCount = 0;
  CollectionPlan plan;
  const auto yes = [](const std::string&) { return true; };
  for (int ring : {1, 2, -1})
    EXPECT_EQ(PlanCollection(info, ring, CsvType::Q5, {}, yes, plan).message,
              LoadMessage(MsgNoRingSelected));
}

TEST(CollectionPlan, ProposesFileNamesInTheDataFolder) {
  TempDir dir;
  RingInfo info = Example();
  CollectionPlan plan;
  ASSERT_TRUE(PlanCollection(info, 0, CsvType::Q5, dir.Path(), nullptr, plan));
  ASSERT_FALSE(plan.names.csvPath.empty());
  EXPECT_EQ(plan.names.csvPath.substr(plan.names.csvPath.size() - 6), "00.CSV");
  EXPECT_EQ(PlanCollection(info, 0, CsvType::Q5, "/nonexistent/folder", nullptr, plan).ok,
            MakeDataFileNames("/nonexistent/folder").has_value());
}

TEST(CollectionPlan, RequestFromThePlan) {
  EXPECT_EQ(RlbPathFor("/d/data.csv"), "/d/data.RLB");
  EXPECT_EQ(RlbPathFor("/d.x/data"), "/d.x/data.RLB");
  CollectionPlan plan;
  plan.ringMask = 0x20000000u;
  plan.skipCount = 5;
  plan.skipBytes = 30;
  const CollectionRequest r =
      MakeCollectionRequest(plan, "/d/out.CSV", {false, CsvType::Corvex}, true);
  EXPECT_EQ(r.rlbPath, "/d/out.RLB");
  EXPECT_EQ(r.ringMask, 0x20000000u);
  EXPECT_FALSE(r.saveDataFile);
  EXPECT_EQ(r.csvType, CsvType::Corvex);
  EXPECT_EQ(r.skipBytes, 30);
  EXPECT_TRUE(r.highSpeedMode);
}

TEST(CollectionPlan, OptionsLiveInTheSettingsFile) {
  TempDir dir;
  const std::string file = dir.Join("TESSARO.INI");
  const CollectionOptions defaults = LoadCollectionOptions(file);
  EXPECT_TRUE(defaults.saveRlb);
  EXPECT_EQ(defaults.csvType, CsvType::Q5);
  dir.WriteFile("TESSARO.INI", "[Path]\r\nData=/x\r\n");
  ASSERT_TRUE(SaveCollectionOptions(file, {false, CsvType::Corvex}));
  const CollectionOptions read = LoadCollectionOptions(file);
  EXPECT_FALSE(read.saveRlb);
  EXPECT_EQ(read.csvType, CsvType::Corvex);
  EXPECT_NE(dir.ReadFile("TESSARO.INI").find("Data=/x"), std::string::npos);
  // A settings "file" that is a folder can be neither read nor written.
  const std::string folder = dir.Join("FOLDER.INI");
  std::filesystem::create_directory(folder);
  EXPECT_FALSE(ReadCollectionOptions(folder).has_value());
  EXPECT_FALSE(SaveCollectionOptions(folder, {}));
}

TEST(RingNames, ListAndParse) {
  EXPECT_EQ(RingName(0), "NEW");
  EXPECT_EQ(RingName(3), "OLD-03");
  EXPECT_EQ(ParseRingName("NEW"), 0);
  EXPECT_EQ(ParseRingName("OLD-03"), 3);
  EXPECT_EQ(ParseRingName("old-3"), 3);
  EXPECT_FALSE(ParseRingName("OLD-"));
  EXPECT_FALSE(ParseRingName("OLD-00"));
  EXPECT_FALSE(ParseRingName("OLD-x1"));
  EXPECT_FALSE(ParseRingName("NEWER"));
}

TEST(RecorderReply, LeadingIntegers) {
  EXPECT_EQ(ReplyInteger("1234"), 1234);
  EXPECT_EQ(ReplyInteger(" -12abc"), -12);
  EXPECT_EQ(ReplyInteger("??"), 0);
  EXPECT_EQ(ReplyInteger("99999999999999999999999"), INT64_MAX);
  EXPECT_TRUE(IsRefusal("??CODE"));
  EXPECT_FALSE(IsRefusal("?1"));
}

TEST(TransferModes, FromTheCapabilityWord) {
  EXPECT_EQ(ChooseTransferMode(4, false), TransferMode::Xdm1k);
  EXPECT_EQ(ChooseTransferMode(5, true), TransferMode::Xdm1k);
  EXPECT_EQ(ChooseTransferMode(3, true), TransferMode::Mnp);
  EXPECT_EQ(ChooseTransferMode(std::nullopt, false), TransferMode::Xdm);
  EXPECT_EQ(ChooseTransferMode(std::nullopt, true), TransferMode::Mnp);
}

using Verdict = BlockSequence::Verdict;

Verdict Feed(BlockSequence& s, int number, uint8_t fill) {
  const std::vector<uint8_t> data(128, fill);
  return s.Classify(static_cast<uint8_t>(number), data.data(), data.size());
}

TEST(BlockSequence, CountingRecorderRepeatsAndSkips) {
  BlockSequence s;
  EXPECT_EQ(Feed(s, 1, 0xA1), Verdict::New);
  EXPECT_EQ(Feed(s, 1, 0xA1), Verdict::Repeat);  // before counting is confirmed: same data
  EXPECT_EQ(Feed(s, 2, 0xA2), Verdict::New);
  EXPECT_EQ(Feed(s, 2, 0xA2), Verdict::Repeat);
  EXPECT_EQ(Feed(s, 4, 0xA4), Verdict::Bad);  // 3 went missing
  EXPECT_EQ(Feed(s, 3, 0xA3), Verdict::New);
  for (int n = 4; n <= 257; ++n) EXPECT_EQ(Feed(s, n & 0xFF, 0), Verdict::New) << n;
  EXPECT_EQ(Feed(s, 1, 0), Verdict::Repeat);  // wrapped: 257 is 1
}

TEST(BlockSequence, OtherNumberingsAreTakenAsTheyCome) {
  BlockSequence fixed;
  EXPECT_EQ(Feed(fixed, 0, 1), Verdict::New);
  EXPECT_EQ(Feed(fixed, 0, 2), Verdict::New);  // same number, other data: not counting
  EXPECT_EQ(Feed(fixed, 0, 2), Verdict::New);
  BlockSequence late;
  EXPECT_EQ(Feed(late, 7, 1), Verdict::New);
  EXPECT_EQ(Feed(late, 7, 1), Verdict::New);
  EXPECT_EQ(Feed(late, 9, 1), Verdict::New);
  BlockSequence jumping;
  EXPECT_EQ(Feed(jumping, 1, 1), Verdict::New);
  EXPECT_EQ(Feed(jumping, 5, 1), Verdict::New);
  EXPECT_EQ(Feed(jumping, 5, 1), Verdict::New);
}

}  // namespace
}  // namespace tessaro
