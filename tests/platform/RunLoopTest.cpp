#include "platform/corefoundation/RunLoop.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class RunLoop : public ::testing::Test {
 protected:
  RunLoop() { platform::ResetRunLoop(); }
  ~RunLoop() override { platform::ResetRunLoop(); }
  std::vector<std::string> fired;
};

TEST_F(RunLoop, TimersFireInTimeOrderWithoutDrift) {
  platform::AddRunLoopTimer(0.0, 0.3, [this] { fired.push_back("a" + std::to_string(platform::RunLoopTime())); });
  platform::AddRunLoopTimer(0.1, 0.0, [this] { fired.push_back("once"); });
  platform::AdvanceRunLoop(0.65);
  EXPECT_EQ(fired, (std::vector<std::string>{"a0.000000", "once", "a0.300000", "a0.600000"}));
  EXPECT_DOUBLE_EQ(platform::RunLoopTime(), 0.65);
  // A thousand steps of 1/25 s are 1000 ticks, not 999.
  fired.clear();
  int ticks = 0;
  platform::ResetRunLoop();
  platform::AddRunLoopTimer(1.0 / 25, 1.0 / 25, [&] { ++ticks; });
  for (int i = 0; i < 1000; ++i) platform::AdvanceRunLoop(1.0 / 25);
  EXPECT_EQ(ticks, 1000);
}

TEST_F(RunLoop, ACallbackMayRemoveItselfOrAnotherTimer) {
  platform::RunLoopTimer* second = nullptr;
  platform::RunLoopTimer* first = nullptr;
  first = platform::AddRunLoopTimer(0.0, 0.1, [&] {
    fired.push_back("first");
    platform::RemoveRunLoopTimer(first);
    platform::RemoveRunLoopTimer(second);
  });
  second = platform::AddRunLoopTimer(0.0, 0.1, [&] { fired.push_back("second"); });
  platform::AdvanceRunLoop(1.0);
  EXPECT_EQ(fired, std::vector<std::string>{"first"});
  EXPECT_EQ(platform::LiveRunLoopTimerCount(), 0);
  EXPECT_FALSE(platform::IsRunLoopTimerLive(first));
}

TEST_F(RunLoop, ObserversRunAfterEachFiringAndOnEveryPass) {
  platform::AddRunLoopTimer(0.0, 0.5, [this] { fired.push_back("timer"); });
  const int observer = platform::AddRunLoopObserver([this] { fired.push_back("pass"); });
  platform::AdvanceRunLoop(0.6);
  EXPECT_EQ(fired, (std::vector<std::string>{"timer", "pass", "timer", "pass", "pass"}));
  fired.clear();
  platform::RunLoopPass();
  EXPECT_EQ(fired, std::vector<std::string>{"pass"});
  platform::RemoveRunLoopObserver(observer);
  fired.clear();
  platform::RunLoopPass();
  EXPECT_TRUE(fired.empty());
}

TEST_F(RunLoop, ATimerAddedDuringAFiringIsDueFromThen) {
  platform::AddRunLoopTimer(0.2, 0.0, [this] {
    platform::AddRunLoopTimer(0.2, 0.0, [this] { fired.push_back("late " + std::to_string(platform::RunLoopTime())); });
  });
  platform::AdvanceRunLoop(1.0);
  EXPECT_EQ(fired, std::vector<std::string>{"late 0.400000"});
  EXPECT_LT(platform::SecondsToNextRunLoopTimer(), 0.0);
}

}  // namespace
