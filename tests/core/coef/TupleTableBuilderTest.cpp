#include "core/coef/TupleTableBuilder.h"

#include <gtest/gtest.h>

#include "core/coef/CoefficientReader.h"
#include "core/coef/TupleWalk.h"
#include "core/support/DefinitionDb.h"
#include "core/support/Messages.h"
#include "support/RecorderArea.h"
#include "support/RecordingProgress.h"

namespace tessaro {
namespace {

std::vector<uint8_t> Image(const std::string& bytes) { return {bytes.begin(), bytes.end()}; }

TEST(TupleWalkTest, MalformedAreasEndTheWalkWithAFault) {
  const std::string good = RecorderArea().Int16(202, 2).Int16(210, 3).Bytes();
  const size_t second = 38 + 8;  // header, tuple 202
  std::string zeroLength = good;
  zeroLength[second + 2] = 0;
  std::string negativeLength = good;
  negativeLength[second + 2] = static_cast<char>(-8);
  std::string unknownType = good;
  unknownType[second + 3] = 9;
  const struct {
    std::string name;
    std::string bytes;
    size_t tuples;
    TupleWalkFault fault;
  } cases[] = {
      {"good", good, 2, TupleWalkFault::None},
      {"header only", RecorderArea().Bytes(), 0, TupleWalkFault::None},
      {"length 0", zeroLength, 1, TupleWalkFault::BadLength},
      {"length below 0", negativeLength, 1, TupleWalkFault::BadLength},
      {"unknown type", unknownType, 1, TupleWalkFault::UnknownType},
      {"no end mark", good.substr(0, good.size() - 2), 2, TupleWalkFault::PastEnd},
      {"cut inside a tuple", good.substr(0, second + 4), 1, TupleWalkFault::PastEnd},
      {"length past the end", RecorderArea().Raw(5, 1, 2, 1, "\0\1", 120).Bytes().substr(0, 60), 1,
       TupleWalkFault::PastEnd},
      {"tuple 0 again", good.substr(0, good.size() - 2) + good.substr(0, 38) + "\xFF\xFF", 0,
       TupleWalkFault::BadHeader},
      {"first not 0", good.substr(38), 0, TupleWalkFault::BadHeader},
      {"empty", "", 0, TupleWalkFault::PastEnd},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const TupleWalk walk = WalkTupleArea(Image(c.bytes), 0);
    EXPECT_EQ(walk.tuples.size(), c.tuples);
    EXPECT_EQ(walk.fault, c.fault);
  }
  EXPECT_EQ(WalkTupleArea(Image(good), 1000).fault, TupleWalkFault::PastEnd);
}

class BuilderTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(db.Open(std::string(TESSARO_BIN_DIR) + "/DB/Master.mdb")); }
  DefinitionDb db;
  RecordingProgress progress;
};

TEST_F(BuilderTest, RowsCarryNumberCodeTypeValueAndDescription) {
  TupleTableBuilder builder(db, progress);
  const TupleTable table =
      builder.Build(Area::Eep, Image(RecorderArea().Int16(202, 2).Int16(9999, -5).Bytes()), 0);
  ASSERT_EQ(table.rows.size(), 3u);
  EXPECT_EQ(table.rows[0].Text(), "EEP;コード;タイプ;設定値;説明");
  EXPECT_EQ(table.rows[1].Text(), "00001;EEP0202;整数型;+00002;測定チャンネル数");
  EXPECT_EQ(table.rows[2].Text(), "00002;EEP9999;整数型;-00005; ");
  // Said once per read, however many tabs lack descriptions.
  builder.Build(Area::File(1), Image(RecorderArea().Int16(9998, 1).Bytes()), 0);
  EXPECT_EQ(progress.Errors(), std::vector<std::string>{LoadMessage(MsgDefinitionsOutdated)});
}

TEST_F(BuilderTest, AMalformedAreaKeepsItsGoodRowsAndSaysSo) {
  TupleTableBuilder builder(db, progress);
  std::string bytes = RecorderArea().Int16(202, 2).Int16(210, 3).Bytes();
  bytes[38 + 8 + 2] = 0;
  EXPECT_EQ(builder.Build(Area::Batt, Image(bytes), 0).rows.size(), 2u);
  EXPECT_EQ(progress.Errors(), std::vector<std::string>{LoadMessage(MsgTupleDataInvalid)});
}

// A BATT image with FILE pointer tuples and three groups from offset 512,
// stride bytes apart.
std::vector<uint8_t> Batt(int stride, const std::vector<int64_t>& pointers) {
  RecorderArea batt;
  for (size_t r = 0; r < pointers.size(); ++r) batt.Int32(640 + static_cast<int>(r), pointers[r]);
  std::string bytes = batt.Bytes(512);
  for (int r = 0; r < 3; ++r) {
    bytes.resize(512 + static_cast<size_t>(r) * static_cast<size_t>(stride), '\0');
    bytes += RecorderArea().Int16(800 + r, r + 1).Bytes();
  }
  return Image(bytes);
}

TEST_F(BuilderTest, FileGroupsByStrideOrByTheirOwnPointers) {
  TupleAreaImages byStride{Image(RecorderArea().Int32(115, 100).Bytes()),
                           Image(RecorderArea().Bytes()), Batt(100, {512})};
  TupleAreaImages byPointer{Image(RecorderArea().Bytes()), Image(RecorderArea().Bytes()),
                            Batt(100, {512, 612, 712})};
  TupleAreaImages zeroStride = byPointer;
  zeroStride.rom = Image(RecorderArea().Int32(115, 0).Bytes());
  for (const TupleAreaImages* images : {&byStride, &byPointer, &zeroStride}) {
    CoefficientTables tables;
    ASSERT_TRUE(BuildCoefficientTables(*images, 3, db, progress, tables));
    ASSERT_EQ(tables.tables.size(), 6u);
    for (int r = 0; r < 3; ++r) {
      const TupleTable& group = tables.tables[3 + static_cast<size_t>(r)];
      EXPECT_EQ(group.area.group(), r + 1);
      ASSERT_EQ(group.rows.size(), 2u);
      EXPECT_EQ(group.rows[1].fields[ColumnCode], "FILE0" + std::to_string(800 + r));
    }
  }
}

TEST_F(BuilderTest, AbsentOrStrayGroupsGiveHeaderOnlyTabsAndAMissingPointerFails) {
  TupleAreaImages images{Image(RecorderArea().Bytes()), Image(RecorderArea().Bytes()),
                         Batt(100, {-1, 1 << 20, 512})};
  CoefficientTables tables;
  ASSERT_TRUE(BuildCoefficientTables(images, 3, db, progress, tables));
  EXPECT_EQ(tables.tables[3].rows.size(), 1u);
  EXPECT_EQ(tables.tables[4].rows.size(), 1u);
  EXPECT_EQ(tables.tables[5].rows.size(), 2u);

  const StepResult missing = BuildCoefficientTables(images, 4, db, progress, tables);
  EXPECT_EQ(missing.message, LoadMessage(MsgFilePointerInvalid));
  EXPECT_TRUE(tables.tables.empty());
}

}  // namespace
}  // namespace tessaro
