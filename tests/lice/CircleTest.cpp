#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <random>

#include "lice/lice.h"
#include "tests/lice/LiceTestSupport.h"

namespace {

using LiceTest::At;
using LiceTest::Channel;

// Pixels per row of a hard disc centred at (10, 10).
std::map<int, int> RowCounts(float r, bool aa = false) {
  LICE_MemBitmap bm(21, 21, 4);
  LiceTest::FillAll(&bm, 0);
  LICE_FillCircle(&bm, 10.0f, 10.0f, r, 0xFFFFFFFFu, 1.0f, 0, aa);
  std::map<int, int> rows;
  for (const auto& p : LiceTest::Touched(&bm, 0)) ++rows[p.second - 10];
  return rows;
}

TEST(FillCircle, HardDiscShapes) {
  EXPECT_EQ(RowCounts(0.0f), (std::map<int, int>{{0, 1}}));
  EXPECT_EQ(RowCounts(0.5f), (std::map<int, int>{{-1, 1}, {0, 3}, {1, 1}}));
  EXPECT_EQ(RowCounts(1.4f), (std::map<int, int>{{-1, 1}, {0, 3}, {1, 1}}));
  EXPECT_EQ(RowCounts(2.0f), (std::map<int, int>{{-2, 3}, {-1, 5}, {0, 5}, {1, 5}, {2, 3}}));
  EXPECT_EQ(RowCounts(3.0f), (std::map<int, int>{{-3, 3}, {-2, 5}, {-1, 7}, {0, 7}, {1, 7}, {2, 5}, {3, 3}}));
  EXPECT_TRUE(RowCounts(-0.5f).empty());
}

// Every pixel of the disc is written once: in add mode with a colour of 1
// at full strength each write adds exactly 1.
TEST(FillCircle, AddModeNeverWritesAPixelTwice) {
  std::mt19937 rng(8);
  std::uniform_real_distribution<float> centre(-6.0f, 46.0f), radius(0.0f, 30.0f);
  for (int trial = 0; trial < 300; ++trial) {
    const float cx = centre(rng), cy = centre(rng), r = radius(rng);
    LICE_MemBitmap bm(40, 40, 4);
    LiceTest::FillAll(&bm, 0);
    LICE_FillCircle(&bm, cx, cy, r, 0x01010101u, 1.0f, LICE_BLIT_MODE_ADD, false);
    const int ir = static_cast<int>(r + 0.5f);
    const int icx = static_cast<int>(cx + 0.5f), icy = static_cast<int>(cy + 0.5f);
    for (int y = 0; y < 40; ++y) {
      for (int x = 0; x < 40; ++x) {
        ASSERT_LE(At(&bm, x, y), 0x01010101u) << cx << "," << cy << " r " << r;
        // Writes stay within the square around the rounded centre.
        if (At(&bm, x, y)) {
          ASSERT_TRUE(std::abs(x - icx) <= ir && std::abs(y - icy) <= ir);
        }
      }
    }
    // Antialiased: a full pixel is 100, a rim pixel less; a pixel written
    // twice would exceed 100.
    LiceTest::FillAll(&bm, 0);
    LICE_FillCircle(&bm, cx, cy, r, 0x64646464u, 1.0f, LICE_BLIT_MODE_ADD, true);
    for (int y = 0; y < 40; ++y) {
      for (int x = 0; x < 40; ++x) ASSERT_LE(Channel(At(&bm, x, y), 0), 100) << cx << "," << cy << " r " << r;
    }
  }
}

TEST(FillCircle, AntialiasedRimAlphas) {
  // r = 2.5 at ia 256 in add mode with 255: each pixel shows 255 * alpha / 256.
  LICE_MemBitmap bm(11, 11, 4);
  LiceTest::FillAll(&bm, 0);
  LICE_FillCircle(&bm, 5.0f, 5.0f, 2.5f, 0xFFFFFFFFu, 1.0f, LICE_BLIT_MODE_ADD, true);
  auto shown = [](int alpha) { return 255 * alpha / 256; };
  // The rim of an octant step: trunc(frac(sqrt(6.25 - x^2)) * 256).
  const int rim1 = static_cast<int>((std::sqrt(5.25) - 2.0) * 256);
  EXPECT_EQ(rim1, 74);
  for (int y = -5; y <= 5; ++y) {
    for (int x = -5; x <= 5; ++x) {
      const int ax = std::abs(x), ay = std::abs(y);
      int alpha = 0;
      if (ax + ay <= 3 && ax <= 2 && ay <= 2) alpha = 256;  // the 5 x 5 square without its corners
      if ((ax == 3 && ay == 0) || (ax == 0 && ay == 3) || (ax == 2 && ay == 2)) alpha = 128;
      if ((ax == 1 && ay == 3) || (ax == 3 && ay == 1)) alpha = rim1;
      EXPECT_EQ(Channel(At(&bm, 5 + x, 5 + y), 2), shown(alpha)) << x << "," << y;
    }
  }
}

TEST(FillCircle, SmallAntialiasedDiscs) {
  // r = 0.5: the centre at 256 and its four neighbours at 128.
  LICE_MemBitmap bm(5, 5, 4);
  LiceTest::FillAll(&bm, 0);
  LICE_FillCircle(&bm, 2.0f, 2.0f, 0.5f, 0xFFFFFFFFu, 1.0f, LICE_BLIT_MODE_ADD, true);
  EXPECT_EQ(LiceTest::Touched(&bm, 0).size(), 5u);
  EXPECT_EQ(Channel(At(&bm, 2, 2), 0), 255);
  EXPECT_EQ(Channel(At(&bm, 1, 2), 0), 127);
  EXPECT_EQ(Channel(At(&bm, 2, 3), 0), 127);
  // r = 1.0: a plus at full alpha; the rim at distance 2 gets alpha 0, which
  // leaves copy unchanged and HSV adjust (which sets the alpha byte) not.
  LiceTest::FillAll(&bm, 0);
  LICE_FillCircle(&bm, 2.0f, 2.0f, 1.0f, 0xFFFFFFFFu, 1.0f, 0, true);
  EXPECT_EQ(LiceTest::Touched(&bm, 0).size(), 5u);
  LiceTest::FillAll(&bm, 0);
  LICE_FillCircle(&bm, 2.0f, 2.0f, 1.0f, LICE_RGBA(128, 128, 128, 77), 1.0f, LICE_BLIT_MODE_HSVADJ, true);
  EXPECT_EQ(LiceTest::Touched(&bm, 0).size(), 9u);
  EXPECT_EQ(LICE_GETA(At(&bm, 0, 2)), 77);
}

TEST(FillCircle, ModesAndAlphas) {
  struct Case {
    bool aa;
    float alpha;
    int mode;
    LICE_pixel color;
    LICE_pixel expected;  // at the centre, over 0x20406080
  } cases[] = {
      {false, 1.0f, 0, 0xFFFFFFFFu, 0xFFFFFFFFu},
      // ia 128 without antialiasing: the byte average.
      {false, 0.5f, 0, 0x01030507u, LICE_RGBA((0x60 + 0x05) >> 1, (0x40 + 0x03) >> 1, (0x20 + 0x01) >> 1,
                                              (0x80 + 0x07) >> 1)},
      // With antialiasing every alpha goes through the copy combiner.
      {true, 0.5f, 0, 0x01030507u, LiceTest::RefBlend(0, 0x20406080u, 0x01030507u, 128)},
      // Alpha byte 128 with the source-alpha bit: ia trunc(128 / 255 * 256) = 128, the average.
      {false, 1.0f, 0x10000, 0x01030580u, LICE_RGBA((0x60 + 0x05) >> 1, (0x40 + 0x03) >> 1, (0x20 + 0x01) >> 1,
                                                    (0x80 + 0x80) >> 1)},
      {false, 1.0f, 0x10000, 0x01030500u, 0x20406080u},
      {false, 0.7f, 3, 0x11223344u, LiceTest::RefBlend(3, 0x20406080u, 0x11223344u, 179)},
      {true, -0.5f, 0, 0xFFFFFFFFu, 0x20406080u},
      {false, -0.5f, 1, 0xFFFFFFFFu, LiceTest::RefBlend(1, 0x20406080u, 0xFFFFFFFFu, -128)},
      {true, 1.0f, 6, 0xFFFFFFFFu, 0x20406080u},
  };
  for (const Case& c : cases) {
    LICE_MemBitmap bm(9, 9, 4);
    LiceTest::FillAll(&bm, 0x20406080u);
    LICE_FillCircle(&bm, 4.0f, 4.0f, 2.2f, c.color, c.alpha, c.mode, c.aa);
    EXPECT_EQ(At(&bm, 4, 4), c.expected) << c.aa << " " << c.alpha << " " << c.mode;
  }
}

TEST(FillCircle, RejectionMarginsAndClipping) {
  // trunc(cx) + trunc(r) = -2 still reaches the drawer, -3 does not.
  LICE_MemBitmap bm(10, 10, 4);
  LiceTest::FillAll(&bm, 0);
  LICE_FillCircle(&bm, -4.0f, 5.0f, 1.0f, 0xFFFFFFFFu, 1.0f, 1, true);
  LICE_FillCircle(&bm, 5.0f, 13.0f, 1.0f, 0xFFFFFFFFu, 1.0f, 1, true);
  EXPECT_TRUE(LiceTest::Touched(&bm, 0).empty());
  // cx = -2.0, r = 0.9: the rounded centre is -1 (toward zero), and the
  // right axis rim pixel, alpha trunc(0.9 * 256), lands in column 0.
  LICE_FillCircle(&bm, -2.0f, 5.0f, 0.9f, 0xFFFFFFFFu, 1.0f, 1, true);
  const auto touched = LiceTest::Touched(&bm, 0);
  ASSERT_EQ(touched.size(), 1u);
  EXPECT_EQ(touched[0], std::make_pair(0, 5));
  EXPECT_EQ(Channel(At(&bm, 0, 5), 0), 255 * static_cast<int>(0.9 * 256) / 256);

  // A disc larger than the bitmap fills it and touches nothing outside.
  LiceTest::FlippedBitmap big(12, 9);
  LICE_FillCircle(&big, 6.0f, 4.0f, 40.0f, 0x01010101u, 1.0f, 1, false);
  for (int y = 0; y < 9; ++y) {
    for (int x = 0; x < 12; ++x) EXPECT_EQ(At(&big, x, y), 0x01010101u);
  }
  LICE_FillCircle(&big, -3.0f, 20.0f, 12.5f, 0x01010101u, 1.0f, 1, true);
  EXPECT_TRUE(big.PaddingIntact());
}

TEST(FillCircle, DegenerateInputDrawsNothing) {
  LICE_MemBitmap bm(8, 8, 4), empty;
  LiceTest::FillAll(&bm, 0);
  const float nan = std::nanf("");
  LICE_FillCircle(nullptr, 4, 4, 2, 0xFFFFFFFFu, 1.0f, 0, false);
  LICE_FillCircle(&empty, 4, 4, 2, 0xFFFFFFFFu, 1.0f, 0, false);
  LICE_SysBitmap noPixels(0, 4);
  LICE_FillCircle(&noPixels, 0, 0, 2, 0xFFFFFFFFu, 1.0f, 0, false);
  LICE_FillCircle(&bm, nan, 4, 2, 0xFFFFFFFFu, 1.0f, 0, true);
  LICE_FillCircle(&bm, 4, 4, nan, 0xFFFFFFFFu, 1.0f, 0, true);
  LICE_FillCircle(&bm, 4, 1e30f, 2, 0xFFFFFFFFu, 1.0f, 0, true);
  LICE_FillCircle(&bm, 4, 4, 1e30f, 0xFFFFFFFFu, 1.0f, 0, true);
  LICE_FillCircle(&bm, 4, 4, 2, 0xFFFFFFFFu, 0.003f, 1, true);
  EXPECT_TRUE(LiceTest::Touched(&bm, 0).empty());
}

}  // namespace
