#include "core/term/MonitorLoop.h"

#include <gtest/gtest.h>

#include "support/SimLine.h"

namespace tessaro {
namespace {

TEST(MonitorLoopTest, NumbersRunTo99999AndStartAgainAtOne) {
  MonitorLoop monitor("rtcr");
  MonitorStep step{};
  for (int i = 0; i < 99998; ++i) step = monitor.Take("x");
  EXPECT_EQ(step.line, "99998 rtcr x");
  EXPECT_EQ(monitor.Take("").line, "99999 rtcr ");
  EXPECT_EQ(monitor.Take("y\x1b").line, "00001 rtcr y.");
  monitor.SetCommand("ver");
  EXPECT_EQ(monitor.Take("v").line, "00001 ver v");
}

TEST(MonitorLoopTest, ThirdFailureInARowGivesUp) {
  struct Case {
    std::vector<bool> replies;  // false: the exchange failed
    MonitorStep::Outcome last;
  };
  const Case cases[] = {
      {{false}, MonitorStep::Missed},
      {{false, false}, MonitorStep::Missed},
      {{false, false, false}, MonitorStep::GaveUp},
      {{false, false, true, false, false}, MonitorStep::Missed},
      {{true, false, false, true, false, false, false}, MonitorStep::GaveUp},
  };
  for (const Case& c : cases) {
    MonitorLoop monitor;
    MonitorStep step{};
    for (const bool ok : c.replies)
      step = monitor.Take(ok ? std::optional<std::string>("r") : std::nullopt);
    EXPECT_EQ(step.outcome, c.last) << c.replies.size();
  }
}

TEST(MonitorLoopTest, ExchangesWithTheRecorder) {
  SimFixture sim;
  LineContext line;
  OpenSimLine(sim, line);
  MonitorLoop monitor;
  const MonitorStep step = monitor.Exchange(line);
  EXPECT_EQ(step.outcome, MonitorStep::Listed);
  EXPECT_EQ(step.line, "00001 ver CVX-4A Ver1.20");
  sim::FaultSettings faults;
  faults.silentAfter = 0;
  sim.Faults().Set(faults);
  EXPECT_EQ(monitor.Exchange(line).outcome, MonitorStep::Missed);
  LineClose(line);
}

}  // namespace
}  // namespace tessaro
