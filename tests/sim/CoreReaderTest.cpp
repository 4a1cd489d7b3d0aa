// The program's own tuple reader walks the simulator's area images: the two
// sides of the recorder tuple encoding were written independently.

#include <gtest/gtest.h>

#include "core/collect/RecorderTuple.h"
#include "core/support/DateTime.h"
#include "sim/ProfileLoader.h"
#include "sim/Recorder.h"
#include "support/SimFixture.h"

namespace tessaro::simtest {
namespace {

class SimImagesReadByCore : public ::testing::TestWithParam<std::string> {};

TEST_P(SimImagesReadByCore, AreasGroupsAndRingsAgree) {
  const sim::RecorderProfile profile = SimFixture::Profile(GetParam());
  sim::Recorder recorder(profile);
  const sim::RecorderImages images = recorder.Images();
  const std::span<const uint8_t> rom(images.rom);
  const std::span<const uint8_t> batt(images.batt);

  const auto attribute = ReadRecorderTuple(rom, 106);
  ASSERT_TRUE(attribute);
  EXPECT_EQ(attribute->type, kTypeInt32);
  EXPECT_EQ(attribute->Integer(), static_cast<int64_t>(images.batt.size()));
  EXPECT_EQ(ReadRecorderTuple(rom, 108).has_value(), profile.ringCountTuple);
  EXPECT_EQ(ReadRecorderTuple(rom, 120).has_value(), profile.capability.has_value());
  const auto serial = ReadRecorderTuple(std::span<const uint8_t>(images.eep), 210);
  ASSERT_TRUE(serial);
  EXPECT_EQ(serial->Text(), recorder.Serial());

  const int modeBase = profile.oldNumbering ? 240 : 2000;
  const int bytesBase = profile.oldNumbering ? 860 : 2300;
  for (int r = 0; r < recorder.RingCount(); ++r) {
    SCOPED_TRACE("ring " + std::to_string(r));
    const sim::RingProfile& ring = profile.rings[static_cast<size_t>(r)];
    const auto pointer = ReadRecorderTuple(batt, 640 + r);
    ASSERT_TRUE(pointer);
    EXPECT_EQ(pointer->type, kTypeInt32);
    ASSERT_LT(pointer->Integer(), static_cast<int64_t>(batt.size()));
    const auto group = batt.subspan(static_cast<size_t>(pointer->Integer()));

    const auto count = ReadRecorderTuple(group, 802);
    const auto bytes = ReadRecorderTuple(group, 806);
    ASSERT_TRUE(count && bytes);
    EXPECT_EQ(count->type, kTypeInt32);
    EXPECT_EQ(bytes->type, kTypeInt32);
    const int64_t records = count->Integer() + (bytes->Integer() > 0 ? 1 : 0);
    EXPECT_EQ(records, ring.records);
    EXPECT_EQ(static_cast<size_t>(bytes->Integer()), images.rings[static_cast<size_t>(r)].size());

    const auto start = ReadRecorderTuple(group, 800);
    ASSERT_TRUE(start);
    EXPECT_EQ(start->type, kTypeDateTime);
    EXPECT_EQ(DecodeDateTime(start->DateTime()), ring.start);
    EXPECT_EQ(ReadRecorderTuple(group, 805).has_value(), ring.has805);
    EXPECT_EQ(ReadRecorderTuple(group, 620).has_value(), ring.hasMemos);

    int recordSize = 0;
    for (size_t c = 0; c < ring.channels.size(); ++c) {
      const auto mode = ReadRecorderTuple(group, modeBase + static_cast<int>(c));
      const auto size = ReadRecorderTuple(group, bytesBase + static_cast<int>(c));
      ASSERT_TRUE(mode && size);
      EXPECT_EQ(mode->Integer(), ring.channels[c].mode);
      recordSize += static_cast<int>(size->Integer());
    }
    EXPECT_EQ(recordSize, recorder.RecordSize(r));
    for (int p : {880, 881}) {
      const auto tuple = ReadRecorderTuple(group, p);
      ASSERT_TRUE(tuple);
      EXPECT_EQ(tuple->type, kTypeInt32);
    }
  }
  EXPECT_FALSE(ReadRecorderTuple(batt, 640 + recorder.RingCount()));
}

INSTANTIATE_TEST_SUITE_P(Profiles, SimImagesReadByCore,
                         ::testing::Values("default", "old", "rings40", "wind", "overwritten",
                                           "unknown-mode"),
                         [](const auto& info) {
                           std::string name = info.param;
                           for (char& c : name) {
                             if (c == '-') c = '_';
                           }
                           return name;
                         });

}  // namespace
}  // namespace tessaro::simtest
