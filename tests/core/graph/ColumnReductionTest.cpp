// The reduction of records to pixel columns: exact figures for every run
// and column count, from an index that reads only the ends of each column.

#include "core/graph/ColumnReduction.h"

#include <gtest/gtest.h>

#include "core/graph/GraphSeries.h"
#include "core/graph/GraphViewport.h"

namespace tessaro {
namespace {

constexpr int32_t M = kMissingValue;

// Records held in a table; counts the reads.
class TableRecords : public GraphRecords {
 public:
  explicit TableRecords(std::vector<std::vector<int32_t>> rows) : rows_(std::move(rows)) {}
  int64_t RecordCount() const override { return static_cast<int64_t>(rows_.size()); }
  int SeriesCount() const override { return rows_.empty() ? 0 : static_cast<int>(rows_[0].size()); }
  bool Read(int64_t record, int32_t* values) override {
    ++reads;
    if (record == failAt) return false;
    std::copy(rows_[static_cast<size_t>(record)].begin(), rows_[static_cast<size_t>(record)].end(),
              values);
    return true;
  }
  int64_t reads = 0;
  int64_t failAt = -1;

 private:
  std::vector<std::vector<int32_t>> rows_;
};

// Two series: a zigzag, and one with runs of missing values.
TableRecords Sample(int count) {
  std::vector<std::vector<int32_t>> rows;
  for (int i = 0; i < count; ++i) {
    const int32_t zigzag = (i * 37) % 23 - 11;
    const int32_t gappy = (i / 5) % 3 == 1 ? M : i;
    rows.push_back({zigzag, gappy});
  }
  return TableRecords(rows);
}

ValueSummary Direct(TableRecords& records, int64_t begin, int64_t end, int series) {
  ValueSummary out;
  int32_t values[2];
  for (int64_t r = begin; r < end; ++r) {
    records.Read(r, values);
    out.Add(values[series]);
  }
  return out;
}

TEST(ColumnReductionTest, EveryColumnMatchesTheRecordsItCovers) {
  for (int fanOut : {2, 3, 16}) {
    TableRecords records = Sample(100);
    SummaryPyramid pyramid(fanOut);
    ASSERT_TRUE(pyramid.Build(records));
    for (auto [begin, end] : {std::pair{0, 100}, {1, 99}, {17, 83}, {40, 47}, {99, 100}}) {
      for (int columns : {1, 3, 7, 50, 200}) {
        ColumnReduction reduction;
        ASSERT_TRUE(reduction.Reduce(records, pyramid, begin, end, columns));
        ASSERT_EQ(reduction.Columns(), std::min(columns, end - begin));
        EXPECT_EQ(reduction.ColumnBegin(0), begin);
        EXPECT_EQ(reduction.ColumnEnd(reduction.Columns() - 1), end);
        for (int c = 0; c < reduction.Columns(); ++c)
          for (int s = 0; s < 2; ++s)
            ASSERT_EQ(reduction.At(c, s),
                      Direct(records, reduction.ColumnBegin(c), reduction.ColumnEnd(c), s))
                << "fan-out " << fanOut << " run " << begin << ".." << end << " columns " << columns
                << " column " << c << " series " << s;
      }
    }
  }
}

TEST(ColumnReductionTest, WideColumnsReadOnlyTheirEnds) {
  TableRecords records = Sample(100000);
  SummaryPyramid pyramid(16);
  ASSERT_TRUE(pyramid.Build(records));
  EXPECT_EQ(records.reads, 100000);
  records.reads = 0;
  ColumnReduction reduction;
  ASSERT_TRUE(reduction.Reduce(records, pyramid, 3, 99997, 100));
  EXPECT_LE(records.reads, 100 * 2 * 15);
  EXPECT_LT(pyramid.MemoryBytes(), 100000 / 15 * 2 * sizeof(ValueSummary) + 1024);
}

TEST(ColumnReductionTest, AFailedReadFails) {
  TableRecords records = Sample(50);
  records.failAt = 33;
  SummaryPyramid pyramid(4);
  EXPECT_FALSE(pyramid.Build(records));
  records.failAt = -1;
  ASSERT_TRUE(pyramid.Build(records));
  records.failAt = 9;  // read: the columns end between blocks
  ColumnReduction reduction;
  EXPECT_FALSE(reduction.Reduce(records, pyramid, 0, 50, 5));
}

TEST(GraphSeriesTest, ColumnsBecomePointsAndGapsBreakTheLine) {
  // Series 0: 4 2 9 5 | 7 M | M M | 3 1 (columns of two records).
  TableRecords records({{4}, {2}, {9}, {5}, {7}, {M}, {M}, {M}, {3}, {1}});
  SummaryPyramid pyramid(2);
  ASSERT_TRUE(pyramid.Build(records));
  ColumnReduction reduction;
  ASSERT_TRUE(reduction.Reduce(records, pyramid, 0, 10, 5));
  const GraphTimeline timeline{true, 1000, 10};
  const GraphSeries series = BuildGraphSeries(reduction, 0, 2, timeline);
  const std::vector<std::vector<GraphPoint>> expected = {
      {{1000, 2},
       {1005, 1},
       {1005, 2},
       {1010, 1},
       {1020, 4.5},
       {1025, 2.5},
       {1025, 4.5},
       {1030, 2.5},
       {1040, 3.5},
       {1045, 3.5},
       {1050, 3.5}},
      {{1080, 1.5}, {1085, 0.5}, {1085, 1.5}, {1090, 0.5}}};
  EXPECT_EQ(series.segments, expected);

  // One record per column: each value at its own time.
  ASSERT_TRUE(reduction.Reduce(records, pyramid, 2, 6, 100));
  const std::vector<std::vector<GraphPoint>> single = {{{1020, 4.5}, {1030, 2.5}, {1040, 3.5}}};
  EXPECT_EQ(BuildGraphSeries(reduction, 0, 2, timeline).segments, single);
}

TEST(GraphViewportTest, ZoomPanAndResetStayInsideTheFile) {
  struct Step {
    const char* what;
    double factor;  // 0: move to `to` instead
    double anchor;
    int64_t to;
    int64_t begin, end;
  };
  GraphViewport view(1000, 10);
  const Step steps[] = {
      {"zoom in at the left edge", 0.5, 0.0, 0, 0, 500},
      {"zoom in around the middle", 0.5, 0.5, 0, 125, 375},
      {"zoom in at the right edge", 0.5, 1.0, 0, 250, 375},
      {"pan right", 0, 0, 900, 875, 1000},
      {"pan before the start", 0, 0, -50, 0, 125},
      {"zoom in beyond the minimum", 0.001, 0.5, 0, 58, 68},
      {"zoom out beyond the file", 100, 0.5, 0, 0, 1000},
  };
  for (const Step& step : steps) {
    if (step.factor > 0)
      view.Zoom(step.factor, step.anchor);
    else
      view.MoveTo(step.to);
    EXPECT_EQ(view.Begin(), step.begin) << step.what;
    EXPECT_EQ(view.End(), step.end) << step.what;
  }
  view.Zoom(0.1, 0.3);
  EXPECT_FALSE(view.ShowsAll());
  view.Reset();
  EXPECT_TRUE(view.ShowsAll());

  GraphViewport tiny(3, 10);
  tiny.Zoom(0.5, 0.5);
  EXPECT_EQ(tiny.Span(), 3);
  GraphViewport empty(0);
  empty.Zoom(0.5, 0.5);
  EXPECT_EQ(empty.Span(), 0);
}

TEST(GraphTimelineTest, RecordsBetweenTwoTimes) {
  const GraphTimeline timeline{true, 1000, 10};  // records at 1000, 1010, ... 1090
  struct Case {
    double from, to;
    int64_t begin, end;
  } cases[] = {{0, 5000, 0, 10},   {1010, 1030, 1, 4}, {1011, 1029, 2, 3},
               {1011, 1019, 0, 0}, {2000, 3000, 0, 0}, {1030, 1010, 0, 0}};
  for (const Case& c : cases)
    EXPECT_EQ(timeline.RecordsBetween(c.from, c.to, 10), std::make_pair(c.begin, c.end))
        << c.from << ".." << c.to;
}

}  // namespace
}  // namespace tessaro
