#include "core/collect/RlbWriter.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/collect/DataFileAnalysis.h"
#include "core/collect/LittleEndian.h"
#include "core/support/DefinitionDb.h"
#include "support/RecorderArea.h"
#include "support/RecordingMessageBox.h"
#include "support/TempDir.h"

namespace tessaro {
namespace {

struct Tuple {
  int number;
  int32_t length;
  int elementSize;
  int32_t count;
  size_t data;  // offset of the data
};

// The header as a reader sees it: tuples by length until tuple 23.
std::vector<Tuple> WalkHeader(const std::string& file) {
  std::vector<Tuple> out;
  size_t at = 0;
  while (at + 11 <= file.size()) {
    const auto* p = reinterpret_cast<const uint8_t*>(file.data() + at);
    Tuple t{static_cast<int16_t>(GetLittle16(p)), static_cast<int32_t>(GetLittle32(p + 2)), p[6],
            static_cast<int32_t>(GetLittle32(p + 7)), at + 11};
    out.push_back(t);
    if (t.number == 23 || t.length < 5) break;
    at += 6 + static_cast<size_t>(t.length);
  }
  return out;
}

uint32_t Le32(const std::string& file, size_t at) {
  return GetLittle32(reinterpret_cast<const uint8_t*>(file.data() + at));
}

// A recorder with `rings` rings of which the first four exist; ring n's
// group holds 802 = n and 806 = 4 × (n + 1) bytes of one 4-byte channel.
struct Recorder {
  explicit Recorder(int rings) : rings(rings) {
    rom.Int16(100, 77).Int32(107, 4096).Int32(106, 2048);
    eep.Text(210, "SERIAL-42");
    for (int n = 0; n < rings; ++n) batt.Int32(640 + n, n < 4 ? 1024 + 512 * n : -1);
    std::string b = batt.Bytes(1024);
    for (int n = 0; n < 4; ++n) {
      RecorderArea g;
      g.Int16(202, 1).Int16(2000, 1).Int16(3000, 1001).Int16(2100, 0).Int16(2200, 1);
      g.Int16(2300, 4).DateTime(800, 26, 12, 8, 10, 0, 0).DateTime(801, 26, 12, 8, 11, 0, 0);
      g.Int32(802, n).Int32(806, 4 * (n + 1)).Int32(880, 0).Int32(881, 0);
      b += g.Bytes(512);
    }
    battArea = b;
  }
  int rings;
  RecorderArea rom, eep, batt;
  std::string battArea;
};

class RlbWriterTest : public ::testing::Test {
 protected:
  // One collection of ring `ring`, the way the collection thread drives the writer.
  void Collect(const Recorder& rec, int ring, bool finish = true) {
    ASSERT_TRUE(w.Create(path));
    ASSERT_TRUE(w.WriteHeader(rec.rings));
    ASSERT_TRUE(w.SetFileType());
    ASSERT_TRUE(w.SetVersion("CVX V1.00 this text is longer than thirty-two bytes"));
    ASSERT_TRUE(w.SetModel(77));
    ASSERT_TRUE(w.SetSubModel(-2));
    ASSERT_TRUE(w.SetRomVersion(300));
    ASSERT_TRUE(w.SetFileMemo());
    ASSERT_TRUE(w.SetCollectionTime(EncodeDateTime({2026, 12, 8, 10, 23, 45})));
    ASSERT_TRUE(w.BeginAreas());
    ASSERT_TRUE(w.WriteBlock(rec.rom.Bytes(128).data(), 128));
    ASSERT_TRUE(w.MarkEepArea());
    ASSERT_TRUE(w.WriteBlock(rec.eep.Bytes(128).data(), 128));
    ASSERT_TRUE(w.MarkBattArea());
    ASSERT_TRUE(w.WriteBlock(rec.battArea.data(), rec.battArea.size()));
    ASSERT_TRUE(w.MarkRingDataArea());

    const int64_t ringStart = *w.Position();
    const auto pointer = w.ReadBattTuple(640 + ring);
    ASSERT_TRUE(pointer);
    ASSERT_TRUE(w.WriteBattInteger(640, pointer->Integer()));
    const int64_t bytes = w.ReadGroupTuple(pointer->Integer(), 806)->Integer();
    // The last transfer block is whole: 128 bytes, the tail is padding.
    std::string data;
    for (int e = 0; e < bytes / 4; ++e)
      data += RecorderArea::Big(static_cast<uint32_t>(((e + 1) << 16) | (1000 + e)), 4);
    data.resize(128, '\x1A');
    ASSERT_TRUE(w.WriteBlock(data.data(), data.size()));
    ASSERT_TRUE(w.WriteGroupInteger(pointer->Integer(), 880, ringStart - w.RingDataStart()));
    ASSERT_TRUE(
        w.WriteGroupInteger(pointer->Integer(), 881, ringStart + bytes - w.RingDataStart()));
    ASSERT_TRUE(w.SeekTo(ringStart + bytes));
    if (!finish) return;
    ASSERT_EQ(w.Finish(1, rec.rings), RlbWriter::FinishResult::Ok);
    ASSERT_TRUE(w.Close());
  }

  TempDir dir;
  std::string path = dir.Join("DT2026120800.RLB");
  RlbWriter w;
};

TEST_F(RlbWriterTest, HeaderPlaceholdersInFileOrder) {
  ASSERT_TRUE(w.Create(path));
  ASSERT_TRUE(w.WriteHeader(8));
  EXPECT_FALSE(std::filesystem::exists(path));  // only the temporary file so far
  const std::string file = TempDir::ReadAll(w.ReadablePath());
  const auto tuples = WalkHeader(file);
  const int order[] = {10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 24, 23};
  const int sizes[] = {2, 1, 2, 2, 2, 1, 6, 2, 4, 4, 4, 4, 4, 4, 4};
  const int counts[] = {1, 32, 1, 1, 1, 32, 1, 1, 1, 1, 1, 32, 1, 1, 1};
  ASSERT_EQ(tuples.size(), 15u);
  for (size_t i = 0; i < 15; ++i) {
    EXPECT_EQ(tuples[i].number, order[i]);
    EXPECT_EQ(tuples[i].elementSize, sizes[i]) << order[i];
    EXPECT_EQ(tuples[i].count, counts[i]) << order[i];
    if (order[i] != 23) EXPECT_EQ(tuples[i].length, sizes[i] * counts[i] + 5) << order[i];
  }
  EXPECT_EQ(tuples.back().length, 9);
  EXPECT_EQ(file.size(), tuples.back().data);
  EXPECT_EQ(file.substr(tuples[0].data, 2), "\xFF\xFF");
  EXPECT_EQ(file.substr(tuples[1].data, 32), std::string(32, '\0'));
  EXPECT_EQ(file.substr(tuples[6].data, 6), std::string(6, '\0'));
  EXPECT_EQ(file.substr(tuples[8].data, 4), "\xFF\xFF\xFF\xFF");
  EXPECT_EQ(file.substr(tuples[11].data, 128), std::string(128, '\0'));
  EXPECT_EQ(file.substr(tuples[13].data, 4), "\xFF\xFF\xFF\xFF");
}

TEST_F(RlbWriterTest, CollectionOfAnOldRingWithFortyRings) {
  Recorder rec(40);
  Collect(rec, 3);
  const std::string file = TempDir::ReadAll(path);
  const auto t = WalkHeader(file);
  ASSERT_EQ(t.size(), 15u);
  EXPECT_EQ(GetLittle16(reinterpret_cast<const uint8_t*>(file.data() + t[0].data)), 0);
  EXPECT_EQ(file.substr(t[1].data, 32), "CVX V1.00 this text is longer th");
  EXPECT_EQ(static_cast<int16_t>(Le32(file, t[3].data)), -2);
  EXPECT_EQ(file.substr(t[5].data, 32), std::string(32, '\0'));
  EXPECT_EQ(file.substr(t[6].data, 6), std::string("\x12\x26\x10\x08\x45\x23", 6));
  EXPECT_EQ(static_cast<uint16_t>(Le32(file, t[7].data)), 1);

  const uint32_t rom = Le32(file, t[8].data);
  const uint32_t eep = Le32(file, t[9].data);
  const uint32_t batt = Le32(file, t[10].data);
  EXPECT_EQ(rom, t[14].data);
  EXPECT_EQ(eep, rom + 128);
  EXPECT_EQ(batt, eep + 128);
  EXPECT_EQ(file.substr(rom, 128), rec.rom.Bytes(128));
  EXPECT_EQ(file.substr(eep, 128), rec.eep.Bytes(128));

  // 512 entries: the first 32 from the FILE pointers, the chosen ring first.
  EXPECT_EQ(t[11].count, 512);
  EXPECT_EQ(Le32(file, t[11].data), batt + 1024 + 512 * 3);
  EXPECT_EQ(Le32(file, t[11].data + 4), batt + 1024 + 512);
  EXPECT_EQ(static_cast<int32_t>(Le32(file, t[11].data + 4 * 4)), -1);
  EXPECT_EQ(static_cast<int32_t>(Le32(file, t[11].data + 4 * 31)), -1);
  for (size_t n = 32; n < 512; ++n) ASSERT_EQ(Le32(file, t[11].data + 4 * n), 0u) << n;

  const uint32_t start = Le32(file, t[12].data);
  const uint32_t end = Le32(file, t[13].data);
  EXPECT_EQ(start, batt + rec.battArea.size());
  EXPECT_EQ(end, start + 16);  // ring 3 holds 16 bytes
  EXPECT_EQ(t[14].count, static_cast<int32_t>(end - rom));
  EXPECT_EQ(t[14].length, 9);
  EXPECT_EQ(file.substr(end, 11), std::string("\xFF\xFF\x05\0\0\0\x01\0\0\0\0", 11));
  // Only the last transfer block's padding may follow the marker.
  EXPECT_EQ(file.size(), start + 128);

  DefinitionDb db;
  ASSERT_TRUE(db.Open(std::string(TESSARO_BIN_DIR) + "/DB/Master.mdb"));
  RecordingMessageBox boxes;
  ScopedMessageBoxHandler install(boxes);
  DataFileInfo info;
  info.rlbPath = path;
  ASSERT_TRUE(AnalyseDataFile(info, db, dir.Path())) << ::testing::PrintToString(boxes.Texts());
  EXPECT_EQ(boxes.Count(), 0u);
  EXPECT_EQ(info.recordCount, 4);  // 802 = 3, plus one
  EXPECT_EQ(info.serialText, "SERIAL-42");
  EXPECT_EQ(info.model, 77);
  EXPECT_EQ(info.subModel, -2);
  std::vector<uint8_t> r;
  ASSERT_TRUE(ReadRecord(3, info, r));
  EXPECT_EQ(r, (std::vector<uint8_t>{4, 0, 0x03, 0xEB}));  // first word in host order
}

TEST_F(RlbWriterTest, ThirtyTwoRingsKeepTheSmallTable) {
  Recorder rec(32);
  Collect(rec, 0);
  const auto t = WalkHeader(TempDir::ReadAll(path));
  ASSERT_EQ(t.size(), 15u);
  EXPECT_EQ(t[11].count, 32);
}

TEST_F(RlbWriterTest, RewritesKeepTheTupleTypes) {
  Recorder rec(4);
  Collect(rec, 1, false);
  const int64_t pointer = 1024 + 512;
  EXPECT_FALSE(w.WriteGroupInteger(pointer, 800, 5));  // a date-time
  EXPECT_FALSE(w.WriteGroupInteger(pointer, 202, 5));  // a 16-bit tuple
  EXPECT_FALSE(w.WriteGroupDateTime(pointer, 802, {}));
  EXPECT_FALSE(w.WriteGroupInteger(-1, 802, 5));
  EXPECT_TRUE(w.WriteGroupDateTime(pointer, 800, EncodeDateTime({2026, 12, 8, 10, 0, 5})));
  EXPECT_EQ(DateTimeTextOrInvalid(w.ReadGroupTuple(pointer, 800)->DateTime()), "26/12/08 10:00:05");
  EXPECT_FALSE(w.ReadBattTuple(640 + 4));
}

TEST_F(RlbWriterTest, UnfinishedFileIsDeleted) {
  Recorder rec(4);
  {
    RlbWriter other;
    ASSERT_TRUE(other.Create(path));
    ASSERT_TRUE(other.WriteHeader(4));
  }
  EXPECT_FALSE(std::filesystem::exists(path));

  Collect(rec, 0, false);
  EXPECT_FALSE(w.Close());  // not finished
  EXPECT_FALSE(std::filesystem::exists(path));

  // Finish fails when a FILE pointer cannot be read, and nothing is kept.
  Recorder broken(6);
  Collect(broken, 0, false);
  EXPECT_EQ(w.Finish(1, 7), RlbWriter::FinishResult::FilePointerFailed);
  EXPECT_FALSE(w.Close());
  EXPECT_FALSE(std::filesystem::exists(path));

  // A finished and closed file stays, also when the writer is reused.
  Collect(rec, 0);
  EXPECT_TRUE(std::filesystem::exists(path));
  const std::string other = dir.Join("other.RLB");
  ASSERT_TRUE(w.Create(other));
  w.Discard();
  EXPECT_TRUE(std::filesystem::exists(path));
  EXPECT_FALSE(std::filesystem::exists(other));
}

}  // namespace
}  // namespace tessaro
