#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <random>
#include <set>
#include <utility>
#include <vector>

#include "lice/lice.h"
#include "tests/lice/LiceTestSupport.h"

namespace {

using LiceTest::At;
using LiceTest::Channel;
using LiceTest::RefBlend;
using Positions = std::set<std::pair<int, int>>;

Positions TouchedSet(LICE_IBitmap* bm, LICE_pixel background) {
  const auto t = LiceTest::Touched(bm, background);
  return Positions(t.begin(), t.end());
}

// White over black at integer alpha a: the byte the copy combiner leaves.
int CopyByte(int a) { return LiceTest::Channel(RefBlend(0, 0, 0xFFFFFFFFu, a), 1); }

TEST(DrawLine, ShallowLineWithoutAntialiasingInBothDirections) {
  const Positions want = {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 1}};
  for (const bool reversed : {false, true}) {
    LICE_MemBitmap bm(6, 3, 4);
    LiceTest::FillAll(&bm, 0);
    if (reversed) {
      LICE_DrawLine(&bm, 4, 1, 0, 0, 0xFFFFFFFFu, 1.0f, 0, false);
    } else {
      LICE_DrawLine(&bm, 0, 0, 4, 1, 0xFFFFFFFFu, 1.0f, 0, false);
    }
    EXPECT_EQ(TouchedSet(&bm, 0), want) << reversed;
    for (const auto& p : want) EXPECT_EQ(At(&bm, p.first, p.second), 0xFFFFFFFFu);
  }
}

TEST(DrawLine, ShallowLineWithAntialiasingSplitsEachColumn) {
  LICE_MemBitmap bm(6, 3, 4);
  LiceTest::FillAll(&bm, 0);
  LICE_DrawLine(&bm, 0, 0, 4, 1, 0xFFFFFFFFu, 1.0f, 0, true);
  // slope 1/4: the columns at 1 and 3 split 191 / 64, the middle 127 / 128.
  const int want[3][6] = {{255, CopyByte(191), CopyByte(127), CopyByte(64), 0, 0},
                          {0, CopyByte(64), CopyByte(128), CopyByte(191), 255, 0},
                          {0, 0, 0, 0, 0, 0}};
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 6; ++x) EXPECT_EQ(LiceTest::Channel(At(&bm, x, y), 2), want[y][x]) << x << "," << y;
  }
  EXPECT_EQ(CopyByte(127), 127);
  EXPECT_EQ(CopyByte(128), 128);
}

// Without antialiasing each major position i from either end carries one
// pixel, k(i) = floor((i * slope + 32768) / 65536) minor steps from that
// end toward the other, the middle one (even lengths) from the start.
TEST(DrawLine, SlopedLinesPutOnePixelPerColumnByTheRoundingRule) {
  std::mt19937 rng(4);
  for (int trial = 0; trial < 300; ++trial) {
    int x1 = static_cast<int>(rng() % 40), y1 = static_cast<int>(rng() % 30);
    int x2 = static_cast<int>(rng() % 40), y2 = static_cast<int>(rng() % 30);
    const int dx = x2 - x1, dy = y2 - y1;
    if (dx == 0 || dy == 0 || std::abs(dx) == std::abs(dy)) continue;
    LICE_MemBitmap bm(40, 30, 4);
    LiceTest::FillAll(&bm, 0);
    LICE_DrawLine(&bm, x1, y1, x2, y2, 0xFFFFFFFFu, 1.0f, 0, false);

    const bool xMajor = std::abs(dx) > std::abs(dy);
    // Start at the end with the smaller major coordinate.
    int sx = x1, sy = y1, ex = x2, ey = y2;
    if ((xMajor ? dx : dy) < 0) std::swap(sx, ex), std::swap(sy, ey);
    const int n = xMajor ? ex - sx : ey - sy;
    const int minor = xMajor ? ey - sy : ex - sx;
    const int slope = static_cast<int>(static_cast<double>(std::abs(minor)) / n * 65536.0);
    const int dir = minor > 0 ? 1 : -1;
    Positions want;
    auto put = [&](int fromX, int fromY, int majorSign, int i) {
      const int k = static_cast<int>((static_cast<long long>(i) * slope + 32768) >> 16);
      if (xMajor) {
        want.emplace(fromX + majorSign * i, fromY + majorSign * dir * k);
      } else {
        want.emplace(fromX + majorSign * dir * k, fromY + majorSign * i);
      }
    };
    const int pairs = (n + 1) / 2;
    for (int i = 0; i < pairs; ++i) {
      put(sx, sy, +1, i);
      put(ex, ey, -1, i);
    }
    if (n % 2 == 0) put(sx, sy, +1, n / 2);
    ASSERT_EQ(TouchedSet(&bm, 0), want) << x1 << "," << y1 << " -> " << x2 << "," << y2;
  }
}

TEST(DrawLine, SwappingEndPointsDrawsTheSamePixels) {
  std::mt19937 rng(5);
  for (int trial = 0; trial < 200; ++trial) {
    // Inside the bitmap: clipping takes the first end point first, so a
    // clipped line may end on other pixels when its ends are swapped.
    const int x1 = static_cast<int>(rng() % 40), y1 = static_cast<int>(rng() % 40);
    const int x2 = static_cast<int>(rng() % 40), y2 = static_cast<int>(rng() % 40);
    for (const bool aa : {false, true}) {
      LICE_MemBitmap a(40, 40, 4), b(40, 40, 4);
      LiceTest::FillAll(&a, 0x10101010u);
      LiceTest::FillAll(&b, 0x10101010u);
      LICE_DrawLine(&a, x1, y1, x2, y2, 0xF0E0D0C0u, 0.8f, 1, aa);
      LICE_DrawLine(&b, x2, y2, x1, y1, 0xF0E0D0C0u, 0.8f, 1, aa);
      // A 45-degree antialiased line visits its sides in another order,
      // which in add mode gives the same sums.
      ASSERT_EQ(LiceTest::Pixels(&a), LiceTest::Pixels(&b)) << x1 << "," << y1 << " " << x2 << "," << y2;
    }
  }
}

TEST(DrawLine, DiagonalMainAndSidePixels) {
  const Positions main = {{0, 0}, {1, 1}, {2, 2}, {3, 3}};
  const Positions sides = {{1, 0}, {0, 1}, {2, 1}, {1, 2}, {3, 2}, {2, 3}};
  struct Case {
    bool aa;
    float alpha;
    int mainByte, sideByte;  // white over black
  } cases[] = {{false, 1.0f, 255, 0},
               // Exactly 1.0 with antialiasing: the three-quarter and quarter shortcuts.
               {true, 1.0f, 0 + 63 + 127, 63},
               // Otherwise main pixels at (3 * ia) / 4, sides at ia / 4.
               {true, 0.5f, CopyByte(96), CopyByte(32)},
               {false, 0.5f, 127, 0}};  // the byte average (0 + 255) >> 1
  for (const Case& c : cases) {
    LICE_MemBitmap bm(5, 5, 4);
    LiceTest::FillAll(&bm, 0);
    LICE_DrawLine(&bm, 0, 0, 3, 3, 0xFFFFFFFFu, c.alpha, 0, c.aa);
    for (int y = 0; y < 5; ++y) {
      for (int x = 0; x < 5; ++x) {
        const int want = main.count({x, y}) ? c.mainByte : (sides.count({x, y}) ? c.sideByte : 0);
        EXPECT_EQ(LiceTest::Channel(At(&bm, x, y), 0), want) << c.aa << " " << c.alpha << " at " << x << "," << y;
      }
    }
  }
}

struct StraightCase {
  const char* name;
  float alpha;
  int mode;
  LICE_pixel dest, color, expected;
};

class StraightLineAlphas : public ::testing::TestWithParam<StraightCase> {};

// Horizontal and vertical lines in copy mode compare the float alpha with
// 1, 0.5, 0.25 and 0.75 first; then the integer alpha picks the average (128),
// a store (256) or the copy combiner.
TEST_P(StraightLineAlphas, HorizontalAndVerticalAgree) {
  const StraightCase c = GetParam();
  LICE_MemBitmap h(5, 3, 4), v(3, 5, 4);
  LiceTest::FillAll(&h, c.dest);
  LiceTest::FillAll(&v, c.dest);
  LICE_DrawLine(&h, 4, 1, 0, 1, c.color, c.alpha, c.mode, true);
  LICE_DrawLine(&v, 1, 0, 1, 4, c.color, c.alpha, c.mode, true);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(At(&h, i, 1), c.expected) << i;
    EXPECT_EQ(At(&v, 1, i), c.expected) << i;
    EXPECT_EQ(At(&h, i, 0), c.dest);
    EXPECT_EQ(At(&v, 0, i), c.dest);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StraightLineAlphas,
    ::testing::Values(
        StraightCase{"Full", 1.0f, 0, 0x12345678u, 0x9ABCDEF0u, 0x9ABCDEF0u},
        // 1 / 2 + 1 / 2 = 0 for the exact half; (1 + 1) >> 1 = 1 for ia 128 otherwise.
        StraightCase{"ExactHalf", 0.5f, 0, 0x01010101u, 0x01010101u, 0},
        StraightCase{"HalfByIntegerAlpha", 0.5001f, 0, 0x01010101u, 0x01010101u, 0x01010101u},
        StraightCase{"ExactQuarter", 0.25f, 0, 0xFFFFFFFFu, 0, LICE_RGBA(190, 190, 190, 190)},
        StraightCase{"ExactThreeQuarters", 0.75f, 0, 0, 0xFFFFFFFFu, LICE_RGBA(190, 190, 190, 190)},
        StraightCase{"StoreAtIntegerAlpha256", 1.002f, 0, 0x12345678u, 0x9ABCDEF0u, 0x9ABCDEF0u},
        StraightCase{"CopyCombiner", 0.3f, 0, 0x12345678u, 0x9ABCDEF0u, RefBlend(0, 0x12345678u, 0x9ABCDEF0u, 76)},
        StraightCase{"SourceAlphaBitIgnored", 0.3f, 0x10000, 0x12345678u, 0x9ABCDEF0u,
                     RefBlend(0, 0x12345678u, 0x9ABCDEF0u, 76)},
        StraightCase{"CopyNegative", -0.3f, 0, 0x12345678u, 0x9ABCDEF0u, 0x12345678u},
        StraightCase{"BelowOneStep", 0.0039f, 1, 0x12345678u, 0x9ABCDEF0u, 0x12345678u},
        StraightCase{"Add", 0.5f, 1, 0x12345678u, 0x9ABCDEF0u, RefBlend(1, 0x12345678u, 0x9ABCDEF0u, 128)},
        // Modes 1 to 5 hand a negative alpha to their combiner.
        StraightCase{"AddNegative", -0.5f, 1, 0x92345678u, 0x9ABCDEF0u, RefBlend(1, 0x92345678u, 0x9ABCDEF0u, -128)},
        StraightCase{"Overlay", 0.7f, 0x10004, 0x12345678u, 0x9ABCDEF0u, RefBlend(4, 0x12345678u, 0x9ABCDEF0u, 179)},
        StraightCase{"ModeSix", 1.0f, 6, 0x12345678u, 0x9ABCDEF0u, 0x12345678u}),
    [](const auto& info) { return std::string(info.param.name); });

// Long horizontal and vertical lines over random pixels, at every kind of
// alpha the copy mode picks an operation by, their ends inside or beyond
// each edge, in bitmaps stored either way up: each pixel as the per-pixel
// rule gives it, none off the line touched.
TEST(DrawLine, StraightLinesOverRandomPixelsMatchThePerPixelRule) {
  // The float alpha, the integer alpha and which rule: 's' the whole-word
  // shortcut, 'a' the byte average, 'c' the copy combiner, 'w' a store.
  struct Case {
    float alpha;
    int ia;
    char rule;
  };
  const Case cases[] = {{1.0f, 256, 'w'},   {0.5f, 128, 's'},   {0.25f, 64, 's'},  {0.75f, 192, 's'},
                        {0.5001f, 128, 'a'}, {0.3f, 76, 'c'},    {0.999f, 255, 'c'}, {0.004f, 1, 'c'},
                        {1.002f, 256, 'w'}};
  struct Ends {
    int a, b;  // along the line
  };
  const int destW = 37, destH = 29;
  const Ends ends[] = {{0, 36}, {36, 0}, {-5, 40}, {3, 3}, {2, 12}, {-9, 6}, {30, 50}, {17, 21}};
  std::mt19937 rng(12);
  for (const Case& c : cases) {
    for (bool flipped : {false, true}) {
      std::unique_ptr<LICE_IBitmap> bm;
      if (flipped) {
        bm = std::make_unique<LiceTest::FlippedBitmap>(destW, destH, 3);
      } else {
        bm = std::make_unique<LICE_MemBitmap>(destW, destH, 1);
      }
      for (bool vertical : {false, true}) {
        for (const Ends& e : ends) {
          for (int across : {0, 1, 14, vertical ? destW - 1 : destH - 1}) {
            LiceTest::FillRandom(bm.get(), static_cast<unsigned>(rng()));
            const std::vector<LICE_pixel> before = LiceTest::Pixels(bm.get());
            const LICE_pixel colour = static_cast<LICE_pixel>(rng());
            if (vertical) {
              LICE_DrawLine(bm.get(), across, e.a, across, e.b, colour, c.alpha, LICE_BLIT_MODE_COPY, false);
            } else {
              LICE_DrawLine(bm.get(), e.a, across, e.b, across, colour, c.alpha, LICE_BLIT_MODE_COPY, false);
            }
            const int lo = std::min(e.a, e.b), hi = std::max(e.a, e.b);
            for (int y = 0; y < destH; ++y) {
              for (int x = 0; x < destW; ++x) {
                const LICE_pixel d = before[static_cast<size_t>(y) * destW + x];
                const int along = vertical ? y : x, other = vertical ? x : y;
                LICE_pixel want = d;
                if (other == across && along >= lo && along <= hi) {
                  if (c.rule == 'w') {
                    want = colour;
                  } else if (c.rule == 's') {
                    want = LiceTest::RefShortcut(c.ia, d, colour);
                  } else if (c.rule == 'a') {
                    want = 0;
                    for (int i = 0; i < 4; ++i) {
                      want |= static_cast<LICE_pixel>((Channel(d, i) + Channel(colour, i)) >> 1) << (8 * i);
                    }
                  } else {
                    want = RefBlend(0, d, colour, c.ia);
                  }
                }
                ASSERT_EQ(At(bm.get(), x, y), want)
                    << "alpha " << c.alpha << (flipped ? " flipped" : "") << (vertical ? " vertical" : " horizontal")
                    << " from " << e.a << " to " << e.b << " at " << across << ": pixel " << x << "," << y;
              }
            }
          }
        }
      }
      if (flipped) {
        EXPECT_TRUE(static_cast<LiceTest::FlippedBitmap*>(bm.get())->PaddingIntact());
      }
    }
  }
}

TEST(DrawLine, ClippingAndDegenerateLines) {
  LICE_MemBitmap bm(4, 4, 4);
  LiceTest::FillAll(&bm, 0);
  LICE_DrawLine(&bm, -10, 2, 10, 2, 0xFFFFFFFFu, 1.0f, 0, false);
  EXPECT_EQ(TouchedSet(&bm, 0), (Positions{{0, 2}, {1, 2}, {2, 2}, {3, 2}}));
  LiceTest::FillAll(&bm, 0);
  LICE_DrawLine(&bm, -10, 5, 10, 5, 0xFFFFFFFFu, 1.0f, 0, false);
  LICE_DrawLine(&bm, -3, 0, -1, 3, 0xFFFFFFFFu, 1.0f, 0, true);
  LICE_DrawLine(nullptr, 0, 0, 3, 3, 0xFFFFFFFFu, 1.0f, 0, true);
  EXPECT_TRUE(TouchedSet(&bm, 0).empty());
  LICE_DrawLine(&bm, 2, 1, 2, 1, 0xFFFFFFFFu, 1.0f, 0, true);
  EXPECT_EQ(TouchedSet(&bm, 0), (Positions{{2, 1}}));

  LICE_MemBitmap empty;
  LICE_DrawLine(&empty, 0, 0, 3, 3, 0xFFFFFFFFu, 1.0f, 0, false);
  LICE_SysBitmap noPixels(0, 4);
  LICE_DrawLine(&noPixels, 0, 0, 0, 3, 0xFFFFFFFFu, 1.0f, 0, false);
  // Far-off end points: the clipped part of the line from (-2^31, -2^31).
  LiceTest::FillAll(&bm, 0);
  LICE_DrawLine(&bm, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, 0xFFFFFFFFu, 1.0f, 0, false);
  EXPECT_EQ(TouchedSet(&bm, 0), (Positions{{0, 0}, {1, 1}, {2, 2}, {3, 3}}));
}

TEST(DrawLine, AntialiasedModesCombineAtTheSplitAlphas) {
  // Add of 0x40 bytes at the split alphas of (0, 0) -> (4, 1).
  LICE_MemBitmap bm(6, 3, 4);
  LiceTest::FillAll(&bm, 0x10101010u);
  LICE_DrawLine(&bm, 0, 0, 4, 1, 0x40404040u, 1.0f, 1, true);
  auto added = [](int a) { return LiceTest::Channel(RefBlend(1, 0x10101010u, 0x40404040u, a), 3); };
  EXPECT_EQ(LiceTest::Channel(At(&bm, 0, 0), 3), added(256));
  EXPECT_EQ(LiceTest::Channel(At(&bm, 1, 0), 3), added(191));
  EXPECT_EQ(LiceTest::Channel(At(&bm, 1, 1), 3), added(64));
  EXPECT_EQ(LiceTest::Channel(At(&bm, 2, 0), 3), added(127));
  EXPECT_EQ(LiceTest::Channel(At(&bm, 2, 1), 3), added(128));
  EXPECT_EQ(LiceTest::Channel(At(&bm, 4, 1), 3), added(256));
}

}  // namespace
