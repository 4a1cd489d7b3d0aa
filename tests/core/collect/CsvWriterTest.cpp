#include "core/collect/CsvWriter.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include "core/collect/DataFileAnalysis.h"
#include "core/support/DefinitionDb.h"
#include "support/RecordingMessageBox.h"
#include "support/RecordingProgress.h"
#include "support/TempDir.h"
#include "support/TestRlbFile.h"

namespace tessaro {
namespace {

std::string Lines(std::initializer_list<std::string> lines) {
  std::string out;
  for (const std::string& line : lines) out += line + "\r\n";
  return out;
}

class CsvWriterTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(db_.Open(std::string(TESSARO_BIN_DIR) + "/DB/Master.mdb")); }

  std::string Convert(const TestRlb& rlb, CsvType type) {
    EXPECT_TRUE(TestRlbFile(rlb).Write(rlbPath_));
    DataFileInfo info;
    info.rlbPath = rlbPath_;
    EXPECT_TRUE(AnalyseDataFile(info, db_, dir_.Path() + "/"));
    const StepResult result = WriteCsv(type, info, csvPath_, progress_);
    EXPECT_TRUE(result.ok) << result.message;
    return TempDir::ReadAll(csvPath_);
  }

  TempDir dir_;
  const std::string rlbPath_ = dir_.Join("DT2026120800.RLB");
  const std::string csvPath_ = dir_.Join("DT2026120800.CSV");
  DefinitionDb db_;
  RecordingMessageBox boxes_;
  ScopedMessageBoxHandler install_{boxes_};
  RecordingProgress progress_;
};

TestRlb TwoChannels() {
  TestRlb rlb;
  rlb.channels = {{1, 1001, -1, 1, 2}, {2, 1001, -1, 1, 2}};
  rlb.records = {Concat({Be16(15), Be16(-3)}), Concat({Be16(16), Be16(0)}),
                 Concat({Be16(-150), Be16(7)})};
  return rlb;
}

TEST_F(CsvWriterTest, CorvexForm) {
  EXPECT_EQ(Convert(TwoChannels(), CsvType::Corvex), Lines({
                                                         "NO,DATE-TIME, 1CH[VOLT], 2CH[TEMP]",
                                                         "000001,26/12/08 10:00:00,+1.5,-0.3",
                                                         "000002,26/12/08 10:00:01,+1.6,+0.0",
                                                         "000003,26/12/08 10:00:02,-15.0,+0.7",
                                                     }));
  EXPECT_EQ(boxes_.Count(), 0u);
  const std::vector<int> percents = progress_.Percents();
  ASSERT_FALSE(percents.empty());
  EXPECT_EQ(percents.front(), 0);
  EXPECT_EQ(percents.back(), 100);
  EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end()));
}

TEST_F(CsvWriterTest, Q5Form) {
  EXPECT_EQ(Convert(TwoChannels(), CsvType::Q5),
            Lines({
                " , , , ,MODEL,100,+0012",
                " , , , ,SUBMODEL,101,+0003",
                " , , , ,SERIAL,210,SN-000123",
                " , , , ,DATE,211,2026/11/30",
                " , , , ,START-TIME,800,\"26/12/08 10:00:00\"",
                " , , , ,STOP-TIME,801,\"26/12/08 11:00:00\"",
                " , , , ,SAMPLES,802,3",
                " , , , ,INTERVAL,260,+1001",
                " , , , ,MULTI,202,+0002",
                " , , , ,CH1-MODE,2000,+0001,+0001,-0001,+0002",
                " , , , ,CH2-MODE,2001,+0002,+0001,-0001,+0002",
                " , , , ,MEMO-1,620,\"memo one\"",
                " , , , ,MEMO-2,621,\"\"",
                " , , , ,MEMO-3,622,\"\"",
                " , , , ,MEMO-4,623,\"\"",
                " , , , ,MEMO-5,624,\"\"",
                " , , , ,MEMO-6,625,\"\"",
                " , , , ,MEMO-7,626,\"\"",
                " , , , ,MEMO-8,627,\"last memo\"",
                "+1.5,-0.3,\"10:00:00\",\"26/12/08\"",
                "+1.6,+0.0,\"10:00:01\"",
                "-15.0,+0.7,\"10:00:02\",\"26/12/08\"",
            }));
}

TEST_F(CsvWriterTest, Q5PrintsTheDateOnANewDayAndOnTheLastRecord) {
  TestRlb rlb;
  rlb.channels = {{1, 1130, 0, 1, 2}};  // every 30 minutes
  rlb.start = EncodeDateTime({2026, 12, 8, 23, 0, 0});
  rlb.records = {Be16(1), Be16(2), Be16(3), Be16(4), Be16(5)};
  const std::string csv = Convert(rlb, CsvType::Q5);
  EXPECT_NE(csv.find(Lines({
                "+1,\"23:00:00\",\"26/12/08\"",
                "+2,\"23:30:00\"",
                "+3,\"00:00:00\",\"26/12/09\"",
                "+4,\"00:30:00\"",
                "+5,\"01:00:00\",\"26/12/09\"",
            })),
            std::string::npos)
      << csv;
}

TEST_F(CsvWriterTest, DateTimeFirstChannelHasNoTimeColumns) {
  TestRlb rlb;
  rlb.channels = {{138, 1001, 0, 6, 6}, {1, 1001, -1, 1, 2}};
  rlb.records = {Concat({StoredDateTime({2026, 12, 8, 10, 0, 7}), Be16(15)}),
                 Concat({StoredDateTime({2026, 12, 8, 10, 3, 9}), Be16(-2)})};
  EXPECT_EQ(Convert(rlb, CsvType::Corvex), Lines({
                                               "NO, 1CH[DATE-TIME], 2CH[VOLT]",
                                               "000001,26/12/08 10:00:07,+1.5",
                                               "000002,26/12/08 10:03:09,-0.2",
                                           }));
  const std::string q5 = Convert(rlb, CsvType::Q5);
  EXPECT_NE(q5.find(Lines({"26/12/08 10:00:07,+1.5", "26/12/08 10:03:09,-0.2"})), std::string::npos)
      << q5;
  EXPECT_EQ(q5.find("\"10:00:07\""), std::string::npos);
}

TEST_F(CsvWriterTest, DirectionsAndWindRecords) {
  TestRlb rlb;
  rlb.channels = {{159, 1001, 0, 1, 2}, {600, 1001, -1, 1, 2}, {602, 1001, -1, 1, 5}};
  const std::vector<uint8_t> gust = {0x02, (3 << 5) | 5, 0x10, 0x20, 0x30};
  const std::vector<uint8_t> missing = {0x80, 0x00, 0x00, 0x00, 0x00};
  rlb.records = {Concat({Be16(16), {0x02, (3 << 5) | 5}, gust}),
                 Concat({Be16(0), {0x82, 0x65}, missing})};
  EXPECT_EQ(Convert(rlb, CsvType::Corvex),
            Lines({
                "NO,DATE-TIME, 1CH[WD], 2CH[WINSPD],[WINDIR], 3CH[WINSPD-MAX],[WINDIR],[TIME]",
                "000001,26/12/08 10:00:00,N,1.9,ESE,1.9,ESE,10:20:30",
                "000002,26/12/08 10:00:01,CALM,,,,,",
            }));
  const std::string q5 = Convert(rlb, CsvType::Q5);
  EXPECT_NE(q5.find(Lines({"+16,1.9,+5,1.9,+5,10:20:30,\"10:00:00\",\"26/12/08\"",
                           "+0,,,,,,\"10:00:01\",\"26/12/08\""})),
            std::string::npos)
      << q5;
}

TEST_F(CsvWriterTest, OneByteDirectionOnlyWindChannels) {
  TestRlb rlb;
  rlb.channels = {{603, 1001, 0, 1, 1}, {604, 1001, 0, 1, 1}, {605, 1001, 0, 1, 1}};
  rlb.records = {{0x70, 0x05, 0x04}, {0x90, 0x81, 0x0C}};
  EXPECT_EQ(Convert(rlb, CsvType::Corvex),
            Lines({
                "NO,DATE-TIME, 1CH[WINDIR], 2CH[WINDIR], 3CH[WINDIR]",
                "000001,26/12/08 10:00:00,N,ESE,E",
                "000002,26/12/08 10:00:01,,,W",
            }));
  const std::string q5 = Convert(rlb, CsvType::Q5);
  EXPECT_NE(
      q5.find(Lines({"+16,+5,+4,\"10:00:00\",\"26/12/08\"", ",,+12,\"10:00:01\",\"26/12/08\""})),
      std::string::npos)
      << q5;
}

TEST_F(CsvWriterTest, DateTimeHexAndTimeOfDayTypes) {
  TestRlb rlb;
  rlb.channels = {{1, 1001, 0, 6, 6}, {1, 1001, 0, 21, 2}, {1, 1001, 0, 23, 4}};
  rlb.records = {
      Concat({StoredDateTime({2026, 12, 24, 18, 30, 0}), Be16(0x8001), {0x00, 0x12, 0x34, 0x56}}),
      Concat({std::vector<uint8_t>(6, 0xFF), Be16(0x00AB), {0x00, 0x25, 0x00, 0x00}})};
  EXPECT_EQ(
      Convert(rlb, CsvType::Corvex),
      Lines({
          "NO,DATE-TIME, 1CH[VOLT], 2CH[VOLT], 3CH[VOLT]",
          "000001,26/12/08 10:00:00,26/12/24 18:30:00,8001h,12:34:56",
          "000002,26/12/08 10:00:01," + std::string(kInvalidDateTimeText) + ",00ABh,?\?:?\?:?\?",
      }));
}

TEST_F(CsvWriterTest, RingThatWrapsIsWrittenOldestFirstWithTheOverwriteNotice) {
  TestRlb rlb;
  rlb.channels = {{1, 1001, 0, 1, 2}};
  rlb.records = {Be16(1), Be16(2), Be16(3), Be16(4), Be16(5)};
  rlb.rotation = 3;
  rlb.dataAreaSize = 6;  // 10 bytes written: the first 2 records were overwritten
  EXPECT_EQ(Convert(rlb, CsvType::Corvex), Lines({
                                               "NO,DATE-TIME, 1CH[VOLT]",
                                               "000001,26/12/08 10:00:00,+1",
                                               "000002,26/12/08 10:00:01,+2",
                                               "000003,26/12/08 10:00:02,+3",
                                               "000004,26/12/08 10:00:03,+4",
                                               "000005,26/12/08 10:00:04,+5",
                                           }));
  EXPECT_EQ(boxes_.Texts(),
            std::vector<std::string>{
                "測定データ中にオーバーライトされたデータ(2データ以降)が存在します。"});
}

TEST_F(CsvWriterTest, ModeMissingFromTheDatabaseGetsAnEmptyHeading) {
  TestRlb rlb;
  rlb.channels = {{999, 1001, 0, 1, 2}};
  rlb.records = {Be16(7)};
  EXPECT_EQ(Convert(rlb, CsvType::Corvex),
            Lines({"NO,DATE-TIME, 1CH[]", "000001,26/12/08 10:00:00,+7"}));
  ASSERT_EQ(boxes_.Count(BoxKind::Error), 1u);
  EXPECT_NE(boxes_.Texts()[0].find("(999)"), std::string::npos);
}

TEST_F(CsvWriterTest, RecorderTextsPassThroughAndLabelsAreCp932) {
  TestRlb rlb;
  rlb.serial = "\x83\x65\x83\x58\x83\x67";  // "テスト" in CP932, as the recorder sends it
  rlb.memos[0] = "\x8E\xBA\x95\xB6";        // two CP932 characters
  rlb.channels = {{138, 1001, 0, 6, 6}, {1, 1001, 0, 1, 2}, {3, 1001, 0, 1, 2}};
  rlb.records = {Concat({StoredDateTime({2026, 12, 8, 10, 0, 0}), Be16(1), Be16(2)})};
  const std::string q5 = Convert(rlb, CsvType::Q5);
  EXPECT_NE(q5.find(" , , , , ,SERIAL,210,\x83\x65\x83\x58\x83\x67\r\n"), std::string::npos);
  EXPECT_NE(q5.find("MEMO-1,620,\"\x8E\xBA\x95\xB6\"\r\n"), std::string::npos);
}

TEST_F(CsvWriterTest, CancelLeavesNoFileAndTheEarlierOneUntouched) {
  TestRlb rlb;
  rlb.channels = {{1, 1001, 0, 1, 2}};
  for (int i = 0; i < 400; ++i) rlb.records.push_back(Be16(i));
  ASSERT_TRUE(TestRlbFile(rlb).Write(rlbPath_));
  const std::string rlbBefore = TempDir::ReadAll(rlbPath_);
  dir_.WriteFile("DT2026120800.CSV", "earlier\r\n");
  DataFileInfo info;
  info.rlbPath = rlbPath_;
  ASSERT_TRUE(AnalyseDataFile(info, db_, dir_.Path() + "/"));
  progress_.CancelAtPercent(50);
  const StepResult result = WriteCsvCorvex(info, csvPath_, progress_);
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.message, "中止ボタンが押されました。");
  EXPECT_EQ(progress_.Percents().back(), 50);
  EXPECT_EQ(TempDir::ReadAll(csvPath_), "earlier\r\n");
  EXPECT_EQ(TempDir::ReadAll(rlbPath_), rlbBefore);
}

TEST_F(CsvWriterTest, UnwritableFolderFailsWithTheCreateMessage) {
  TestRlb rlb = TwoChannels();
  ASSERT_TRUE(TestRlbFile(rlb).Write(rlbPath_));
  DataFileInfo info;
  info.rlbPath = rlbPath_;
  ASSERT_TRUE(AnalyseDataFile(info, db_, dir_.Path() + "/"));
  const StepResult result = WriteCsvQ5(info, dir_.Join("missing/out.csv"), progress_);
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.message, "テキストファイルの作成に失敗しました。");
}

TEST_F(CsvWriterTest, DiskFullNamesTheFirstRecordNotWritten) {
  TestRlb rlb;
  rlb.channels = {{1, 1001, 0, 1, 2}};
  for (int i = 0; i < 120000; ++i) rlb.records.push_back(Be16(i % 1000));
  ASSERT_TRUE(TestRlbFile(rlb).Write(rlbPath_));
  dir_.WriteFile("DT2026120800.CSV", "earlier\r\n");
  DataFileInfo info;
  info.rlbPath = rlbPath_;
  ASSERT_TRUE(AnalyseDataFile(info, db_, dir_.Path() + "/"));
  // About 3.5 MB of lines against a 1.5 MB file size limit: the first piece
  // of lines is written, the second fails.
  const auto writeWithLimit = [&] {
    const rlimit limit{1500000, 1500000};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    ::signal(SIGXFSZ, SIG_IGN);
    const StepResult result = WriteCsvCorvex(info, csvPath_, progress_);
    std::fprintf(stderr, "%s\n%s\n", result.message.c_str(), result.reason.c_str());
    const bool untouched = TempDir::ReadAll(csvPath_) == "earlier\r\n";
    ::_exit(!result.ok && untouched ? 0 : 1);
  };
  EXPECT_EXIT(writeWithLimit(), ::testing::ExitedWithCode(0),
              "テキストファイルの書込みに失敗しました。\\(Line=[1-9][0-9]{4}\\)\n"
              "[^\n]*DT2026120800\\.CSV: File too large");
  EXPECT_EQ(TempDir::ReadAll(csvPath_), "earlier\r\n");
}

}  // namespace
}  // namespace tessaro
