#include "core/support/BackgroundOperation.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <stdexcept>
#include <string>

namespace tessaro {
namespace {

using namespace std::chrono_literals;

TEST(BackgroundOperationTest, FlagIsUpWhileTheWorkRunsAndDownBeforeItsEnd) {
  std::atomic<bool> busy{false};
  std::promise<void> gate;
  std::shared_future<void> open = gate.get_future().share();
  BackgroundOperation<std::string> work(
      [open] {
        open.wait();
        return std::string("done");
      },
      &busy);
  EXPECT_TRUE(busy);
  EXPECT_FALSE(work.WaitFor(10ms));
  EXPECT_FALSE(work.Finished());
  gate.set_value();
  WaitWhileSet(busy);
  EXPECT_EQ(work.Result(), "done");
  EXPECT_TRUE(work.Finished());
}

// Whoever is woken by the end (either way of waiting) must find the flag
// down; operations that end at once make a late clear show up.
TEST(BackgroundOperationTest, EveryWayOfWaitingFindsTheFlagDown) {
  std::atomic<bool> busy{false};
  for (int round = 0; round < 200; ++round) {
    BackgroundOperation<int> work([round] { return round; }, &busy);
    if (round % 2 == 0) {
      work.Wait();
      EXPECT_FALSE(busy) << round;
    } else {
      WaitWhileSet(busy);
    }
    EXPECT_EQ(work.Result(), round);
  }
}

TEST(BackgroundOperationTest, OwnFlagAndFailuresReachTheOwner) {
  std::promise<void> gate;
  std::shared_future<void> open = gate.get_future().share();
  BackgroundOperation<int> work([open]() -> int {
    open.wait();
    throw std::runtime_error("no reply");
  });
  EXPECT_TRUE(work.Busy());
  gate.set_value();
  WaitWhileSet(work.Busy());
  EXPECT_THROW(work.Result(), std::runtime_error);
}

}  // namespace
}  // namespace tessaro
