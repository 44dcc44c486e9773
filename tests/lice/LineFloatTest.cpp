#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "lice/lice.h"
#include "tests/lice/LiceTestSupport.h"

namespace {

using LiceTest::At;
using LiceTest::Channel;

TEST(DrawLineFloat, WithoutAntialiasingTruncatesToTheIntegerLine) {
  LICE_MemBitmap a(6, 4, 4), b(6, 4, 4);
  LiceTest::FillAll(&a, 0);
  LiceTest::FillAll(&b, 0);
  LICE_DrawLineFloat(&a, -0.7f, 1.9f, 3.9f, 1.2f, 0xFFFFFFFFu, 1.0f, 0, false);
  LICE_DrawLine(&b, 0, 1, 3, 1, 0xFFFFFFFFu, 1.0f, 0, false);
  EXPECT_EQ(LiceTest::Pixels(&a), LiceTest::Pixels(&b));
  // Coinciding end points: the one pixel, as the integer line draws it.
  LiceTest::FillAll(&a, 0);
  LICE_DrawLineFloat(&a, 2.5f, 2.5f, 2.5f, 2.5f, 0xFFFFFFFFu, 1.0f, 0, false);
  EXPECT_EQ(LiceTest::Touched(&a, 0).size(), 1u);
  EXPECT_EQ(At(&a, 2, 2), 0xFFFFFFFFu);
}

TEST(DrawLineFloat, LinesOnWholeAndHalfPositions) {
  // Add of 255 shows the integer alpha: 255 * a / 256.
  struct Case {
    float y;
    int upper, lower;  // the bytes left in rows 2 and 3
  } cases[] = {{2.0f, 254, 0}, {2.5f, 255 * 127 / 256, 255 * 128 / 256}};
  for (const Case& c : cases) {
    LICE_MemBitmap bm(8, 8, 4);
    LiceTest::FillAll(&bm, 0);
    LICE_DrawLineFloat(&bm, 1.0f, c.y, 5.0f, c.y, 0xFFFFFFFFu, 1.0f, LICE_BLIT_MODE_ADD, true);
    for (int y = 0; y < 8; ++y) {
      for (int x = 0; x < 8; ++x) {
        const bool column = x >= 1 && x <= 5;
        const int want = column && y == 2 ? c.upper : (column && y == 3 ? c.lower : 0);
        EXPECT_EQ(Channel(At(&bm, x, y), 1), want) << c.y << " at " << x << "," << y;
      }
    }
  }
}

// At every whole major position between the end points the two pixels
// straddling the exact line share the alpha by distance; nothing else is
// touched. Random lines of both majors and both minor directions.
TEST(DrawLineFloat, AntialiasedPairsFollowTheExactLine) {
  std::mt19937 rng(17);
  std::uniform_real_distribution<float> coord(0.0f, 22.9f);
  for (int trial = 0; trial < 400; ++trial) {
    const float x1 = coord(rng), y1 = coord(rng), x2 = coord(rng), y2 = coord(rng);
    LICE_MemBitmap bm(24, 24, 4);
    LiceTest::FillAll(&bm, 0);
    LICE_DrawLineFloat(&bm, x1, y1, x2, y2, 0xFFFFFFFFu, 1.0f, LICE_BLIT_MODE_ADD, true);

    const bool xMajor = std::fabs(x2 - x1) > std::fabs(y2 - y1);
    const double a0 = xMajor ? x1 : y1, b0 = xMajor ? y1 : x1, a1 = xMajor ? x2 : y2, b1 = xMajor ? y2 : x2;
    const double lo = std::min(a0, a1), hi = std::max(a0, a1);
    std::vector<std::vector<int>> want(24, std::vector<int>(24, 0));
    std::vector<std::vector<bool>> loose(24, std::vector<bool>(24, false));
    for (int m = static_cast<int>(std::ceil(lo)); m <= static_cast<int>(std::floor(hi)); ++m) {
      if (a0 == a1) break;
      const double minor = b0 + (b1 - b0) * (m - a0) / (a1 - a0);
      const int low = static_cast<int>(std::floor(minor));
      const double frac = minor - low;
      auto set = [&](int mi, double share) {
        int& w = xMajor ? want[mi][m] : want[m][mi];
        w = static_cast<int>(share * 255.0 + 0.5);
        (xMajor ? loose[mi][m] : loose[m][mi]) = true;
      };
      set(low, 1.0 - frac);
      if (low + 1 < 24) set(low + 1, frac);
    }
    for (int y = 0; y < 24; ++y) {
      for (int x = 0; x < 24; ++x) {
        const int got = Channel(At(&bm, x, y), 1);
        // The 16.16 walk and the weight rounding move a share by a few steps.
        ASSERT_NEAR(got, want[y][x], loose[y][x] ? 4 : 0)
            << x1 << "," << y1 << " -> " << x2 << "," << y2 << " at " << x << "," << y;
      }
    }
  }
}

TEST(DrawLineFloat, LinesThatDrawNothing) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  LICE_MemBitmap bm(8, 8, 4), thin(1, 8, 4), flat(8, 1, 4);
  LiceTest::FillAll(&bm, 0);
  LiceTest::FillAll(&thin, 0);
  LiceTest::FillAll(&flat, 0);
  LICE_DrawLineFloat(&bm, 2.2f, 1.0f, 2.8f, 1.1f, 0xFFFFFFFFu, 1.0f, 0, true);  // no whole x between
  LICE_DrawLineFloat(&bm, 3.5f, 3.5f, 3.5f, 3.5f, 0xFFFFFFFFu, 1.0f, 0, true);
  LICE_DrawLineFloat(&bm, nan, 1.0f, 5.0f, 5.0f, 0xFFFFFFFFu, 1.0f, 0, true);
  LICE_DrawLineFloat(&bm, nan, 1.0f, 5.0f, 5.0f, 0xFFFFFFFFu, 1.0f, 0, false);
  LICE_DrawLineFloat(&bm, -inf, 1.0f, inf, 5.0f, 0xFFFFFFFFu, 1.0f, 0, true);
  LICE_DrawLineFloat(&bm, 1.0f, 1.0f, 5.0f, 5.0f, 0xFFFFFFFFu, 0.003f, 1, true);
  LICE_DrawLineFloat(&bm, 1.0f, 1.0f, 5.0f, 5.0f, 0xFFFFFFFFu, -0.5f, 0, true);
  LICE_DrawLineFloat(&bm, 1.0f, 1.0f, 5.0f, 5.0f, 0xFFFFFFFFu, 1.0f, 6, true);
  LICE_DrawLineFloat(nullptr, 1.0f, 1.0f, 5.0f, 5.0f, 0xFFFFFFFFu, 1.0f, 0, true);
  LICE_DrawLineFloat(&thin, 0.0f, 0.0f, 0.0f, 7.0f, 0xFFFFFFFFu, 1.0f, 0, true);
  LICE_DrawLineFloat(&flat, 0.0f, 0.0f, 7.0f, 0.0f, 0xFFFFFFFFu, 1.0f, 0, true);
  EXPECT_TRUE(LiceTest::Touched(&bm, 0).empty());
  EXPECT_TRUE(LiceTest::Touched(&thin, 0).empty());
  EXPECT_TRUE(LiceTest::Touched(&flat, 0).empty());
  LICE_MemBitmap empty;
  LICE_DrawLineFloat(&empty, 0.0f, 0.0f, 7.0f, 3.0f, 0xFFFFFFFFu, 1.0f, 0, true);
}

TEST(DrawLineFloat, FarEndPointsStayInside) {
  // Lines far beyond the bitmap in every direction; the padding of the
  // flipped test bitmap shows any write outside it.
  std::mt19937 rng(3);
  std::uniform_real_distribution<float> far(-1e7f, 1e7f);
  LiceTest::FlippedBitmap bm(16, 12);
  for (int i = 0; i < 2000; ++i) {
    LICE_DrawLineFloat(&bm, far(rng), far(rng), far(rng), far(rng), 0xFFFFFFFFu, 1.0f, 1, true);
    LICE_DrawLineFloat(&bm, far(rng) * 1e-6f, far(rng), far(rng) * 1e-6f, far(rng), 0xFFFFFFFFu, 1.0f, 1, true);
  }
  EXPECT_TRUE(bm.PaddingIntact());
}

}  // namespace
