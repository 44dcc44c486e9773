#include "plugin/engine/DisplayTiming.h"

#include <gtest/gtest.h>

TEST(DisplayTiming, RefreshIsDueOncePerIntervalAndTheCounterWraps) {
  DisplayTiming timing;
  timing.Init(48000.0);
  ASSERT_EQ(timing.GetMeterRefreshInterval(), 800);  // 16.67 ms at 48 kHz
  timing.Advance(799);
  EXPECT_FALSE(timing.TakeMeterRefreshDue());
  timing.Advance(1);  // ends exactly on the interval
  EXPECT_TRUE(timing.TakeMeterRefreshDue());
  EXPECT_EQ(timing.GetMeterRefreshCounter(), 0);
  EXPECT_FALSE(timing.TakeMeterRefreshDue());  // taken
  timing.Advance(2000);
  EXPECT_TRUE(timing.TakeMeterRefreshDue());
  EXPECT_EQ(timing.GetMeterRefreshCounter(), 400);
  timing.Advance(0);
  EXPECT_FALSE(timing.TakeMeterRefreshDue());
}

TEST(DisplayTiming, OneShotRunsOutOnceAfterArming) {
  DisplayTiming timing;
  timing.Init(48000.0);
  EXPECT_TRUE(timing.IsOneShotDone());
  timing.Advance(100000);
  EXPECT_FALSE(timing.TakeOneShotExpired());  // not armed
  timing.ArmOneShot();
  timing.Advance(47999);
  EXPECT_FALSE(timing.TakeOneShotExpired());
  EXPECT_EQ(timing.GetOneShotCountdown(), 1);
  timing.Advance(512);
  EXPECT_TRUE(timing.TakeOneShotExpired());
  EXPECT_TRUE(timing.IsOneShotDone());
  EXPECT_EQ(timing.GetOneShotCountdown(), 0);
}

TEST(DisplayTiming, VeryLowRatesStillGiveAUsableInterval) {
  DisplayTiming timing;
  timing.Init(30.0);  // 16.7 ms is half a sample here
  EXPECT_EQ(timing.GetMeterRefreshInterval(), 1);
  timing.Advance(3);
  EXPECT_TRUE(timing.TakeMeterRefreshDue());
}
