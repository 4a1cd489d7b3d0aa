// A small RLB file of every channel kind, opened for the graph: which
// channels are drawn, with what names, units and points, and what the
// cursor shows.

#include "core/graph/GraphSource.h"

#include <gtest/gtest.h>

#include "core/support/DefinitionDb.h"
#include "support/RecordingMessageBox.h"
#include "support/TempDir.h"
#include "support/TestRlbFile.h"

namespace tessaro {
namespace {

std::vector<uint8_t> Bytes(std::initializer_list<int> bytes) {
  return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

// Channels: volt (one decimal), a date-time, combined wind (one decimal),
// direction, unsigned humidity, 32-bit pulse count. Record 2 has no wind.
TestRlb EveryKind() {
  TestRlb rlb;
  rlb.channels = {{1, 1001, -1, 1, 2},  {138, 1001, 0, 6, 6}, {600, 1001, -1, 1, 2},
                  {159, 1001, 0, 1, 2}, {3, 1001, -1, 10, 2}, {120, 1001, 0, 2, 4}};
  const int directions[] = {16, 1, 0, 17};
  const std::vector<uint8_t> wind[] = {Bytes({1, 0x41}), Bytes({0, 0x25}), Bytes({0x80, 0}),
                                       Bytes({2, 0})};
  for (int e = 0; e < 4; ++e)
    rlb.records.push_back(Concat({Be16(100 + e), StoredDateTime({2026, 12, 8, 9, 0, e}), wind[e],
                                  Be16(directions[e]), Be16(65000), Be32(70000 + e)}));
  return rlb;
}

class GraphSourceTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(db_.Open(std::string(TESSARO_BIN_DIR) + "/DB/Master.mdb")); }

  TempDir dir_;
  DefinitionDb db_;
  RecordingMessageBox boxes_;
  ScopedMessageBoxHandler install_{boxes_};
};

TEST_F(GraphSourceTest, DrawsEveryChannelKindButDateTimes) {
  const std::string path = dir_.Join("EVERY.RLB");
  ASSERT_TRUE(TestRlbFile(EveryKind()).Write(path));
  GraphSource source(2);
  ASSERT_TRUE(source.Open(path, db_, dir_.Path() + "/"));
  EXPECT_TRUE(boxes_.Boxes().empty());

  struct Expected {
    int index;
    GraphKind kind;
    std::string legend;
    std::string unit;
    double divisor;
  };
  const Expected expected[] = {
      {0, GraphKind::Line, "1CH VOLT 電圧", "mV", 10},
      {2, GraphKind::Line, "3CH WINSPD Average of WinSPD & WinDIR", "風速", 10},
      {3, GraphKind::Direction, "4CH WD 風向", "", 1},
      {4, GraphKind::Line, "5CH HUMID 湿度", "%", 10},
      {5, GraphKind::Line, "6CH PULSE パルス", "count", 1},
  };
  ASSERT_EQ(source.Channels().size(), std::size(expected));
  for (size_t i = 0; i < std::size(expected); ++i) {
    const GraphChannel& channel = source.Channels()[i];
    EXPECT_EQ(channel.index, expected[i].index);
    EXPECT_EQ(channel.kind, expected[i].kind) << channel.legend;
    EXPECT_EQ(channel.legend, expected[i].legend);
    EXPECT_EQ(channel.unit, expected[i].unit) << channel.legend;
    EXPECT_EQ(channel.divisor, expected[i].divisor) << channel.legend;
  }

  const GraphTimeline& timeline = source.Timeline();
  ASSERT_TRUE(timeline.hasTime);
  const double t0 = static_cast<double>(DateTimeSeconds(EncodeDateTime({2026, 12, 8, 10, 0, 0})));
  EXPECT_EQ(timeline.origin, t0);
  EXPECT_EQ(timeline.step, 1);

  std::vector<GraphSeries> series;
  ASSERT_TRUE(source.BuildSeries(0, 4, 800, series));
  ASSERT_EQ(series.size(), 5u);
  auto points = [&](std::initializer_list<double> ys, int firstRecord = 0) {
    std::vector<GraphPoint> out;
    int e = firstRecord;
    for (double y : ys) out.push_back({t0 + e++, y});
    return out;
  };
  using Segments = std::vector<std::vector<GraphPoint>>;
  EXPECT_EQ(series[0].segments, Segments{points({10.0, 10.1, 10.2, 10.3})});
  EXPECT_EQ(series[1].segments, (Segments{points({1.0, 0.1}), points({1.6}, 3)}));
  EXPECT_EQ(series[2].segments, Segments{points({0, 1, 16, 16})});
  EXPECT_EQ(series[3].segments, Segments{points({6500, 6500, 6500, 6500})});
  EXPECT_EQ(series[4].segments, Segments{points({70000, 70001, 70002, 70003})});

  // Whole-file view in two columns: first, extremes, last of each half.
  ASSERT_TRUE(source.BuildSeries(0, 4, 2, series));
  EXPECT_EQ(series[2].segments, (Segments{{{t0, 0},
                                           {t0 + 0.5, 0},
                                           {t0 + 0.5, 1},
                                           {t0 + 1, 1},
                                           {t0 + 2, 16},
                                           {t0 + 2.5, 16},
                                           {t0 + 3, 16}}}));

  EXPECT_EQ(source.CursorText(1),
            "No.2 26/12/08 10:00:01  1CH VOLT 電圧 +10.1  3CH WINSPD Average of WinSPD & WinDIR "
            "0.1,ESE  4CH WD 風向 NNE  5CH HUMID 湿度 6500.0  6CH PULSE パルス 70001");
  EXPECT_EQ(timeline.RecordAt(t0 + 2.4, source.RecordCount()), 2);
  EXPECT_EQ(timeline.RecordAt(t0 + 99, source.RecordCount()), 3);
}

TEST_F(GraphSourceTest, AFileThatFailsAnalysisIsRefusedWithItsMessage) {
  const std::string path = dir_.WriteFile("BROKEN.RLB", "not a data file");
  GraphSource source;
  EXPECT_FALSE(source.Open(path, db_, dir_.Path() + "/"));
  ASSERT_EQ(boxes_.Boxes().size(), 1u);
  EXPECT_FALSE(boxes_.Texts().front().empty());
  EXPECT_TRUE(source.Channels().empty());
}

TEST_F(GraphSourceTest, AFileWithoutTimeIsDrawnAgainstRecordNumbers) {
  TestRlb rlb;
  rlb.channels = {{138, 1001, 0, 6, 6}, {1, 1001, 0, 1, 2}};
  for (int e = 0; e < 3; ++e)
    rlb.records.push_back(Concat({StoredDateTime({2026, 12, 8, 9, 0, e}), Be16(-e)}));
  const std::string path = dir_.Join("PULSE.RLB");
  ASSERT_TRUE(TestRlbFile(rlb).Write(path));
  GraphSource source;
  ASSERT_TRUE(source.Open(path, db_, dir_.Path() + "/"));
  EXPECT_FALSE(source.Timeline().hasTime);
  std::vector<GraphSeries> series;
  ASSERT_TRUE(source.BuildSeries(0, 3, 10, series));
  ASSERT_EQ(series.size(), 1u);
  EXPECT_EQ(series[0].segments, (std::vector<std::vector<GraphPoint>>{{{0, 0}, {1, -1}, {2, -2}}}));
  EXPECT_EQ(source.CursorText(2), "No.3  2CH VOLT 電圧 -2");
}

}  // namespace
}  // namespace tessaro
