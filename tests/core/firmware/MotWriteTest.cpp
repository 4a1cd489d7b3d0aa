// The firmware write against the simulator over TCP: what reaches the
// recorder, the result and the failure text for each fault.

#include "core/firmware/MotWrite.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>

#include "core/firmware/SRecordFile.h"
#include "core/recorder/RecorderSession.h"
#include "support/RecordingProgress.h"
#include "support/SRecordText.h"
#include "support/SimLine.h"
#include "support/TempDir.h"

namespace tessaro {
namespace {

constexpr int kDataRecords = 8;
// Commands before the records: the probe, "selectrome", "eromoff".
constexpr int kFirstRecordCommand = 4;

class MotWriteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    OpenSimLine(sim_, line_);  // replies wait 200 ms
    ASSERT_TRUE(file_.Parse(testing::JoinLines(testing::FirmwareRecords(1, kDataRecords))));
  }
  void TearDown() override { LineClose(line_); }

  MotWriteResult Write(const sim::FaultSettings& faults, bool answer = true) {
    sim_.Faults().Set(faults);
    RecorderSession session(line_, *progress_);
    TMotWrite writer(session, [&](const std::string&) {
      ++questions_;
      return answer;
    });
    return writer.Write(file_);
  }
  size_t Taken(const std::string& prefix) { return CommandsTaken(sim_.Recorder(), prefix).size(); }

  SimFixture sim_;
  LineContext line_;
  SRecordFile file_;
  std::optional<RecordingProgress> progress_{std::in_place};
  int questions_ = 0;
};

std::map<uint32_t, uint8_t> ImageOf(const SRecordFile& file) {
  std::map<uint32_t, uint8_t> image;
  for (const std::string& text : file.Records()) {
    const auto record = ParseSRecord(text);
    if (record->type < 1 || record->type > 3) continue;
    for (size_t i = 0; i < record->data.size(); ++i)
      image[record->address + static_cast<uint32_t>(i)] = record->data[i];
  }
  return image;
}

TEST_F(MotWriteTest, WritesEveryRecordOnceAndConfirms) {
  EXPECT_EQ(Write({}), MotWriteResult::Written);
  EXPECT_EQ(CommandsTaken(sim_.Recorder(), "S"), file_.Records());
  EXPECT_EQ(sim_.Recorder().FirmwareImage(), ImageOf(file_));
  EXPECT_TRUE(sim_.Recorder().FirmwareConfirmed());
  EXPECT_TRUE(progress_->Errors().empty());
  EXPECT_EQ(progress_->Percents().back(), 100);
  EXPECT_EQ(questions_, 0);
}

TEST_F(MotWriteTest, EachFaultEndsWithItsTextAndSaysWhetherTheRecorderChanged) {
  sim::FaultSettings refusedTwice{.refused = {"S9"}, .refuseTimes = 2};
  const struct {
    const char* what;
    sim::FaultSettings faults;
    bool answer;  // to the question after an unexpected "selectrome" reply
    MotWriteResult result;
    int message;  // the failure shown, 0: none
    size_t records;
    bool eromon;
  } cases[] = {
      {"end record refused twice", refusedTwice, true, MotWriteResult::Written, 0,
       kDataRecords + 2u, true},
      {"end record refused three times",
       {.refused = {"S9"}},
       true,
       MotWriteResult::Incomplete,
       MsgCommunicationError,
       kDataRecords + 1u,
       false},
      {"silence mid-write",
       {.silentAfter = kFirstRecordCommand + 2},
       true,
       MotWriteResult::Incomplete,
       MsgCommunicationError,
       3,
       false},
      {"eromon refused",
       {.refused = {"eromon"}},
       true,
       MotWriteResult::Incomplete,
       MsgNoWriteConfirmation,
       kDataRecords + 2u,
       false},
      {"eromoff refused",
       {.refused = {"eromoff"}},
       true,
       MotWriteResult::Unchanged,
       MsgNoWritePermission,
       0,
       false},
      {"selectrome refused, user goes on",
       {.refused = {"selectrome"}},
       true,
       MotWriteResult::Written,
       0,
       kDataRecords + 2u,
       true},
      {"selectrome refused, user stops",
       {.refused = {"selectrome"}},
       false,
       MotWriteResult::Unchanged,
       MsgEepromAbandoned,
       0,
       false},
      {"no recorder",
       {.silentAfter = 0},
       true,
       MotWriteResult::Unchanged,
       MsgLineCheckFailed,
       0,
       false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    progress_.emplace();
    const size_t before = Taken("S");
    const size_t eromonBefore = Taken("eromon");
    EXPECT_EQ(Write(c.faults, c.answer), c.result);
    EXPECT_EQ(progress_->Errors(), c.message ? std::vector<std::string>{LoadMessage(c.message)}
                                             : std::vector<std::string>{});
    EXPECT_EQ(Taken("S") - before, c.records);
    EXPECT_EQ(Taken("eromon") - eromonBefore, c.eromon ? 1u : 0u);
    // The loader takes commands again only once a write is closed; left
    // selected, it takes "eromoff" even after a refused "selectrome".
    sim_.Recorder().Execute("eromon");
    sim_.Recorder().Execute("selectrome");
  }
}

TEST_F(MotWriteTest, CancelIsSeenBetweenRecords) {
  progress_->CancelAtPercent(1);  // reached with the first record
  EXPECT_EQ(Write({}), MotWriteResult::Incomplete);
  EXPECT_EQ(progress_->Errors(), std::vector<std::string>{LoadMessage(MsgCancelPressed)});
  EXPECT_EQ(Taken("S"), 2u);
  EXPECT_FALSE(sim_.Recorder().FirmwareConfirmed());

  std::string reply;
  ASSERT_TRUE(LineCommand(line_, "eromon", reply));  // closes the loader again
  progress_.emplace();
  progress_->CancelNow();  // before writing is allowed: the recorder stays as it was
  EXPECT_EQ(Write({}), MotWriteResult::Unchanged);
  EXPECT_EQ(progress_->Errors(), std::vector<std::string>{LoadMessage(MsgCancelPressed)});
  EXPECT_EQ(Taken("eromoff"), 1u);
  EXPECT_EQ(Taken("S"), 2u);
}

TEST_F(MotWriteTest, ALateReplyIsLetPassBeforeTheRecordIsSentAgain) {
  // The first data record is answered after the reply wait has run out; a
  // resend before that answer would be dropped by the busy recorder and
  // the late "!!" taken as its answer.
  EXPECT_EQ(Write({.lateReply = kFirstRecordCommand + 1, .lateMs = 350}), MotWriteResult::Written);
  EXPECT_EQ(sim_.Faults().DroppedWhileLate(), 0);
  const auto taken = CommandsTaken(sim_.Recorder(), "S");
  ASSERT_EQ(taken.size(), file_.Records().size() + 1);
  EXPECT_EQ(taken[1], file_.Records()[1]);
  EXPECT_EQ(taken[2], file_.Records()[1]);
  EXPECT_EQ(sim_.Recorder().FirmwareImage(), ImageOf(file_));
  EXPECT_TRUE(sim_.Recorder().FirmwareConfirmed());
}

TEST_F(MotWriteTest, AnInvalidFileSendsNothing) {
  TempDir dir;
  const std::string path = dir.WriteFile("BAD.MOT", testing::SRecordLine(1, 0, {1}) + "\n");
  RecorderSession session(line_, *progress_);
  EXPECT_EQ(TMotWrite(session).WriteFile(path), MotWriteResult::Unchanged);
  EXPECT_EQ(progress_->Errors(), std::vector<std::string>{LoadMessage(MsgMotNoEnd)});
  EXPECT_EQ(sim_.Faults().CommandsSeen(), 0);
  EXPECT_EQ(RunMotWrite(line_, dir.Join("MISSING.MOT"), *progress_), 0);
  EXPECT_EQ(sim_.Faults().CommandsSeen(), 0);
}

}  // namespace
}  // namespace tessaro
