#include "graphics/IIdleThread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

TEST(IIdleThread, PriorityIsRaisedOrLoweredIntoThePolicysRange) {
  EXPECT_EQ(IIdleThread::ClampPriority(32, 1, 99), 32);
  EXPECT_EQ(IIdleThread::ClampPriority(32, 0, 0), 0);
  EXPECT_EQ(IIdleThread::ClampPriority(32, 40, 60), 40);
  EXPECT_EQ(IIdleThread::ClampPriority(32, 1, 15), 15);
}

TEST(IIdleThread, TicksUntilStoppedAndStartsOnce) {
  std::atomic<int> ticks{0};
  IIdleThread thread;
  ASSERT_TRUE(thread.Start([](void* c) { static_cast<std::atomic<int>*>(c)->fetch_add(1); }, &ticks));
  EXPECT_FALSE(thread.Start(nullptr, nullptr));
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (ticks.load() < 2 && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  thread.Stop();
  EXPECT_FALSE(thread.IsRunning());
  const int stopped = ticks.load();
  EXPECT_GE(stopped, 2);
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  EXPECT_EQ(ticks.load(), stopped);
  thread.Stop();  // a second stop is harmless
}

}  // namespace
