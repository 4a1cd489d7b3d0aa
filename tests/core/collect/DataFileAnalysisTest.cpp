#include "core/collect/DataFileAnalysis.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <filesystem>
#include <random>

#include "core/support/DefinitionDb.h"
#include "core/support/Messages.h"
#include "support/RecordingMessageBox.h"
#include "support/TempDir.h"
#include "support/TestRlbFile.h"

namespace tessaro {
namespace {

int16_t Word(const std::vector<uint8_t>& r, size_t at) {
  int16_t v;
  std::memcpy(&v, r.data() + at, 2);
  return v;
}

class DataFileAnalysisTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(db.Open(std::string(TESSARO_BIN_DIR) + "/DB/Master.mdb"));
    ::mkdir(WorkDir().c_str(), 0700);
  }

  std::string WorkDir() const { return dir.Join("work"); }

  bool Analyse(TestRlbFile& img) { return AnalyseBytes(img.Build()); }

  bool AnalyseBytes(const std::string& bytes) {
    info = DataFileInfo{};
    info.rlbPath = dir.WriteFile("in.RLB", bytes);
    return AnalyseDataFile(info, db, WorkDir());
  }

  size_t WorkFiles() const {
    size_t n = 0;
    for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(WorkDir())) ++n;
    return n;
  }

  std::vector<uint8_t> Record(int64_t e) {
    std::vector<uint8_t> r;
    EXPECT_TRUE(ReadRecord(e, info, r)) << "record " << e;
    return r;
  }

  TempDir dir;
  DefinitionDb db;
  RecordingMessageBox boxes;
  ScopedMessageBoxHandler install{boxes};
  DataFileInfo info;
};

TEST_F(DataFileAnalysisTest, ReadsHeaderRingAndChannels) {
  TestRlbFile img;
  img.version = "0123456789ABCDEFGHIJ";
  ASSERT_TRUE(Analyse(img)) << ::testing::PrintToString(boxes.Texts());
  EXPECT_EQ(boxes.Count(), 0u);
  EXPECT_EQ(info.version, "0123456789ABCDEF");
  EXPECT_EQ(info.model, 1234);
  EXPECT_EQ(info.subModel, 5);
  EXPECT_EQ(info.romVersion, 300);
  EXPECT_EQ(DateTimeTextOrInvalid(info.collectionTime), "26/12/08 10:23:45");
  EXPECT_EQ(info.ringCount, 1);
  EXPECT_EQ(info.romOffset, img.romOffset);
  EXPECT_EQ(info.eepOffset, img.eepOffset);
  EXPECT_EQ(info.battOffset, img.battOffset);
  EXPECT_EQ(info.dataAreaStart, img.dataStart);
  EXPECT_EQ(info.dataAreaEnd, img.dataEnd);
  EXPECT_EQ(info.ringTable[0], img.battOffset + 1024);
  EXPECT_EQ(info.ringTable[1], 0);
  EXPECT_EQ(info.firstDataOffset, img.dataStart);
  EXPECT_EQ(info.dataAreaSize, 100000);
  EXPECT_EQ(info.serialText, "SN-0001");
  EXPECT_EQ(info.dateText, "2026/01/15");
  EXPECT_EQ(info.memos[0], "memo one");
  EXPECT_EQ(info.memos[1], "");
  EXPECT_EQ(info.memos[7], "memo eight");
  EXPECT_EQ(DateTimeTextOrInvalid(info.startTime), "26/12/08 10:00:00");
  EXPECT_EQ(DateTimeTextOrInvalid(info.stopTime), "26/12/08 10:00:02");
  EXPECT_EQ(info.recordCount, 3);  // 802 plus one when 806 > 0
  EXPECT_EQ(info.dataBytes, 12);
  EXPECT_EQ(info.overwriteIndex, -1);
  EXPECT_EQ(info.batteryLowIndex, -1);
  ASSERT_EQ(info.ChannelCount(), 2);
  EXPECT_EQ(info.recordSize, 4);
  const ChannelInfo& c1 = info.channels[1];
  EXPECT_EQ(c1.mode, 2);
  EXPECT_EQ(c1.interval, 1001);
  EXPECT_EQ(c1.decimals, -1);
  EXPECT_EQ(c1.dataType, 1);
  EXPECT_EQ(c1.bytes, 2);
  EXPECT_EQ(c1.offset, 2);
  EXPECT_EQ(c1.textA, db.FindModeTexts(2).a);
  EXPECT_EQ(c1.label, db.FindModeTexts(2).label);
  EXPECT_FALSE(c1.label.empty());

  for (int e = 0; e < 3; ++e) {
    const auto r = Record(e);
    ASSERT_EQ(r.size(), 4u);
    EXPECT_EQ(Word(r, 0), 100 + e);
    EXPECT_EQ(Word(r, 2), -(e + 1));
  }
  EXPECT_EQ(Record(-5), Record(0));
  EXPECT_EQ(WorkFiles(), 1u);
}

TEST_F(DataFileAnalysisTest, WorkFileIsACopyDeletedWithItsOwner) {
  TestRlbFile img;
  {
    DataFileInfo local;
    local.rlbPath = dir.WriteFile("in.RLB", img.Build());
    ASSERT_TRUE(AnalyseDataFile(local, db, WorkDir()));
    EXPECT_EQ(local.work.Path(), WorkDir() + "/CVXWIN0.TMP");
    // Up to the end of the ring data: the end marker and the tail stay out.
    EXPECT_TRUE(TempDir::ReadAll(local.work.Path()) ==
                TempDir::ReadAll(local.rlbPath).substr(0, img.dataEnd));
    // The original may go; records come from the copy.
    std::filesystem::remove(local.rlbPath);
    std::vector<uint8_t> r;
    EXPECT_TRUE(ReadRecord(1, local, r));
    EXPECT_EQ(Word(r, 0), 101);
  }
  EXPECT_EQ(WorkFiles(), 0u);
}

TEST_F(DataFileAnalysisTest, OptionalTuplesMayBeAbsent) {
  TestRlbFile img;
  img.eep.Remove(211);
  img.rom.Remove(107);
  auto& g = img.groups[0];
  for (int k = 0; k < 8; ++k) g.Remove(620 + k);
  g.DateTime(805, 26, 12, 8, 10, 0, 1).Remove(805);
  ASSERT_TRUE(Analyse(img));
  EXPECT_EQ(boxes.Count(), 0u);
  EXPECT_EQ(info.dateText, "");
  for (const auto& m : info.memos) EXPECT_EQ(m, "");
  EXPECT_EQ(info.batteryLowTime, RecorderDateTime{});
  EXPECT_EQ(info.batteryLowIndex, -1);
  EXPECT_EQ(info.dataAreaSize, -1);
  EXPECT_EQ(info.overwriteIndex, -1);
}

TEST_F(DataFileAnalysisTest, ChannelCountOutOfRangeMeansOneChannel) {
  for (int count : {0, -3, 33, 40}) {
    TestRlbFile img;
    img.groups[0].Int16(202, count);
    ASSERT_TRUE(Analyse(img)) << count;
    EXPECT_EQ(info.ChannelCount(), 1) << count;
    EXPECT_EQ(info.recordSize, 2);
  }
  TestRlbFile img;
  img.groups[0].Remove(202);
  ASSERT_TRUE(Analyse(img));
  EXPECT_EQ(info.ChannelCount(), 1);
}

TEST_F(DataFileAnalysisTest, OlderNumberingAndBaseFallback) {
  TestRlbFile img;
  RecorderArea g;
  // Three channels in the older numbering; channel 2 has no tuples of its
  // own and takes the base values (channel 0's).
  g.Int16(202, 3)
      .Int16(240, 1)
      .Int16(241, 3)
      .Int16(260, 1010)
      .Int16(261, 1010)
      .Int16(820, -2)
      .Int16(821, 0)
      .Int16(840, 11)
      .Int16(841, 10)
      .Int16(860, 2)
      .Int16(861, 2)
      .DateTime(800, 26, 12, 8, 10, 0, 0)
      .DateTime(801, 26, 12, 8, 10, 0, 20)
      .Int32(802, 1)
      .Int32(806, 12);
  img.groups[0] = g;
  ASSERT_TRUE(Analyse(img));
  ASSERT_EQ(info.ChannelCount(), 3);
  EXPECT_EQ(info.channels[0].decimals, -2);
  EXPECT_EQ(info.channels[1].mode, 3);
  EXPECT_EQ(info.channels[1].dataType, 10);
  EXPECT_EQ(info.channels[2].mode, 1);
  EXPECT_EQ(info.channels[2].interval, 1010);
  EXPECT_EQ(info.channels[2].decimals, -2);
  EXPECT_EQ(info.channels[2].dataType, 11);
  EXPECT_EQ(info.channels[2].offset, 4);
  EXPECT_EQ(info.recordSize, 6);

  // Neither numbering for a series: the ring cannot be read.
  img.groups[0].Remove(840).Remove(841);
  EXPECT_FALSE(Analyse(img));
  EXPECT_EQ(boxes.Texts().back(), LoadMessage(MsgRlbTupleError));
  EXPECT_EQ(WorkFiles(), 0u);
}

// Channels of every record layout: a date-time channel first (mode 138),
// a wind record, a direction, a type 6, a type 21 and a type 23 channel.
TEST_F(DataFileAnalysisTest, ConvertsEachChannelKindToHostOrder) {
  TestRlbFile img;
  RecorderArea g;
  const int modes[] = {138, 600, 159, 1, 300, 1};
  const int types[] = {6, 1, 150, 6, 21, 23};
  const int bytes[] = {6, 5, 2, 6, 2, 4};
  g.Int16(202, 6);
  for (int c = 0; c < 6; ++c) {
    g.Int16(2000 + c, modes[c]).Int16(3000 + c, 1001).Int16(2100 + c, 0);
    g.Int16(2200 + c, types[c]).Int16(2300 + c, bytes[c]);
  }
  g.DateTime(800, 26, 12, 8, 10, 0, 0).DateTime(801, 26, 12, 8, 10, 0, 0);
  g.Int32(802, 0).Int32(806, 25);
  img.groups[0] = g;
  img.ringData = RecorderArea::DateTimeBytes(26, 12, 8, 10, 23, 45) +  // 138
                 std::string("\x81\x25\x0A\x1B\x2C", 5) +              // wind
                 RecorderArea::Big(16, 2) +                            // direction
                 RecorderArea::DateTimeBytes(99, 1, 31, 23, 59, 58) +  // type 6
                 RecorderArea::Big(0xABCD, 2) +                        // type 21
                 std::string("\x01\x12\x34\x56", 4);                   // type 23
  ASSERT_TRUE(Analyse(img)) << ::testing::PrintToString(boxes.Texts());
  EXPECT_EQ(boxes.Count(), 0u);
  ASSERT_EQ(info.recordSize, 25);
  ASSERT_EQ(info.recordCount, 1);
  const auto r = Record(0);
  RecorderDateTime dt;
  std::copy_n(r.begin(), 6, dt.begin());
  EXPECT_EQ(DateTimeTextOrInvalid(dt), "26/12/08 10:23:45");
  EXPECT_EQ(std::vector<uint8_t>(r.begin() + 6, r.begin() + 11),
            (std::vector<uint8_t>{0x81, 0x25, 0x0A, 0x1B, 0x2C}));
  EXPECT_EQ(Word(r, 11), 16);
  std::copy_n(r.begin() + 13, 6, dt.begin());
  EXPECT_EQ(DateTimeTextOrInvalid(dt), "99/01/31 23:59:58");
  EXPECT_EQ(static_cast<uint16_t>(Word(r, 19)), 0xABCD);
  EXPECT_EQ(std::vector<uint8_t>(r.begin() + 21, r.end()),
            (std::vector<uint8_t>{0x12, 0x01, 0x56, 0x34}));
}

TEST_F(DataFileAnalysisTest, RecordStraddlingTheRingEndIsReadInTwoParts) {
  TestRlbFile img;
  // Three 4-byte records; the ring starts 6 bytes in, so record 1 runs from
  // byte 10 over the end (12) to byte 2, and record 2 lies at byte 2.
  const std::string rec0 = RecorderArea::Big(7, 2) + RecorderArea::Big(8, 2);
  const std::string rec1 = RecorderArea::Big(0x0102, 2) + RecorderArea::Big(0x0304, 2);
  const std::string rec2 = RecorderArea::Big(9, 2) + RecorderArea::Big(10, 2);
  img.ringData = rec1.substr(2) + rec2 + rec0 + rec1.substr(0, 2);
  ASSERT_EQ(img.ringData.size(), 12u);
  img.startPointer = 6;
  ASSERT_TRUE(Analyse(img));
  EXPECT_EQ(info.firstDataOffset, img.dataStart + 6);
  auto r = Record(0);
  EXPECT_EQ(Word(r, 0), 7);
  EXPECT_EQ(Word(r, 2), 8);
  r = Record(1);
  EXPECT_EQ(Word(r, 0), 0x0102);
  EXPECT_EQ(Word(r, 2), 0x0304);
  r = Record(2);
  EXPECT_EQ(Word(r, 0), 9);
  EXPECT_EQ(Word(r, 2), 10);
}

TEST_F(DataFileAnalysisTest, OverwriteAndBatteryLowAreNoticed) {
  TestRlbFile img;
  img.rom.Int32(107, 4);  // room for one record: 12 bytes stored, 8 overwritten
  img.groups[0].DateTime(805, 26, 12, 8, 10, 0, 2);
  ASSERT_TRUE(Analyse(img));
  EXPECT_EQ(info.overwriteIndex, 2);
  EXPECT_EQ(info.batteryLowIndex, 2);
  EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{
                               FormatMessage(MsgOverwrittenData, 2),
                               FormatMessage(MsgBatteryLowData, 2),
                           }));
  EXPECT_EQ(boxes.Texts()[0],
            "測定データ中にオーバーライトされたデータ(2データ以降)が存在します。");

  // Battery LOW outside [start, stop], or not a valid date-time: none.
  img.rom.Int32(107, 12);
  img.groups[0].DateTime(805, 26, 12, 8, 10, 0, 3);
  ASSERT_TRUE(Analyse(img));
  EXPECT_EQ(info.overwriteIndex, -1);
  EXPECT_EQ(info.batteryLowIndex, -1);
  img.groups[0].DateTime(805, 26, 13, 8, 10, 0, 1);
  ASSERT_TRUE(Analyse(img));
  EXPECT_EQ(info.batteryLowIndex, -1);

  // Ten-minute interval, LOW 25 minutes after the start.
  img.groups[0].Int16(3000, 1110).DateTime(801, 26, 12, 8, 11, 0, 0);
  img.groups[0].DateTime(805, 26, 12, 8, 10, 25, 0);
  ASSERT_TRUE(Analyse(img));
  EXPECT_EQ(info.batteryLowIndex, 2);
  // A sub-second interval has no whole-second span; 0.5 s gives 3000.
  img.groups[0].Int16(3000, 210);
  ASSERT_TRUE(Analyse(img));
  EXPECT_EQ(info.batteryLowIndex, 3000);
}

TEST_F(DataFileAnalysisTest, UnknownModeIsReportedAndAnalysisGoesOn) {
  TestRlbFile img;
  img.groups[0].Int16(2001, 999);
  ASSERT_TRUE(Analyse(img));
  EXPECT_EQ(boxes.Texts(),
            (std::vector<std::string>{"測定モードﾞ(999)情報がＤＢに登録されていません。\n"
                                      "Corvexのバージョンアップをお勧めします。"}));
  EXPECT_EQ(boxes.Boxes()[0].kind, BoxKind::Error);
  EXPECT_EQ(info.channels[1].mode, 999);
  EXPECT_EQ(info.channels[1].label, "");
  EXPECT_EQ(info.channels[1].textA, "");
  EXPECT_FALSE(info.channels[0].label.empty());
}

TEST_F(DataFileAnalysisTest, FortyRingsWithALargeRingTable) {
  TestRlbFile img;
  img.ringTableSize = 512;
  for (int n = 1; n < 40; ++n) img.groups.push_back(img.groups[0]);
  ASSERT_TRUE(Analyse(img));
  for (int n = 0; n < 32; ++n) EXPECT_EQ(info.ringTable[n], img.battOffset + 1024 + 2048 * n);
  EXPECT_EQ(info.ringTable[32], 0);
  EXPECT_EQ(info.ringTable[511], 0);
  EXPECT_EQ(info.recordCount, 3);
}

TEST_F(DataFileAnalysisTest, MissingPiecesFailWithTheirMessage) {
  struct Case {
    const char* what;
    void (*edit)(TestRlbFile&);
    int message;
  };
  const Case cases[] = {
      {"ring 0 absent", [](TestRlbFile& i) { i.ringTableOverride[0] = -1; }, MsgRlbTupleError},
      {"no serial", [](TestRlbFile& i) { i.eep.Remove(210); }, MsgRlbTupleError},
      {"no start time", [](TestRlbFile& i) { i.groups[0].Remove(800); }, MsgRlbTupleError},
      {"stop time of wrong type", [](TestRlbFile& i) { i.groups[0].Int32(801, 5); },
       MsgRlbTupleError},
      {"no data count", [](TestRlbFile& i) { i.groups[0].Remove(802); }, MsgRlbTupleError},
      {"no byte count", [](TestRlbFile& i) { i.groups[0].Remove(806); }, MsgRlbTupleError},
      {"data count beyond the data area",
       [](TestRlbFile& i) { i.groups[0].Int32(802, 2000000000); }, MsgRlbTupleError},
      {"negative data count", [](TestRlbFile& i) { i.groups[0].Int32(802, -5); }, MsgRlbTupleError},
      {"no start pointer", [](TestRlbFile& i) { i.startPointer = -1; }, MsgRlbTupleError},
      {"zero-byte channel", [](TestRlbFile& i) { i.groups[0].Int16(2301, 0); }, MsgRlbTupleError},
      {"record above 1024 bytes", [](TestRlbFile& i) { i.groups[0].Int16(2301, 1023); },
       MsgRlbTupleError},
      {"EEP area not starting with 0",
       [](TestRlbFile& i) {
         i.eep = RecorderArea();
         i.eep.Remove(0).Text(210, "x");
       },
       MsgRlbTupleError},
  };
  for (const auto& c : cases) {
    TestRlbFile img;
    c.edit(img);
    boxes.Clear();
    EXPECT_FALSE(Analyse(img)) << c.what;
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{LoadMessage(c.message)}) << c.what;
    EXPECT_FALSE(info.work.IsOpen());
    EXPECT_EQ(WorkFiles(), 0u) << c.what;
  }
}

TEST_F(DataFileAnalysisTest, BrokenHeadersFailWithTheHeaderMessage) {
  TestRlbFile img;
  const std::string good = img.Build();
  // Tuple 12 (model) renumbered to 99: missing.
  std::string bytes = good;
  const size_t model = 11 + 2 + 11 + 32;
  ASSERT_EQ(bytes[model], 12);
  bytes[model] = 99;
  EXPECT_FALSE(AnalyseBytes(bytes));
  EXPECT_EQ(boxes.Texts().back(), LoadMessage(MsgRlbHeaderError));
  // A length field below 5 stops the walk.
  bytes = good;
  bytes[2] = 1;
  bytes[3] = bytes[4] = bytes[5] = 0;
  EXPECT_FALSE(AnalyseBytes(bytes));
  EXPECT_EQ(boxes.Texts().back(), LoadMessage(MsgRlbHeaderError));
  // Tuple 12 with 4-byte elements is not a model code.
  bytes = good;
  bytes[model + 6] = 4;
  EXPECT_FALSE(AnalyseBytes(bytes));
  EXPECT_EQ(boxes.Texts().back(), LoadMessage(MsgRlbHeaderError));
  // An EEP offset beyond the ring data: the areas are out of order.
  bytes = good;
  const size_t eepOffsetData = 13 + 43 + 13 + 13 + 13 + 43 + 17 + 13 + 15 + 11;
  ASSERT_EQ(static_cast<uint8_t>(bytes[eepOffsetData - 11]), 19);
  bytes.replace(eepOffsetData, 4, std::string("\xF0\xFF\xFF\x7F", 4));
  EXPECT_FALSE(AnalyseBytes(bytes));
  EXPECT_EQ(boxes.Texts().back(), LoadMessage(MsgRlbTupleError));
  EXPECT_EQ(WorkFiles(), 0u);
}

TEST_F(DataFileAnalysisTest, FileOrWorkFolderProblemsFailWithTheirMessage) {
  info = DataFileInfo{};
  info.rlbPath = dir.Join("missing.RLB");
  EXPECT_FALSE(AnalyseDataFile(info, db, WorkDir()));
  EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"作業ファイルのコピーに失敗しました。"});
  EXPECT_EQ(WorkFiles(), 0u);

  boxes.Clear();
  TestRlbFile img;
  info.rlbPath = dir.WriteFile("in.RLB", img.Build());
  EXPECT_FALSE(AnalyseDataFile(info, db, dir.Join("no/such/folder")));
  EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"作業ファイルを作成できませんでした。"});
}

TEST_F(DataFileAnalysisTest, WhatIsNotAnRlbFileIsRefusedBeforeAnyCopy) {
  TestRlbFile img;
  const std::string good = img.Build();
  const std::string fifo = dir.Join("fifo.RLB");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  // A sparse gigabyte behind a valid file: only the declared part is copied.
  const std::string tail = dir.WriteFile("tail.RLB", good);
  std::filesystem::resize_file(tail, good.size() + (int64_t{1} << 30));
  struct Case {
    std::string path;
    int message;  // 0: analysed
  } const cases[] = {
      {"/dev/zero", MsgRlbHeaderError}, {"/dev/null", MsgRlbHeaderError},
      {fifo, MsgRlbHeaderError},  // would wait for a writer
      {dir.Path(), MsgRlbHeaderError},  {tail, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    boxes.Clear();
    info = DataFileInfo{};
    info.rlbPath = c.path;
    const bool ok = AnalyseDataFile(info, db, WorkDir());
    EXPECT_EQ(ok, c.message == 0);
    if (ok) {
      EXPECT_EQ(std::filesystem::file_size(info.work.Path()), static_cast<uintmax_t>(img.dataEnd));
      info.work.Remove();
    } else {
      EXPECT_EQ(boxes.Texts(), std::vector<std::string>{LoadMessage(c.message)});
    }
    EXPECT_EQ(WorkFiles(), 0u);
  }
}

TEST_F(DataFileAnalysisTest, TruncatedFilesFailCleanly) {
  TestRlbFile img;
  const std::string good = img.Build();
  for (size_t size = 0; size < good.size(); size += 13) {
    boxes.Clear();
    const bool ok = AnalyseBytes(good.substr(0, size));
    // Up to the end of the ring group nothing can succeed.
    if (size < static_cast<size_t>(img.battOffset) + 1024 + 300) {
      ASSERT_FALSE(ok) << size;
      ASSERT_EQ(boxes.Count(), 1u) << size;
      const std::string text = boxes.Texts()[0];
      EXPECT_TRUE(text == LoadMessage(MsgRlbHeaderError) || text == LoadMessage(MsgRlbTupleError))
          << size << ": " << text;
      EXPECT_EQ(WorkFiles(), 0u);
    }
  }
}

TEST_F(DataFileAnalysisTest, CorruptedAndRandomFilesNeverCrash) {
  TestRlbFile img;
  img.groups[0].Int16(2001, 600);
  const std::string good = img.Build();
  std::mt19937 rng(12345);
  const std::vector<std::string> allowed = {LoadMessage(MsgRlbHeaderError),
                                            LoadMessage(MsgRlbTupleError)};
  for (int round = 0; round < 300; ++round) {
    std::string bytes;
    if (round % 3 == 0) {
      std::uniform_int_distribution<size_t> len(0, 4000);
      bytes.resize(len(rng));
      for (auto& b : bytes) b = static_cast<char>(rng());
    } else {
      bytes = good;
      const int flips = 1 + static_cast<int>(rng() % 8);
      for (int f = 0; f < flips; ++f) bytes[rng() % bytes.size()] = static_cast<char>(rng());
    }
    boxes.Clear();
    if (AnalyseBytes(bytes)) {
      std::vector<uint8_t> r;
      for (int64_t e = 0; e < std::min<int64_t>(info.recordCount, 50); ++e) ReadRecord(e, info, r);
      ReadRecord(info.recordCount + 1000, info, r);
    } else {
      ASSERT_GE(boxes.Count(), 1u);
      const std::string last = boxes.Texts().back();
      EXPECT_NE(std::find(allowed.begin(), allowed.end(), last), allowed.end()) << last;
    }
  }
  info = DataFileInfo{};
  EXPECT_EQ(WorkFiles(), 0u);
}

TEST(DataFileNamesTest, FirstFreeSequenceOfToday) {
  TempDir dir;
  const DateTimeFields now = NowFields();
  char stem[32];
  std::snprintf(stem, sizeof stem, "DT%.4d%.2d%.2d", now.year, now.month, now.day);
  auto names = MakeDataFileNames(dir.Path());
  ASSERT_TRUE(names);
  EXPECT_EQ(names->csvPath, dir.Path() + "/" + stem + "00.CSV");
  EXPECT_EQ(names->rlbPath, dir.Path() + "/" + stem + "00.RLB");
  // Either file of a pair takes its number.
  dir.WriteFile(std::string(stem) + "00.RLB", "");
  dir.WriteFile(std::string(stem) + "01.CSV", "");
  names = MakeDataFileNames(dir.Path() + "/");
  ASSERT_TRUE(names);
  EXPECT_EQ(names->csvPath, dir.Path() + "/" + stem + "02.CSV");
  for (int s = 0; s <= 99; ++s) {
    char name[40];
    std::snprintf(name, sizeof name, "%s%.2d.CSV", stem, s);
    dir.WriteFile(name, "");
  }
  EXPECT_FALSE(MakeDataFileNames(dir.Path()));
}

TEST(WorkFileNameTest, ClaimsTheFirstFreeNumber) {
  TempDir dir;
  WorkFile first = MakeWorkFile(dir.Path());
  EXPECT_EQ(first.Path(), dir.Join("CVXWIN0.TMP"));
  EXPECT_TRUE(std::filesystem::exists(first.Path()));
  dir.WriteFile("CVXWIN2.TMP", "");
  WorkFile second = MakeWorkFile(dir.Path());
  WorkFile third = MakeWorkFile(dir.Path());
  EXPECT_EQ(second.Path(), dir.Join("CVXWIN1.TMP"));
  EXPECT_EQ(third.Path(), dir.Join("CVXWIN3.TMP"));
  EXPECT_EQ(MakeWorkFile(dir.Join("absent")).Path(), "");
  first.Remove();
  EXPECT_FALSE(std::filesystem::exists(dir.Join("CVXWIN0.TMP")));
  EXPECT_TRUE(std::filesystem::exists(dir.Join("CVXWIN2.TMP")));  // not ours
}

}  // namespace
}  // namespace tessaro
