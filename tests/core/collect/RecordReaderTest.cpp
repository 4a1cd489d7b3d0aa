#include "core/collect/RecordReader.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "core/collect/DataFileAnalysis.h"
#include "core/support/DefinitionDb.h"
#include "support/RecordingMessageBox.h"
#include "support/TempDir.h"
#include "support/TestRlbFile.h"

namespace tessaro {
namespace {

class RecordReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(db_.Open(std::string(TESSARO_BIN_DIR) + "/DB/Master.mdb"));
    TestRlb rlb;
    // Record size 11: date-time, time of day and a plain value, all converted.
    rlb.channels = {{138, 1001, 0, 6, 6}, {1, 1001, 0, 23, 4}, {1, 1001, 0, 1, 1}};
    for (int i = 0; i < 40; ++i)
      rlb.records.push_back(Concat({StoredDateTime({2026, 12, 8, 10, 0, i}),
                                    {0x00, 0x10, static_cast<uint8_t>(i), 0x30},
                                    {static_cast<uint8_t>(i)}}));
    rlb.rotation = 13;
    ASSERT_TRUE(TestRlbFile(rlb).Write(dir_.Join("R.RLB")));
    info_.rlbPath = dir_.Join("R.RLB");
    ASSERT_TRUE(AnalyseDataFile(info_, db_, dir_.Path() + "/"));
  }

  // The reader and ReadRecord agree on the result and the bytes of every
  // index, beyond the record count too (the ring repeats).
  void ExpectSameAsReadRecord(size_t window) {
    RecordReader reader(info_, window);
    std::vector<uint8_t> fast, plain;
    for (int64_t e = -2; e < 3 * info_.recordCount; ++e) {
      const bool a = reader.Read(e, fast);
      const bool b = ReadRecord(e, info_, plain);
      ASSERT_EQ(a, b) << "record " << e;
      if (a) {
        ASSERT_EQ(fast, plain) << "record " << e;
      }
    }
  }

  TempDir dir_;
  DefinitionDb db_;
  RecordingMessageBox boxes_;
  ScopedMessageBoxHandler install_{boxes_};
  DataFileInfo info_;
};

TEST_F(RecordReaderTest, SameRecordsAsReadRecord) {
  for (size_t window : {1, 64, 100, 1 << 20}) ExpectSameAsReadRecord(window);
}

TEST_F(RecordReaderTest, RecordsStraddlingTheRingEnd) {
  info_.firstDataOffset += 5;  // every wrap now splits one record in two
  ExpectSameAsReadRecord(64);
}

TEST_F(RecordReaderTest, FileCutShort) {
  ASSERT_EQ(::truncate(info_.work.Path().c_str(), info_.dataAreaEnd - 30), 0);
  ExpectSameAsReadRecord(128);
  RecordReader reader(info_);
  std::vector<uint8_t> record;
  EXPECT_TRUE(reader.Read(0, record));
  EXPECT_FALSE(reader.Read(info_.recordCount - 14, record));  // stored in the lost tail
}

}  // namespace
}  // namespace tessaro
