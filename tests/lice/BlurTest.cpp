#include <gtest/gtest.h>

#include "lice/lice.h"
#include "tests/lice/LiceTestSupport.h"

namespace {

using LiceTest::At;
using LiceTest::Channel;

// The blur of one channel at (x, y) of a w x h block read from get(x, y),
// each term rounded down on its own as the per-byte masks do.
template <class Get>
int RefBlurChannel(Get get, int x, int y, int w, int h) {
  const bool edgeRow = y == 0 || y == h - 1;
  const int n = y == 0 ? 1 : y - 1;  // the one neighbouring row of an edge row
  int sum = get(x, y) / 2;
  if (x == 0) {
    sum += get(1, y) / 4;
  } else if (x == w - 1) {
    sum += get(w - 2, y) / 4;
  } else {
    sum += get(x - 1, y) / 8 + get(x + 1, y) / 8;
  }
  if (edgeRow) {
    sum += get(x, n) / 4;
  } else {
    sum += get(x, y - 1) / 8 + get(x, y + 1) / 8;
  }
  return sum;
}

TEST(BlurRect, FullBlockIntoAnotherBitmap) {
  LICE_MemBitmap src(4, 4, 4), dest(4, 4, 4);
  LiceTest::FillAll(&src, 0xFFFFFFFFu);
  LiceTest::FillAll(&dest, 0);
  LICE_BlurRect(&dest, &src, 0, 0, 0, 0, 4, 4);
  const int expected[4][4] = {{253, 252, 252, 253}, {252, 251, 251, 252}, {252, 251, 251, 252}, {253, 252, 252, 253}};
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) {
      for (int i = 0; i < 4; ++i) EXPECT_EQ(Channel(At(&dest, x, y), i), expected[y][x]) << x << "," << y;
    }
  }
}

TEST(BlurRect, RandomPixelsMatchTheKernel) {
  LICE_MemBitmap src(13, 9, 4), dest(20, 20, 4);
  LiceTest::FillRandom(&src, 5);
  LiceTest::FillAll(&dest, 0x5A5A5A5Au);
  // Rectangle (2, 1) .. (12, 8) drawn at (6, 4).
  LICE_BlurRect(&dest, &src, 6, 4, 2, 1, 10, 7);
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 20; ++x) {
      const bool inside = x >= 6 && x < 16 && y >= 4 && y < 11;
      for (int i = 0; i < 4; ++i) {
        const int want = inside ? RefBlurChannel([&](int px, int py) { return Channel(At(&src, px + 2, py + 1), i); },
                                                 x - 6, y - 4, 10, 7)
                                : 0x5A;
        ASSERT_EQ(Channel(At(&dest, x, y), i), want) << x << "," << y << " channel " << i;
      }
    }
  }
}

// In place each row reads the original rows around it, except the last,
// whose upper neighbour is already blurred. Both the stack buffer (up to
// 1024 pixels) and the heap buffer.
class BlurInPlace : public ::testing::TestWithParam<int> {};

TEST_P(BlurInPlace, MatchesTheOutOfPlaceBlurUpToTheLastRow) {
  const int w = GetParam(), h = 6;
  LICE_MemBitmap image(w, h, 4), copy(w, h, 4), ref(w, h, 4);
  LiceTest::FillRandom(&image, 9);
  LiceTest::FillRandom(&copy, 9);
  LICE_BlurRect(&ref, &copy, 0, 0, 0, 0, w, h);
  LICE_BlurRect(&image, &image, 0, 0, 0, 0, w, h);
  for (int y = 0; y < h - 1; ++y) {
    for (int x = 0; x < w; ++x) ASSERT_EQ(At(&image, x, y), At(&ref, x, y)) << x << "," << y;
  }
  for (int x = 0; x < w; ++x) {
    for (int i = 0; i < 4; ++i) {
      const int want = RefBlurChannel(
          [&](int px, int py) { return Channel(py == h - 2 ? At(&image, px, py) : At(&copy, px, py), i); }, x,
          h - 1, w, h);
      ASSERT_EQ(Channel(At(&image, x, h - 1), i), want) << x;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Widths, BlurInPlace, ::testing::Values(4, 1024, 1025, 3000));

TEST(BlurRect, InPlaceBlockOfFullBytesSoftensTheLastRow) {
  LICE_MemBitmap bm(4, 4, 4);
  LiceTest::FillAll(&bm, 0xFFFFFFFFu);
  LICE_BlurRect(&bm, &bm, 0, 0, 0, 0, 4, 4);
  EXPECT_EQ(At(&bm, 1, 3), 0xFBFBFBFBu);  // 251, not 252
  EXPECT_EQ(At(&bm, 2, 3), 0xFBFBFBFBu);
  EXPECT_EQ(At(&bm, 0, 3), 0xFDFDFDFDu);
  EXPECT_EQ(At(&bm, 1, 0), 0xFCFCFCFCu);
}

TEST(BlurRect, ThinOrClippedAwayRectanglesDrawNothing) {
  LICE_MemBitmap src(8, 8, 4), dest(8, 8, 4);
  LiceTest::FillRandom(&src, 1);
  LiceTest::FillAll(&dest, 7);
  LICE_BlurRect(&dest, &src, 0, 0, 0, 0, 1, 8);
  LICE_BlurRect(&dest, &src, 0, 0, 0, 0, 8, 1);
  LICE_BlurRect(&dest, &src, 7, 0, 0, 0, 8, 8);   // one column left after clipping
  LICE_BlurRect(&dest, &src, 8, 0, 0, 0, 8, 8);
  LICE_BlurRect(&dest, &src, -7, 0, 0, 0, 8, 8);  // one column left after clipping
  LICE_BlurRect(nullptr, &src, 0, 0, 0, 0, 8, 8);
  LICE_MemBitmap empty;
  LICE_BlurRect(&dest, &empty, 0, 0, 0, 0, 8, 8);
  EXPECT_EQ(LiceTest::Touched(&dest, 7).size(), 0u);
}

TEST(BlurRect, NegativeSourceCornerDoesNotMoveTheDestination) {
  LICE_MemBitmap src(6, 6, 4), a(10, 10, 4), b(10, 10, 4);
  LiceTest::FillRandom(&src, 4);
  LiceTest::FillAll(&a, 0);
  LiceTest::FillAll(&b, 0);
  LICE_BlurRect(&a, &src, 2, 3, -2, -1, 6, 5);  // becomes (0, 0) .. (4, 4), still drawn at (2, 3)
  LICE_BlurRect(&b, &src, 2, 3, 0, 0, 4, 4);
  EXPECT_EQ(LiceTest::Pixels(&a), LiceTest::Pixels(&b));
}

}  // namespace
