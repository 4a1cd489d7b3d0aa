// File conversion end to end: RLB file -> analysis -> CSV -> report, through
// the worker thread, the shared conversion step and the command line.

#include <dirent.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <sstream>

#include "cli/CliMain.h"
#include "cli/ConvertCommand.h"
#include "core/collect/CollectionBusy.h"
#include "core/collect/CollectionReport.h"
#include "core/collect/ConversionStep.h"
#include "core/collect/ThredTess2.h"
#include "core/support/CodePage.h"
#include "core/support/DefinitionDb.h"
#include "support/CommandArguments.h"
#include "support/RecordingMessageBox.h"
#include "support/RecordingProgress.h"
#include "support/TempDir.h"
#include "support/TestRlbFile.h"

namespace tessaro {
namespace {

using namespace std::chrono_literals;

std::vector<std::string> FolderNames(const std::string& folder) {
  std::vector<std::string> names;
  if (DIR* dir = ::opendir(folder.c_str())) {
    while (const dirent* entry = ::readdir(dir)) {
      const std::string name = entry->d_name;
      if (name != "." && name != "..") names.push_back(name);
    }
    ::closedir(dir);
  }
  std::sort(names.begin(), names.end());
  return names;
}

TestRlb Sample(int records) {
  TestRlb rlb;
  rlb.channels = {{1, 1001, -1, 1, 2}, {2, 1001, -1, 1, 2}};
  for (int i = 0; i < records; ++i) rlb.records.push_back(Concat({Be16(i), Be16(-i)}));
  return rlb;
}

class ConvertTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(db_.Open(dbPath_));
    ASSERT_EQ(::mkdir(programFolder_.c_str(), 0755), 0);
  }
  void WriteRlb(const TestRlb& rlb) {
    ASSERT_TRUE(TestRlbFile(rlb).Write(rlbPath_));
    rlbBytes_ = TempDir::ReadAll(rlbPath_);
  }
  std::string Log() const {
    return TempDir::ReadAll(ReportFilePath(programFolder_ + "/", NowFields()));
  }
  // Nothing but the LOG folder (when a report was written) in the program folder.
  void ExpectNoWorkFiles() const {
    for (const std::string& name : FolderNames(programFolder_)) EXPECT_EQ(name, "LOG");
  }

  TempDir dir_;
  const std::string dbPath_ = std::string(TESSARO_BIN_DIR) + "/DB/Master.mdb";
  const std::string programFolder_ = dir_.Join("program");
  const std::string rlbPath_ = dir_.Join("DT2026120800.RLB");
  const std::string csvPath_ = dir_.Join("DT2026120800.CSV");
  std::string rlbBytes_;
  DefinitionDb db_;
  RecordingMessageBox boxes_;
  ScopedMessageBoxHandler install_{boxes_};
  RecordingProgress progress_;
};

TEST_F(ConvertTest, ThreadConvertsAndReports) {
  WriteRlb(Sample(3));
  {
    TThredTess2 thread(rlbPath_, csvPath_, CsvType::Corvex, db_, progress_, programFolder_ + "/");
    EXPECT_TRUE(CollectionBusy);
    ASSERT_TRUE(thread.WaitFor(10s));
    EXPECT_TRUE(thread.Finished());
    EXPECT_TRUE(thread.Result().ok) << thread.Result().message;
  }
  EXPECT_FALSE(CollectionBusy);
  EXPECT_EQ(TempDir::ReadAll(csvPath_),
            "NO,DATE-TIME, 1CH[VOLT], 2CH[TEMP]\r\n"
            "000001,26/12/08 10:00:00,+0.0,+0.0\r\n"
            "000002,26/12/08 10:00:01,+0.1,-0.1\r\n"
            "000003,26/12/08 10:00:02,+0.2,-0.2\r\n");
  EXPECT_EQ(TempDir::ReadAll(rlbPath_), rlbBytes_);
  const std::string log = Log();
  EXPECT_EQ(log.find(std::string(80, '-') + "\r\n"), 0u);
  EXPECT_NE(log.find(Utf8ToCp932("RLBファイル保存   : する\r\n")), std::string::npos);
  EXPECT_NE(log.find(Utf8ToCp932("CSVファイルタイプ : Corvex形式\r\n")), std::string::npos);
  EXPECT_NE(log.find(Utf8ToCp932("測定インターバル  : 1 秒\r\n")), std::string::npos);
  EXPECT_NE(log.find(csvPath_), std::string::npos);
  EXPECT_TRUE(progress_.Errors().empty());
  ExpectNoWorkFiles();
  EXPECT_EQ(boxes_.Count(), 0u);
}

TEST_F(ConvertTest, TwoConversionsAppendTwoBlocks) {
  WriteRlb(Sample(2));
  ASSERT_TRUE(
      ConvertRlbFile(rlbPath_, csvPath_, CsvType::Q5, db_, progress_, programFolder_ + "/"));
  ASSERT_TRUE(ConvertRlbFile(rlbPath_, dir_.Join("b.csv"), CsvType::Corvex, db_, progress_,
                             programFolder_ + "/"));
  const std::string log = Log();
  const std::string dashes = std::string(80, '-') + "\r\n";
  const size_t second = log.find(dashes, 1);
  ASSERT_NE(second, std::string::npos);
  EXPECT_EQ(log.find(dashes, second + 1), std::string::npos);
  EXPECT_NE(log.find(Utf8ToCp932("Ｑ５シリーズ形式")), std::string::npos);
  EXPECT_GT(log.find(Utf8ToCp932("Corvex形式")), second);
}

TEST_F(ConvertTest, CancelHalfwayLeavesEarlierCsvAndRlbAsTheyWere) {
  WriteRlb(Sample(4000));
  dir_.WriteFile("DT2026120800.CSV", "earlier\r\n");
  progress_.CancelAtPercent(50);
  TThredTess2 thread(rlbPath_, csvPath_, CsvType::Q5, db_, progress_, programFolder_ + "/");
  thread.Wait();
  EXPECT_FALSE(CollectionBusy);
  EXPECT_FALSE(thread.Result().ok);
  EXPECT_EQ(thread.Result().message, "中止ボタンが押されました。");
  EXPECT_EQ(progress_.Errors(), std::vector<std::string>{"中止ボタンが押されました。"});
  EXPECT_EQ(TempDir::ReadAll(csvPath_), "earlier\r\n");
  EXPECT_EQ(TempDir::ReadAll(rlbPath_), rlbBytes_);
  EXPECT_EQ(FolderNames(dir_.Path()),
            (std::vector<std::string>{"DT2026120800.CSV", "DT2026120800.RLB", "program"}));
  EXPECT_TRUE(FolderNames(programFolder_).empty());  // no work copy, no report
}

TEST_F(ConvertTest, BrokenRlbFilesFailWithoutCsv) {
  WriteRlb(Sample(50));
  const std::string whole = rlbBytes_;
  const std::vector<std::string> broken = {
      whole.substr(0, whole.size() - 60),  // ring data cut short
      whole.substr(0, 200),                // header only
      std::string(3000, '\x5A'),           // not an RLB file
      "",
  };
  for (const std::string& bytes : broken) {
    dir_.WriteFile("DT2026120800.RLB", bytes);
    boxes_.Clear();
    const StepResult result =
        ConvertRlbFile(rlbPath_, csvPath_, CsvType::Corvex, db_, progress_, programFolder_ + "/");
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(boxes_.Count() > 0 || !result.message.empty());
    EXPECT_EQ(TempDir::ReadAll(rlbPath_), bytes);
    EXPECT_EQ(FolderNames(dir_.Path()), (std::vector<std::string>{"DT2026120800.RLB", "program"}));
    EXPECT_TRUE(FolderNames(programFolder_).empty());
  }
}

TEST_F(ConvertTest, CsvNameOfTheRlbFileItselfIsRefused) {
  WriteRlb(Sample(3));
  const StepResult result =
      ConvertRlbFile(rlbPath_, rlbPath_, CsvType::Q5, db_, progress_, programFolder_ + "/");
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.message, "テキストファイルの作成に失敗しました。");
  EXPECT_EQ(TempDir::ReadAll(rlbPath_), rlbBytes_);
  // The command line's default name of "x.CSV" is the input itself.
  const std::string csvInput = dir_.Join("copy.CSV");
  dir_.WriteFile("copy.CSV", rlbBytes_);
  std::ostringstream out, err;
  ConvertSetup setup;
  setup.databasePath = dbPath_;
  setup.programFolder = programFolder_ + "/";
  EXPECT_EQ(RunConvertCommand({csvInput, "", CsvType::Q5}, setup, out, err), 1);
  EXPECT_EQ(err.str(), "CSVファイルにRLBファイルと同じ名前は使えません。\n");
  EXPECT_EQ(TempDir::ReadAll(csvInput), rlbBytes_);
}

// The collection removes an RLB file it does not keep itself (it may be its
// temporary file); the step reads it and reports the option.
TEST_F(ConvertTest, CollectionStepLeavesTheRlbFileToItsMaker) {
  WriteRlb(Sample(3));
  ConversionJob job;
  job.rlbPath = rlbPath_;
  job.csvPath = dir_.Join("missing/x.csv");
  job.keepRlb = false;
  job.conversion = false;
  job.programFolder = programFolder_ + "/";
  EXPECT_FALSE(RunConversionStep(job, db_, progress_));
  EXPECT_EQ(TempDir::ReadAll(rlbPath_), rlbBytes_);  // kept for another try
  job.csvPath = csvPath_;
  EXPECT_TRUE(RunConversionStep(job, db_, progress_));
  EXPECT_NE(::access(csvPath_.c_str(), F_OK), -1);
  EXPECT_EQ(TempDir::ReadAll(rlbPath_), rlbBytes_);
  EXPECT_NE(Log().find(Utf8ToCp932("RLBファイル保存   : しない\r\n")), std::string::npos);
  ExpectNoWorkFiles();
}

TEST_F(ConvertTest, CommandLineConvertsToTheDefaultName) {
  TestRlb rlb = Sample(3);
  rlb.dataAreaSize = 10;  // data was overwritten and the battery ran low: notices only
  rlb.hasBatteryLow = true;
  rlb.batteryLow = EncodeDateTime({2026, 12, 8, 10, 0, 1});
  WriteRlb(rlb);
  ConvertArguments arguments;
  std::string error;
  ASSERT_TRUE(
      ParseCommandArguments(BindConvertArguments, {rlbPath_, "--form", "corvex"}, arguments, error))
      << error;
  ConvertSetup setup;
  setup.databasePath = dbPath_;
  setup.programFolder = programFolder_ + "/";
  std::ostringstream out, err;
  EXPECT_EQ(RunConvertCommand(arguments, setup, out, err), 0) << err.str();
  EXPECT_EQ(out.str(), csvPath_ + "\n");
  EXPECT_EQ(TempDir::ReadAll(csvPath_).substr(0, 8), "NO,DATE-");
  EXPECT_NE(err.str().find("テキスト保存中..."), std::string::npos);
  EXPECT_EQ(boxes_.Texts(),
            (std::vector<std::string>{
                "測定データ中にオーバーライトされたデータ(0データ以降)が存在します。",
                "測定データ中にバッテリLOWレベル(1データ以降)を検出しました。"}));
}

TEST_F(ConvertTest, CommandLineExitCodes) {
  std::ostringstream out, err;
  EXPECT_EQ(RunCli({"convert"}, out, err), 2);
  EXPECT_EQ(RunCli({"convert", "a.RLB", "b.RLB"}, out, err), 2);
  EXPECT_EQ(RunCli({"convert", "a.RLB", "--form", "xml"}, out, err), 2);
  EXPECT_EQ(RunCli({"convert", "a.RLB", "--csv"}, out, err), 2);
  EXPECT_EQ(RunCli({"convert", "a.RLB", "--colour"}, out, err), 2);
  dir_.WriteFile("DT2026120800.RLB", std::string(500, '\x01'));
  EXPECT_EQ(RunCli({"convert", rlbPath_, "--csv=" + csvPath_}, out, err), 1);
  EXPECT_EQ(boxes_.Texts(),
            std::vector<std::string>{"RLBファイルを解析中にエラーが発生しました。"});
  EXPECT_EQ(::access(csvPath_.c_str(), F_OK), -1);
}

TEST(ConvertArgumentsTest, DefaultCsvPathReplacesTheExtension) {
  EXPECT_EQ(DefaultCsvPath("/data/DT2026120800.RLB"), "/data/DT2026120800.CSV");
  EXPECT_EQ(DefaultCsvPath("/data/file.rlb"), "/data/file.CSV");
  EXPECT_EQ(DefaultCsvPath("/data.d/file"), "/data.d/file.CSV");
  EXPECT_EQ(DefaultCsvPath("/data/.hidden"), "/data/.hidden.CSV");
  EXPECT_EQ(DefaultCsvPath("a.b.RLB"), "a.b.CSV");
  ConvertArguments parsed;
  std::string error;
  ASSERT_TRUE(
      ParseCommandArguments(BindConvertArguments, {"--csv=o.csv", "in.RLB"}, parsed, error));
  EXPECT_EQ(parsed.rlbPath, "in.RLB");
  EXPECT_EQ(parsed.csvPath, "o.csv");
  EXPECT_EQ(parsed.form, CsvType::Q5);
}

}  // namespace
}  // namespace tessaro
