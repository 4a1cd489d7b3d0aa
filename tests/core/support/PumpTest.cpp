#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "core/support/ExchangeScope.h"
#include "core/support/Pump.h"

namespace tessaro {
namespace {

class PumpTest : public testing::Test {
 protected:
  void TearDown() override { SetPumpHook({}); }
};

TEST_F(PumpTest, RunsOnlyOnTheInstallingThread) {
  int calls = 0;
  SetPumpHook([&calls] { ++calls; });
  EXPECT_TRUE(PumpMessagesHere());
  PumpMessages();
  PumpMessages();
  EXPECT_EQ(calls, 2);

  bool workerMayPump = true;
  std::thread worker([&workerMayPump] {
    workerMayPump = PumpMessagesHere();
    PumpMessages();
  });
  worker.join();
  EXPECT_FALSE(workerMayPump);
  EXPECT_EQ(calls, 2);
}

TEST_F(PumpTest, HookInstalledOnAnotherThreadBelongsToIt) {
  int calls = 0;
  std::thread other([&calls] { SetPumpHook([&calls] { ++calls; }); });
  other.join();
  PumpMessages();
  EXPECT_FALSE(PumpMessagesHere());
  EXPECT_EQ(calls, 0);
}

TEST_F(PumpTest, RemovedHookIsNotCalledAndReentryIsAllowed) {
  int depth = 0;
  int calls = 0;
  SetPumpHook([&] {
    ++calls;
    if (++depth < 3) PumpMessages();  // a hook that waits and pumps again
    --depth;
  });
  PumpMessages();
  EXPECT_EQ(calls, 3);
  SetPumpHook({});
  EXPECT_FALSE(PumpMessagesHere());
  PumpMessages();
  EXPECT_EQ(calls, 3);
}

TEST_F(PumpTest, EventsPumpedInsideAWaitRunDuringAnExchange) {
  std::vector<bool> inside;
  SetPumpHook([&inside] { inside.push_back(ExchangeInProgress()); });
  EXPECT_FALSE(ExchangeInProgress());
  PumpMessages();
  EXPECT_FALSE(ExchangeInProgress());
  {
    ExchangeScope outer;
    { ExchangeScope inner; }
    EXPECT_TRUE(ExchangeInProgress());
  }
  EXPECT_FALSE(ExchangeInProgress());
  EXPECT_EQ(inside, std::vector<bool>{true});
}

}  // namespace
}  // namespace tessaro
