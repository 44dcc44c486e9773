#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <random>
#include <vector>

#include "lice/lice.h"
#include "tests/lice/LiceTestSupport.h"

namespace {

using LiceTest::At;

// Filled columns of each row: first and last x, inclusive.
using Spans = std::map<int, std::pair<int, int>>;

Spans RowSpans(LICE_IBitmap* bm) {
  Spans spans;
  for (const auto& p : LiceTest::Touched(bm, 0)) {
    auto it = spans.find(p.second);
    if (it == spans.end()) {
      spans[p.second] = {p.first, p.first};
    } else {
      it->second.first = std::min(it->second.first, p.first);
      it->second.second = std::max(it->second.second, p.first);
    }
  }
  return spans;
}

Spans Fill(const std::vector<int>& x, const std::vector<int>& y, int w = 12, int h = 12) {
  LICE_MemBitmap bm(w, h, 4);
  LiceTest::FillAll(&bm, 0);
  LICE_FillConvexPolygon(&bm, x.data(), y.data(), static_cast<int>(x.size()), 0xFFFFFFFFu, 1.0f, 0);
  // Runs have no holes.
  const Spans spans = RowSpans(&bm);
  for (const auto& s : spans) {
    for (int px = s.second.first; px <= s.second.second; ++px) EXPECT_EQ(At(&bm, px, s.first), 0xFFFFFFFFu);
  }
  return spans;
}

TEST(FillTriangle, RightTriangleRowsShrinkByOne) {
  LICE_MemBitmap bm(8, 8, 4);
  LiceTest::FillAll(&bm, 0);
  LICE_FillTriangle(&bm, 0, 0, 4, 0, 0, 4, 0xFFFFFFFFu, 1.0f, 0);
  EXPECT_EQ(RowSpans(&bm), (Spans{{0, {0, 4}}, {1, {0, 3}}, {2, {0, 2}}, {3, {0, 1}}, {4, {0, 0}}}));
}

TEST(FillTriangle, EdgesAreTruncatedTowardTheirStart) {
  // The right edge steps trunc(7 * 65536 / 3) = 152917 a row and reaches
  // 458751 after three, one short of 7 pixels: the vertex (9, 4) stays
  // empty; the lower left edge's three steps of 21845 stay below a pixel.
  EXPECT_EQ(Fill({2, 9, 4}, {1, 4, 8}), (Spans{{1, {2, 2}},
                                                {2, {2, 4}},
                                                {3, {2, 6}},
                                                {4, {2, 8}},
                                                {5, {3, 8}},
                                                {6, {3, 7}},
                                                {7, {3, 6}},
                                                {8, {3, 5}}}));
}

TEST(FillConvexPolygon, VertexOrderDuplicatesAndCollinearPointsDoNotMatter) {
  const Spans reference = Fill({2, 9, 4}, {1, 4, 8});
  EXPECT_EQ(Fill({4, 2, 9}, {8, 1, 4}), reference);
  EXPECT_EQ(Fill({9, 4, 2}, {4, 8, 1}), reference);
  EXPECT_EQ(Fill({2, 2, 9, 4, 4}, {1, 1, 4, 8, 8}), reference);
  // A square with midpoints on its sides.
  const Spans square = Fill({1, 8, 8, 1}, {1, 1, 6, 6});
  EXPECT_EQ(Fill({1, 4, 8, 8, 8, 4, 1, 1}, {1, 1, 1, 3, 6, 6, 6, 4}), square);
  EXPECT_EQ(square.size(), 6u);
  for (const auto& s : square) EXPECT_EQ(s.second, std::make_pair(1, 8));
}

TEST(FillConvexPolygon, PointsOnOneRow) {
  EXPECT_EQ(Fill({2, 7, 4}, {5, 5, 5}), (Spans{{5, {2, 7}}}));
  EXPECT_TRUE(Fill({2, 7, 4}, {12, 12, 12}).empty());
  EXPECT_TRUE(Fill({2, 7, 4}, {-1, -1, -1}).empty());
  EXPECT_TRUE(Fill({-9, -2, -4}, {5, 5, 5}).empty());
  EXPECT_EQ(Fill({-9, 30, 4}, {5, 5, 5}), (Spans{{5, {0, 11}}}));
}

TEST(FillConvexPolygon, BandAboveTheBitmapStartsAdvanced) {
  // Skipping the rows above row 0 advances both sides by the skipped steps.
  const Spans clipped = Fill({5, -20, 20}, {-10, 10, 10});
  const Spans whole = Fill({5, -20, 20}, {0, 20, 20}, 12, 24);
  for (int y = 0; y <= 10; ++y) {
    ASSERT_TRUE(clipped.count(y)) << y;
    EXPECT_EQ(clipped.at(y), whole.at(y + 10)) << y;
  }
}

// A steep edge starting far above the bitmap: the step (one pixel a row,
// 65536) times the 65532 skipped rows overflows 32 bits. The left side
// must arrive at x = 3 on row 0 and move right one pixel a row.
TEST(FillConvexPolygon, SteepEdgeFarAboveTheBitmap) {
  EXPECT_EQ(Fill({-65529, 7, 7}, {-65532, -65532, 4}, 8, 8),
            (Spans{{0, {3, 7}}, {1, {4, 7}}, {2, {5, 7}}, {3, {6, 7}}, {4, {7, 7}}}));
}

TEST(FillConvexPolygon, ManyVerticesFillTheSameAsTheirHull) {
  // 513 and 512 points on the edges of a triangle: the heap buffer and the
  // fixed one give the triangle's pixels.
  const Spans reference = Fill({0, 40, 0}, {0, 0, 40}, 48, 48);
  for (const int n : {512, 513, 2000}) {
    std::vector<int> x, y;
    for (int i = 0; i < n; ++i) {
      const int t = (i * 40) / n;  // along the hypotenuse, the legs' ends and the corner
      if (i % 3 == 0) {
        x.push_back(40 - t), y.push_back(t);
      } else if (i % 3 == 1) {
        x.push_back(t), y.push_back(0);
      } else {
        x.push_back(0), y.push_back(t);
      }
    }
    x.push_back(40), y.push_back(0);
    x.push_back(0), y.push_back(40);
    x.push_back(0), y.push_back(0);
    EXPECT_EQ(Fill(x, y, 48, 48), reference) << n;
  }
}

TEST(FillConvexPolygon, ModesAndAlphas) {
  struct Case {
    float alpha;
    int mode;
    LICE_pixel color;
    LICE_pixel expected;  // over 0xFFFFFFFF
  } cases[] = {
      {1.0f, 0, 0x12345678u, 0x12345678u},
      {0.5f, 0, 0, 0x7F7F7F7Fu},
      {0.25f, 0, 0, LICE_RGBA(190, 190, 190, 190)},
      {0.75f, 0, 0, LICE_RGBA(63, 63, 63, 63)},
      {0.3f, 0, 0x12345678u, LiceTest::RefBlend(0, 0xFFFFFFFFu, 0x12345678u, 76)},
      {0.3f, 3, 0x12345678u, LiceTest::RefBlend(3, 0xFFFFFFFFu, 0x12345678u, 76)},
      // Colour alpha 0 with the source-alpha bit: integer alpha 0.
      {1.0f, 0x10000, 0x12345600u, 0xFFFFFFFFu},
      {1.0f, 0x10000, 0x123456FFu, 0x123456FFu},
      {-0.3f, 0, 0x12345678u, 0xFFFFFFFFu},
      {1.0f, 6, 0x12345678u, 0xFFFFFFFFu},
  };
  for (const Case& c : cases) {
    LICE_MemBitmap bm(6, 6, 4);
    LiceTest::FillAll(&bm, 0xFFFFFFFFu);
    LICE_FillTriangle(&bm, 0, 0, 5, 0, 0, 5, c.color, c.alpha, c.mode);
    EXPECT_EQ(At(&bm, 1, 1), c.expected) << c.alpha << " " << c.mode;
    EXPECT_EQ(At(&bm, 5, 5), 0xFFFFFFFFu);
  }
}

TEST(FillConvexPolygon, DegenerateInputDrawsNothing) {
  LICE_MemBitmap bm(8, 8, 4), empty;
  LiceTest::FillAll(&bm, 0);
  const int x[3] = {0, 5, 0}, y[3] = {0, 0, 5};
  LICE_FillConvexPolygon(nullptr, x, y, 3, 0xFFFFFFFFu, 1.0f, 0);
  LICE_FillConvexPolygon(&bm, x, y, 2, 0xFFFFFFFFu, 1.0f, 0);
  LICE_FillConvexPolygon(&bm, nullptr, y, 3, 0xFFFFFFFFu, 1.0f, 0);
  LICE_FillConvexPolygon(&empty, x, y, 3, 0xFFFFFFFFu, 1.0f, 0);
  LICE_SysBitmap noPixels(0, 8);
  LICE_FillConvexPolygon(&noPixels, x, y, 3, 0xFFFFFFFFu, 1.0f, 0);
  EXPECT_TRUE(LiceTest::Touched(&bm, 0).empty());
  // Coordinates at the ends of the int range draw only inside.
  LiceTest::FlippedBitmap flipped(8, 8);
  LICE_FillTriangle(&flipped, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MIN, 0, INT32_MAX, 0x01010101u, 1.0f, 1);
  LICE_FillTriangle(&flipped, INT32_MIN, 3, INT32_MAX, 4, 5, INT32_MAX, 0x01010101u, 1.0f, 1);
  EXPECT_TRUE(flipped.PaddingIntact());
}

}  // namespace
