#include "core/collect/RecordClock.h"

#include <gtest/gtest.h>

namespace tessaro {
namespace {

std::string Direct(const RecorderDateTime& start, int code, int64_t record) {
  RecorderDateTime at = start;
  AddSeconds(at, IntervalSpan(code, record));
  return DateTimeTextOrInvalid(at);
}

TEST(RecordClockTest, AgreesWithAddSecondsAcrossDaysMonthsAndLeapDays) {
  const RecorderDateTime starts[] = {
      EncodeDateTime({2026, 12, 8, 10, 0, 0}),
      EncodeDateTime({2024, 2, 28, 23, 59, 58}),  // leap day ahead
      EncodeDateTime({2069, 12, 31, 23, 0, 1}),   // year 70 reads as 1970
  };
  for (const RecorderDateTime& start : starts) {
    for (int code : {1001, 1030, 1105, 1201, 411, 606, 209, 110}) {
      RecordClock clock(start, code);
      for (int64_t e = 0; e < 3000; e += (e < 200 ? 1 : 37))
        ASSERT_EQ(clock.Text(e), Direct(start, code, e)) << "code " << code << " record " << e;
    }
  }
}

TEST(RecordClockTest, AnyOrderOfRecords) {
  const RecorderDateTime start = EncodeDateTime({2026, 1, 31, 23, 30, 0});
  RecordClock clock(start, 1130);  // 30 minutes
  EXPECT_EQ(clock.Text(5), "26/02/01 02:00:00");
  EXPECT_EQ(clock.Text(0), "26/01/31 23:30:00");
  EXPECT_EQ(clock.Text(1), "26/02/01 00:00:00");
}

TEST(RecordClockTest, InvalidStartFollowsAddSeconds) {
  const RecorderDateTime zero{};
  RecordClock clock(zero, 1001);
  EXPECT_EQ(clock.Text(0), kInvalidDateTimeText);
  EXPECT_EQ(clock.Text(10), Direct(zero, 1001, 10));
}

}  // namespace
}  // namespace tessaro
