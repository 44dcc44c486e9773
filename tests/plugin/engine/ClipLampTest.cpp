#include "plugin/engine/ClipLamp.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// 10^(-1/(0.1 fs)): the 0.1 s fade.
double Fall(double fs) { return std::pow(10.0, -1.0 / (0.1 * fs)); }

class ClipLampTiming : public ::testing::TestWithParam<double> {};

}  // namespace

TEST_P(ClipLampTiming, LightsAtOnceHoldsThreeSecondsThenFades) {
  const double fs = GetParam();
  const int hold = static_cast<int>(3.0 * fs);
  const double fall = Fall(fs);
  ClipLamp lamp;
  lamp.SetTiming(fs);
  EXPECT_EQ(lamp.HoldSamples(), hold);

  lamp.Step(true);
  EXPECT_EQ(lamp.Value(), 1.0);
  EXPECT_EQ(lamp.Peak(), 1.0);
  int held = 0;
  while (held <= hold + 1) {
    lamp.Step(false);
    if (lamp.Value() != 1.0) break;
    ++held;
  }
  EXPECT_EQ(held, hold);  // exactly 3 s at any rate, then the first fall step
  EXPECT_NEAR(lamp.Value(), fall, 1e-15);
  EXPECT_EQ(lamp.GetState(), ClipLamp::kFalling);
  double expected = fall;
  const int tenth = static_cast<int>(0.1 * fs);
  for (int k = 1; k < tenth; ++k) {
    lamp.Step(false);
    expected *= fall;
  }
  EXPECT_NEAR(lamp.Value(), expected, 1e-12);
  EXPECT_NEAR(lamp.Value(), std::pow(fall, tenth), 1e-9);  // about 1/10 after 0.1 s
}

INSTANTIATE_TEST_SUITE_P(Rates, ClipLampTiming, ::testing::Values(22050.0, 44100.0, 48000.0, 96000.0));

TEST(ClipLamp, HoldCountsFromTheLastClippingSample) {
  const double fs = 1000.0;  // hold 3000 samples
  ClipLamp lamp;
  lamp.SetTiming(fs);
  // Clipping that outlasts the hold must not leave the lamp to go dark the
  // moment it ends.
  for (int i = 0; i < 5000; ++i) lamp.Step(true);
  for (int i = 0; i < 3000; ++i) {
    lamp.Step(false);
    ASSERT_EQ(lamp.Value(), 1.0) << i;
  }
  lamp.Step(false);
  EXPECT_NEAR(lamp.Value(), Fall(fs), 1e-15);

  // A clip while fading relights at once and holds again in full.
  for (int i = 0; i < 50; ++i) lamp.Step(false);
  ASSERT_LT(lamp.Value(), 1.0);
  lamp.Step(true);
  EXPECT_EQ(lamp.Value(), 1.0);
  for (int i = 0; i < 3000; ++i) lamp.Step(false);
  EXPECT_EQ(lamp.Value(), 1.0);
  lamp.Step(false);
  EXPECT_LT(lamp.Value(), 1.0);
}

TEST(ClipLamp, NewTimingKeepsTheLampClearDarkensIt) {
  ClipLamp lamp;
  lamp.SetTiming(48000.0);
  lamp.Step(false);
  EXPECT_EQ(lamp.Value(), 0.0);  // no clipping: stays dark and idle
  EXPECT_EQ(lamp.GetState(), ClipLamp::kIdle);
  lamp.Step(true);
  lamp.SetTiming(96000.0);
  EXPECT_EQ(lamp.Value(), 1.0);
  EXPECT_EQ(lamp.HoldSamples(), 288000);
  lamp.Clear();
  EXPECT_EQ(lamp.Value(), 0.0);
  EXPECT_EQ(lamp.Peak(), 0.0);
  EXPECT_EQ(lamp.GetState(), ClipLamp::kIdle);
}
