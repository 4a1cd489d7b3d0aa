#include "core/collect/RecorderTuple.h"

#include <gtest/gtest.h>

#include <cstring>

#include "support/RecorderArea.h"
#include "support/TempDir.h"

namespace tessaro {
namespace {

std::vector<uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

std::optional<RecorderTuple> Read(const RecorderArea& area, int number) {
  const auto bytes = Bytes(area.Bytes());
  return ReadRecorderTuple(bytes, number);
}

TEST(RecorderTupleTest, ReadsEveryTypeInHostOrder) {
  RecorderArea area;
  float f = 1.5f;
  double d = -2.25;
  uint32_t fb;
  uint64_t db;
  std::memcpy(&fb, &f, 4);
  std::memcpy(&db, &d, 8);
  area.Raw(1, 0, 1, 1, "\xFE\x00")
      .Int16(2, -2, 1)
      .Int16(3, 0xFFFE, 10)
      .Int16(4, -300, 11)
      .Int32(5, 0x12345678)
      .Raw(6, 3, 4, 1, RecorderArea::Big(fb, 4))
      .Raw(7, 4, 8, 1,
           RecorderArea::Big(static_cast<uint32_t>(db >> 32), 4) +
               RecorderArea::Big(static_cast<uint32_t>(db), 4))
      .Text(8, "thirty-two byte memo")
      .DateTime(9, 26, 12, 8, 10, 23, 45)
      .Text(10, "sixteen", 7)
      .Raw(11, 20, 1, 1, "\xA5\x00")
      .Int16(12, 0xBEEF, 21)
      .Raw(13, 22, 4, 1, "\xDE\xAD\xBE\xEF");
  EXPECT_EQ(Read(area, 1)->Integer(), -2);
  EXPECT_EQ(Read(area, 2)->Integer(), -2);
  EXPECT_EQ(Read(area, 3)->Integer(), 65534);
  EXPECT_EQ(Read(area, 4)->Integer(), -300);
  EXPECT_EQ(Read(area, 5)->Integer(), 0x12345678);
  float fr;
  std::memcpy(&fr, Read(area, 6)->value.data(), 4);
  EXPECT_EQ(fr, 1.5f);
  double dr;
  std::memcpy(&dr, Read(area, 7)->value.data(), 8);
  EXPECT_EQ(dr, -2.25);
  EXPECT_EQ(Read(area, 8)->Text(), "thirty-two byte memo");
  EXPECT_EQ(DateTimeTextOrInvalid(Read(area, 9)->DateTime()), "26/12/08 10:23:45");
  EXPECT_EQ(Read(area, 10)->Text(), "sixteen");
  EXPECT_EQ(Read(area, 11)->Integer(), 0xA5);
  EXPECT_EQ(Read(area, 12)->Integer(), 0xBEEF);
  EXPECT_EQ(Read(area, 13)->Integer(), 0xDEADBEEF);
  EXPECT_FALSE(Read(area, 8)->IsInteger());
  EXPECT_EQ(Read(area, 5)->Text(), "");

  const auto t = Read(area, 5);
  EXPECT_EQ(t->number, 5);
  EXPECT_EQ(t->length, 10);
  EXPECT_EQ(t->type, 2);
  EXPECT_EQ(t->elementSize, 4);
  EXPECT_EQ(t->count, 1);
  EXPECT_EQ(t->EncodeValue(), Bytes(RecorderArea::Big(0x12345678, 4)));

  const int sizes[][2] = {{0, 8},   {1, 8},  {2, 10}, {3, 10}, {4, 14}, {5, 38},
                          {6, 12},  {7, 22}, {10, 8}, {11, 8}, {20, 8}, {21, 8},
                          {22, 10}, {8, 0},  {9, 0},  {23, 0}, {-1, 0}};
  for (auto [type, size] : sizes) EXPECT_EQ(RecorderTuple::ReadSize(type), size) << type;
}

TEST(RecorderTupleTest, WalkRules) {
  RecorderArea area;
  area.Int16(5, 1).Int16(6, 2, 1).Int32(7, 3);
  auto bytes = Bytes(area.Bytes(128));
  EXPECT_EQ(FindRecorderTuple(bytes, 0), 0u);
  EXPECT_EQ(FindRecorderTuple(bytes, 5), 38u);
  EXPECT_EQ(FindRecorderTuple(bytes, 7), 54u);
  EXPECT_FALSE(FindRecorderTuple(bytes, 8));
  // The walk follows the length byte, gaps included.
  area = RecorderArea();
  area.Int16(5, 1).Raw(6, 1, 2, 1, RecorderArea::Big(2, 2), 20).Int32(7, 3);
  bytes = Bytes(area.Bytes());
  EXPECT_EQ(FindRecorderTuple(bytes, 7), 38u + 8 + 20);
  EXPECT_EQ(ReadRecorderTuple(bytes, 7)->Integer(), 3);

  // Nothing is found past FFFF.
  bytes = Bytes(area.Bytes() + RecorderArea().Int16(9, 9).Bytes().substr(38));
  EXPECT_FALSE(FindRecorderTuple(bytes, 9));

  auto broken = [&](size_t at, uint8_t value) {
    auto b = Bytes(RecorderArea().Int16(5, 1).Int16(6, 2).Bytes());
    b[at] = value;
    return FindRecorderTuple(b, 6).has_value();
  };
  EXPECT_TRUE(broken(50, 0));      // harmless: the element size of tuple 6
  EXPECT_FALSE(broken(1, 1));      // first tuple is not number 0
  EXPECT_FALSE(broken(40, 0));     // length 0
  EXPECT_FALSE(broken(40, 0x80));  // negative length
  EXPECT_FALSE(broken(41, 9));     // type outside the table
  EXPECT_FALSE(broken(39, 0));     // a second tuple 0

  // A tuple whose fixed read size runs past the image cannot be read.
  bytes = Bytes(RecorderArea().Int32(5, 1).Bytes());
  bytes.resize(38 + 8);
  EXPECT_TRUE(FindRecorderTuple(bytes, 5));
  EXPECT_FALSE(ReadRecorderTuple(bytes, 5));
  // An image that ends without FFFF ends the walk.
  bytes.resize(38 + 3);
  EXPECT_FALSE(FindRecorderTuple(bytes, 6));
  EXPECT_FALSE(FindRecorderTuple(std::span<const uint8_t>(), 0));
}

class RecorderTupleFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RecorderArea area;
    area.Int32(640, 100).Int16(202, 2).DateTime(800, 26, 1, 2, 3, 4, 5).Int32(802, 7);
    image = area.Bytes(128);
    const std::string content = std::string(50, 'H') + image + RecorderArea().Int32(999, 1).Bytes();
    path = dir.WriteFile("area.bin", content);
    file = File::Open(path, File::Mode::ReadWrite);
    ASSERT_TRUE(file);
  }
  int64_t Start() const { return 50; }
  int64_t End() const { return 50 + static_cast<int64_t>(image.size()); }
  std::string Content() { return TempDir::ReadAll(path); }

  TempDir dir;
  std::string image;
  std::string path;
  File file;
};

TEST_F(RecorderTupleFileTest, FindsAndReadsInsideTheRegionOnly) {
  EXPECT_EQ(FindRecorderTuple(file, Start(), End(), 202), Start() + 38 + 10);
  EXPECT_EQ(ReadRecorderTuple(file, Start(), End(), 802)->Integer(), 7);
  // Tuples at or beyond the region's end are not found.
  EXPECT_FALSE(ReadRecorderTuple(file, Start(), End(), 999));
  EXPECT_FALSE(ReadRecorderTuple(file, Start(), Start() + 68, 802));
  EXPECT_FALSE(ReadRecorderTuple(file, Start(), Start() + 77, 802));
  EXPECT_TRUE(ReadRecorderTuple(file, Start(), Start() + 78, 802));
  EXPECT_FALSE(ReadRecorderTuple(file, Start(), Start() + 40, 640));
  EXPECT_FALSE(ReadRecorderTuple(file, -5, End(), 640));
  EXPECT_FALSE(ReadRecorderTuple(file, End(), Start(), 640));
  EXPECT_EQ(ReadRecorderTuple(file, Start(), 1 << 30, 640)->Integer(), 100);
}

TEST_F(RecorderTupleFileTest, RewritesChecksNumberAndType) {
  const std::string before = Content();
  EXPECT_FALSE(WriteRecorderInteger(file, Start(), End(), 202, 5));  // 16-bit tuple
  EXPECT_FALSE(WriteRecorderInteger(file, Start(), End(), 800, 5));  // a date-time
  EXPECT_FALSE(WriteRecorderInteger(file, Start(), End(), 881, 5));  // absent
  EXPECT_FALSE(WriteRecorderDateTime(file, Start(), End(), 802, RecorderDateTime{}));
  EXPECT_EQ(Content(), before);

  ASSERT_TRUE(WriteRecorderInteger(file, Start(), End(), 802, -2));
  ASSERT_TRUE(
      WriteRecorderDateTime(file, Start(), End(), 800, EncodeDateTime({2027, 3, 4, 5, 6, 7})));
  const std::string after = Content();
  const size_t at802 = 50 + 38 + 10 + 8 + 12;
  EXPECT_EQ(after.substr(at802 + 6, 4), std::string("\xFF\xFF\xFF\xFE", 4));
  EXPECT_EQ(after.substr(50 + 38 + 10 + 8 + 6, 6), RecorderArea::DateTimeBytes(27, 3, 4, 5, 6, 7));
  // Only the values changed.
  size_t changed = 0;
  for (size_t i = 0; i < after.size(); ++i) changed += after[i] != before[i];
  EXPECT_LE(changed, 10u);
  EXPECT_EQ(ReadRecorderTuple(file, Start(), End(), 802)->Integer(), -2);
}

}  // namespace
}  // namespace tessaro
