// The recorder session's verbs against the simulator over TCP: command
// texts, replies, refusals, echo-back of writes, area transfers into
// memory, and failures carrying the step's message.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "core/line/LineContext.h"
#include "core/line/LineFacade.h"
#include "core/recorder/RecorderSession.h"
#include "core/recorder/TupleNumbers.h"
#include "support/RecordingProgress.h"
#include "support/SimFixture.h"
#include "support/SimLine.h"

namespace tessaro {
namespace {

using namespace tuples;

TEST(AreaCommands, SpellTheRecorderVocabulary) {
  const struct {
    Area area;
    int number;
    const char* read;
    const char* write;  // with the value "7"; nullptr: not writable
  } cases[] = {
      {Area::Rom, kRomRingCount, "romr108", nullptr},
      {Area::Eep, kChannelCount, "eepr202", "eepw202,7"},
      {Area::Batt, kMemo + 3, "battr623", "battw623,7"},
      {Area::File(4), kByteCount, "filer4,806", "filew4,806,7"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.area.ReadCommand(c.number), c.read);
    if (c.write)
      EXPECT_EQ(c.area.WriteCommand(c.number, "7"), c.write);
    else
      EXPECT_THROW(c.area.WriteCommand(c.number, "7"), std::logic_error);
  }
}

class SessionAgainstSim : public ::testing::Test {
 protected:
  void SetUp() override { OpenSimLine(sim, line); }
  void TearDown() override { LineClose(line); }

  // The message number of the failure the step throws, or 0.
  template <typename Step>
  int FailureOf(Step step) {
    try {
      step();
    } catch (const RecorderFailure& failure) {
      return failure.message;
    }
    return 0;
  }

  SimFixture sim;
  LineContext line;
  RecordingProgress progress;
  RecorderSession session{line, progress};
};

TEST_F(SessionAgainstSim, AsksAndReadsTuples) {
  ASSERT_EQ(FailureOf([&] { session.CheckLine(); }), 0);
  sim::Recorder& recorder = sim.Recorder();
  EXPECT_EQ(session.Ask("ver", MsgVersionReadFailed), recorder.Profile().version);
  EXPECT_EQ(session.ReadTuple(Area::Rom, kRomRingCount, MsgRingCountReadFailed),
            recorder.TupleText(sim::SimArea::Rom, kRomRingCount));
  EXPECT_EQ(session.ReadTuple(Area::File(2), kByteCount, MsgByteCountReadFailed),
            recorder.FileTupleText(1, kByteCount));
  EXPECT_EQ(session.ReadTuplePresent(Area::Batt, kMemo + 1, MsgLineCheckFailed), "PUMP HOUSE");

  // Absent items: "??" is nullopt, a failure where required, "??CODE" as sent.
  EXPECT_EQ(session.AskPresent("romr9999", MsgModeReadFailed), std::nullopt);
  EXPECT_EQ(session.TryAsk("eepr9999"), std::nullopt);
  EXPECT_EQ(FailureOf([&] { session.AskRequired("eepr9999", MsgSerialReadFailed); }),
            MsgSerialReadFailed);
  EXPECT_EQ(session.ReadTuple(Area::Batt, 9999, MsgLineCheckFailed), "??CODE");
}

TEST_F(SessionAgainstSim, WritesEchoTheStoredValue) {
  const struct {
    Area area;
    int number;
    std::string value;
    std::string echo;
  } cases[] = {
      {Area::Eep, kChannelCount, "2", "2"},
      {Area::Batt, kMemo, "RIVER", "RIVER"},
      {Area::File(1), kMemo, "NORTH", "NORTH"},
      {Area::Eep, 9999, "1", "??CODE"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(session.WriteTuple(c.area, c.number, c.value, MsgNoEchoBack), c.echo);
    if (c.echo == c.value) {
      EXPECT_EQ(session.ReadTuple(c.area, c.number, MsgNoEchoBack), c.value);
    }
  }
  EXPECT_EQ(session.WriteTuple(Area::Eep, kChannelCount, int64_t{3}, MsgNoEchoBack), "3");
}

TEST_F(SessionAgainstSim, ReceivesAreasIntoMemory) {
  const struct {
    const char* command;
    sim::SimArea area;
    sim::FaultSettings faults;
    bool whole;
  } cases[] = {
      {"xdmrr", sim::SimArea::Rom, {}, true},
      {"mnpee", sim::SimArea::Eep, {}, true},
      {"xdmbb", sim::SimArea::Batt, {.repeatBlock = 2}, true},
      {"xdmbb", sim::SimArea::Batt, {.eotAfterBlocks = 1}, false},
      {"mnprr", sim::SimArea::Rom, {.corruptBlock = 1}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command);
    sim.Faults().Set(c.faults);
    const std::vector<uint8_t> image = sim.Recorder().AreaImage(c.area);
    std::vector<uint8_t> bytes;
    AreaTally tally = c.area == sim::SimArea::Batt
                          ? AreaTally::AtLeast(static_cast<int64_t>(image.size()))
                          : AreaTally::TupleChain();
    const int failure = FailureOf([&] {
      session.ReceiveArea(c.command, tally, MemorySink(bytes), TransferProgress::Shown,
                          MsgBattAreaFailed);
    });
    if (!c.whole) {
      EXPECT_EQ(failure, MsgBattAreaFailed);
      continue;
    }
    EXPECT_EQ(failure, 0);
    ASSERT_GE(bytes.size(), image.size());
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + image.size()), image);
    EXPECT_EQ(progress.Percents().back(), 100);
  }
}

TEST_F(SessionAgainstSim, FailuresBecomeTheStepsMessage) {
  progress.CancelNow();
  EXPECT_EQ(RunOperation([&] { session.CheckCancel(); }).message, LoadMessage(MsgCancelPressed));
  std::vector<uint8_t> bytes;
  AreaTally tally = AreaTally::TupleChain();
  EXPECT_FALSE(session.TryReceiveArea("xdmrr", tally, MemorySink(bytes), TransferProgress::Hidden));
  EXPECT_TRUE(bytes.empty());

  sim.Faults().Set({.silentAfter = 0});
  const StepResult result = RunOperation([&] { session.Ask("rtcr", MsgNoEchoBack); });
  EXPECT_FALSE(result);
  EXPECT_EQ(result.message, LoadMessage(MsgNoEchoBack));
  EXPECT_EQ(session.TryAsk("rtcr"), std::nullopt);
}

}  // namespace
}  // namespace tessaro
