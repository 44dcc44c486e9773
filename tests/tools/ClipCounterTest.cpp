#include "tools/ClipCounter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

// Full scale itself is held; anything past it, on either side, is not.
TEST(ClipCounter, CountsWhatLiesBeyondFullScaleOnBothChannels) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const std::vector<double> left = {1.0, -1.0, 0.5, std::nextafter(1.0, 2.0), nan};
  const std::vector<double> right = {-1.5, 0.0, std::nextafter(-1.0, -2.0), 0.999, 1.25};
  const double* channels[] = {left.data(), right.data()};
  ClipCounter clips;
  clips.Add(channels, 2, left.size());
  EXPECT_EQ(clips.Clipped(), 4u);
  EXPECT_EQ(clips.Peak(), 1.5);

  // Counts add up over blocks; one channel only looks at the first.
  const std::vector<double> more = {-inf, 2.0};
  const double* one[] = {more.data(), right.data()};
  clips.Add(one, 1, more.size());
  EXPECT_EQ(clips.Clipped(), 6u);
  EXPECT_EQ(clips.Peak(), inf);
}

TEST(ClipCounter, NothingBeyondFullScaleIsNoClip) {
  const std::vector<double> quiet = {0.0, 1.0, -1.0, 0.25};
  const double* channels[] = {quiet.data()};
  ClipCounter clips;
  clips.Add(channels, 1, quiet.size());
  EXPECT_EQ(clips.Clipped(), 0u);
  EXPECT_EQ(clips.Peak(), 1.0);
}

}  // namespace
