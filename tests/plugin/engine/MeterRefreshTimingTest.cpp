#include "plugin/engine/MeterRefreshTiming.h"

#include <gtest/gtest.h>

namespace {

constexpr double kRefreshMs = 16.666666666666668;

struct RefreshCase {
  double rate;
  int blockSize;
};

class MeterRefresh : public ::testing::TestWithParam<RefreshCase> {};

}  // namespace

TEST_P(MeterRefresh, FlagsEveryIntervalAndKeepsTheRemainder) {
  const RefreshCase c = GetParam();
  MeterRefreshTiming timing;
  timing.Setup(c.rate, kRefreshMs, 1000.0);
  const int interval = static_cast<int>(kRefreshMs * 0.001 * c.rate);
  ASSERT_EQ(timing.MeterRefreshInterval(), interval);
  long long total = 0;
  for (int block = 0; block < 200; ++block) {
    const long long before = total % interval;
    total += c.blockSize;
    timing.Advance(c.blockSize);
    EXPECT_EQ(timing.TakeMeterRefreshDue(), before + c.blockSize >= interval) << block;
    EXPECT_EQ(timing.MeterRefreshCounter(), total % interval) << block;
  }
  EXPECT_FALSE(timing.TakeMeterRefreshDue());  // taken once per raise
  EXPECT_FALSE(timing.TakeOneShotExpired());   // never armed
}

INSTANTIATE_TEST_SUITE_P(Blocks, MeterRefresh,
                         ::testing::Values(RefreshCase{44100.0, 1}, RefreshCase{44100.0, 512},
                                           RefreshCase{48000.0, 800}, RefreshCase{48000.0, 2000},
                                           RefreshCase{96000.0, 4096}));

TEST(MeterRefreshTiming, BlockEndingOnTheIntervalLeavesTheCounterAtZero) {
  MeterRefreshTiming timing;
  timing.Setup(48000.0, kRefreshMs, 1000.0);
  timing.Advance(300);
  timing.Advance(500);
  EXPECT_TRUE(timing.TakeMeterRefreshDue());
  EXPECT_EQ(timing.MeterRefreshCounter(), 0);
  timing.Advance(0);  // an empty block changes nothing
  EXPECT_FALSE(timing.TakeMeterRefreshDue());
  EXPECT_EQ(timing.MeterRefreshCounter(), 0);
}

TEST(MeterRefreshTiming, LowRatesStillHaveAnInterval) {
  MeterRefreshTiming timing;
  timing.Setup(30.0, kRefreshMs, 1000.0);  // 0.5 samples: would divide by zero
  EXPECT_EQ(timing.MeterRefreshInterval(), 1);
  timing.Advance(3);
  EXPECT_TRUE(timing.TakeMeterRefreshDue());
  EXPECT_EQ(timing.MeterRefreshCounter(), 0);
}

TEST(MeterRefreshTiming, OneShotExpiresOnceAfterItsLength) {
  MeterRefreshTiming timing;
  timing.Setup(48000.0, kRefreshMs, 1000.0);
  ASSERT_EQ(timing.OneShotSamples(), 48000);
  EXPECT_TRUE(timing.OneShotDone());
  timing.ArmOneShot();
  EXPECT_FALSE(timing.OneShotDone());
  int blocks = 0;
  while (!timing.TakeOneShotExpired() && blocks < 1000) {
    timing.Advance(512);
    ++blocks;
  }
  EXPECT_EQ(blocks, (48000 + 511) / 512);
  EXPECT_TRUE(timing.OneShotDone());
  EXPECT_EQ(timing.OneShotCountdown(), 0);
  timing.Advance(512);
  EXPECT_FALSE(timing.TakeOneShotExpired());

  // Set-up leaves no countdown running, but raised flags stay for the GUI.
  timing.ArmOneShot();
  timing.FlagRefresh();
  timing.Setup(44100.0, kRefreshMs, 1000.0);
  EXPECT_TRUE(timing.OneShotDone());
  EXPECT_EQ(timing.MeterRefreshCounter(), 0);
  EXPECT_TRUE(timing.TakeMeterRefreshDue());
  EXPECT_TRUE(timing.TakeOneShotExpired());
}
