#include "core/collect/CollectionReport.h"

#include <gtest/gtest.h>

#include "core/support/CodePage.h"
#include "core/support/DefinitionDb.h"
#include "support/RecordingMessageBox.h"
#include "support/TempDir.h"

namespace tessaro {
namespace {

const std::string kDashes(80, '-');

class CollectionReportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(db_.Open(std::string(TESSARO_BIN_DIR) + "/DB/Master.mdb"));
    info_.version = "CVX-100 V1.23";
    info_.model = 12;
    info_.subModel = 3;
    info_.romVersion = 101;
    info_.serialText = "SN-000123";
    info_.startTime = EncodeDateTime({2026, 12, 8, 10, 0, 0});
    info_.stopTime = EncodeDateTime({2026, 12, 8, 11, 0, 0});
    info_.recordCount = 3;
    info_.channels.resize(2);
    info_.channels[0].interval = 1005;
    info_.channels[0].textA = "電圧";
    info_.channels[0].textB = "DC ±1V";
    info_.channels[0].textC = "0.1mV";
    info_.channels[1].textA = "温度";
    info_.channels[1].textB = "熱電対 K";
    info_.channels[1].textC = "0.1℃";
    run_.rlbPath = "/data/DT2026120900.RLB";
    run_.csvPath = "/data/DT2026120900.CSV";
    run_.csvType = CsvType::Corvex;
  }

  DefinitionDb db_;
  DataFileInfo info_;
  ReportRun run_;
  const DateTimeFields now_{2026, 12, 9, 8, 5, 3};
};

TEST_F(CollectionReportTest, BlockInCp932) {
  const std::string expected = Utf8ToCp932(kDashes + "\r\n" +
                                           "作成日付          : 2026/12/09 08:05:03\r\n"
                                           "RLBファイル名称   : /data/DT2026120900.RLB\r\n"
                                           "CSVファイル名称   : /data/DT2026120900.CSV\r\n"
                                           "RLBファイル保存   : する\r\n"
                                           "CSVファイルタイプ : Corvex形式\r\n"
                                           "回収リング        : NEWリング\r\n"
                                           "シリアル番号      : SN-000123\r\n"
                                           "モデルコード      : 0012\r\n"
                                           "サブモデルコード  : 0003\r\n"
                                           "ＲＯＭコード      : 0101\r\n"
                                           "ファームウェア    : CVX-100 V1.23\r\n"
                                           "測定開始時刻      : 26/12/08 10:00:00\r\n"
                                           "測定終了時刻      : 26/12/08 11:00:00\r\n"
                                           "測定データ数      : 3\r\n"
                                           "測定チャンネル数  : 2\r\n"
                                           "測定モード01      : 電圧,DC ±1V,0.1mV\r\n"
                                           "測定モード02      : 温度,熱電対 K,0.1℃\r\n"
                                           "測定インターバル  : 5 秒\r\n");
  EXPECT_EQ(CollectionReportText(info_, run_, db_, now_), expected);
}

TEST_F(CollectionReportTest, CollectionVariantsAndRecorderBytes) {
  run_.rlbKept = false;
  run_.csvType = CsvType::Q5;
  info_.ringIndex = 2;
  info_.serialText = "\x83\x65\x83\x58\x83\x67";  // recorder's CP932 bytes
  info_.channels[0].interval = 1101;
  const std::string text = CollectionReportText(info_, run_, db_, now_);
  EXPECT_NE(text.find(Utf8ToCp932("RLBファイル保存   : しない\r\n")), std::string::npos);
  EXPECT_NE(text.find(Utf8ToCp932("CSVファイルタイプ : Ｑ５シリーズ形式\r\n")), std::string::npos);
  EXPECT_NE(text.find(Utf8ToCp932("回収リング        : OLD-2リング\r\n")), std::string::npos);
  EXPECT_NE(text.find(Utf8ToCp932("シリアル番号      : ") + "\x83\x65\x83\x58\x83\x67\r\n"),
            std::string::npos);
  EXPECT_NE(text.find(Utf8ToCp932("測定インターバル  : 1 分\r\n")), std::string::npos);
}

TEST_F(CollectionReportTest, RunsOfOneMonthAppendToOneFile) {
  TempDir dir;
  const std::string folder = dir.Path() + "/";
  ASSERT_TRUE(WriteCollectionReport(info_, run_, db_, folder));
  run_.csvPath = "/data/second.CSV";
  ASSERT_TRUE(WriteCollectionReport(info_, run_, db_, folder));
  const std::string log = TempDir::ReadAll(ReportFilePath(folder, NowFields()));
  const std::string lead = kDashes + "\r\n" + Utf8ToCp932("作成日付");
  const size_t first = log.find(lead);
  ASSERT_EQ(first, 0u);
  const size_t second = log.find(lead, 1);
  ASSERT_NE(second, std::string::npos);
  EXPECT_EQ(log.find(lead, second + 1), std::string::npos);
  EXPECT_NE(log.find("/data/second.CSV", second), std::string::npos);
  EXPECT_EQ(log.compare(log.size() - 2, 2, "\r\n"), 0);
}

TEST_F(CollectionReportTest, ReportFileIsNamedAfterTheMonth) {
  EXPECT_EQ(ReportFilePath("/opt/tessaro/", {2026, 3, 31, 23, 59, 59}),
            "/opt/tessaro/LOG/202603.LOG");
}

TEST_F(CollectionReportTest, UnopenableLogIsShownAndIgnored) {
  TempDir dir;
  dir.WriteFile("LOG", "a file where the folder should be");
  RecordingMessageBox boxes;
  ScopedMessageBoxHandler install(boxes);
  EXPECT_FALSE(WriteCollectionReport(info_, run_, db_, dir.Path() + "/"));
  run_.conversion = true;
  EXPECT_FALSE(WriteCollectionReport(info_, run_, db_, dir.Path() + "/"));
  EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"ログファイルのオープンに失敗しました。",
                                                     "ログファイルのオープンに失敗しました。"}));
  EXPECT_EQ(boxes.Count(BoxKind::Error), 2u);
}

}  // namespace
}  // namespace tessaro
