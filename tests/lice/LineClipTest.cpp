#include "lice/LineClip.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

namespace {

struct ClipCase {
  int x1, y1, x2, y2, width, height;
  bool accepted;
  int cx1, cy1, cx2, cy2;  // when accepted
};

class ClipLineCases : public ::testing::TestWithParam<ClipCase> {};

TEST_P(ClipLineCases, ClipsToTheBitmap) {
  const ClipCase c = GetParam();
  int x1 = c.x1, y1 = c.y1, x2 = c.x2, y2 = c.y2;
  ASSERT_EQ(ClipLine(&x1, &y1, &x2, &y2, c.width, c.height), c.accepted);
  if (c.accepted) {
    EXPECT_EQ(x1, c.cx1);
    EXPECT_EQ(y1, c.cy1);
    EXPECT_EQ(x2, c.cx2);
    EXPECT_EQ(y2, c.cy2);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ClipLineCases,
    ::testing::Values(
        ClipCase{1, 1, 2, 3, 4, 4, true, 1, 1, 2, 3},
        // Both left of x = 0, both below, or an empty bitmap: nothing.
        ClipCase{-3, 0, -1, 3, 4, 4, false, 0, 0, 0, 0}, ClipCase{0, 5, 3, 9, 4, 4, false, 0, 0, 0, 0}, ClipCase{0, 0, 1, 1, 0, 4, false, 0, 0, 0, 0},
        ClipCase{0, 0, 1, 1, 4, 0, false, 0, 0, 0, 0},
        ClipCase{-10, 2, 10, 2, 4, 4, true, 0, 2, 3, 2}, ClipCase{-10, 5, 10, 5, 4, 4, false, 0, 0, 0, 0},
        // Crossings are taken at y = 4 and x = 4, the points placed on row and column 3:
        // first y = 4 (x = 5), then x = 4 (y = 2.4).
        ClipCase{0, 0, 5, 4, 4, 4, true, 0, 0, 3, 2},
        // At y = 4 first (x = 4), then at x = 4 (y = 3).
        ClipCase{0, 0, 8, 8, 4, 4, true, 0, 0, 3, 3},
        // Top first: x = 3 + trunc(6 * -3 / 12) = 2; then the bottom from there.
        ClipCase{3, -6, 0, 6, 4, 4, true, 2, 0, 1, 3},
        // Differences past 32 bits.
        ClipCase{INT_MIN, 2, INT_MAX, 2, 10, 10, true, 0, 2, 9, 2},
        ClipCase{INT_MIN, INT_MIN, INT_MAX, INT_MAX, 10, 10, true, 0, 0, 9, 9}));

TEST(ClipLineFloat, RegionIsOnePixelNarrower) {
  float x1 = -3.0f, y1 = 2.5f, x2 = 20.0f, y2 = 2.5f;
  ASSERT_TRUE(ClipLineFloat(&x1, &y1, &x2, &y2, 8, 8));
  EXPECT_FLOAT_EQ(x1, 0.0f);
  EXPECT_FLOAT_EQ(x2, 6.0f);  // crossing at width - 1 = 7, placed at width - 2
  EXPECT_FLOAT_EQ(y1, 2.5f);
  EXPECT_FLOAT_EQ(y2, 2.5f);

  x1 = 1.0f, y1 = 7.0f, x2 = 5.0f, y2 = 7.0f;  // y = 7 is outside 0 <= y < 7
  EXPECT_FALSE(ClipLineFloat(&x1, &y1, &x2, &y2, 8, 8));
  x1 = 0.0f, y1 = 0.0f, x2 = 0.5f, y2 = 0.0f;
  EXPECT_FALSE(ClipLineFloat(&x1, &y1, &x2, &y2, 1, 8));
  EXPECT_FALSE(ClipLineFloat(&x1, &y1, &x2, &y2, 8, 1));
}

TEST(ClipLineFloat, NonFiniteAndOverflowingEndPointsAreRefused) {
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float big = std::numeric_limits<float>::max();
  struct Case {
    float x1, y1, x2, y2;
  } cases[] = {{nan, 1, 3, 3}, {1, 1, inf, 3}, {-inf, 2, inf, 2}, {-big, -big, big, big}, {-big, 3, big, 3.5f}};
  for (const Case& c : cases) {
    float x1 = c.x1, y1 = c.y1, x2 = c.x2, y2 = c.y2;
    if (ClipLineFloat(&x1, &y1, &x2, &y2, 16, 16)) {
      // Whatever is accepted lies inside.
      for (const float v : {x1, y1, x2, y2}) EXPECT_TRUE(v >= 0.0f && v < 15.0f) << v;
    }
  }
}

}  // namespace
