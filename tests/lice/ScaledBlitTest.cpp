#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "lice/lice.h"
#include "tests/lice/LiceTestSupport.h"

namespace {

using LiceTest::At;
using LiceTest::Channel;

enum class Sampling { kNearest, kBilinear, kKernel3, kKernel5 };

// The colour the walk samples for destination pixel (i, j) of a rectangle
// drawn at the origin, computed from the 16.16 mapping: position = start +
// index * step, the integer part a source pixel, the low 16 bits the
// fraction. False where nothing is drawn.
bool RefSample(LICE_IBitmap* src, int i, int j, int dstW, int dstH, float srcX, float srcY, float srcW, float srcH,
               Sampling sampling, LICE_pixel* out) {
  const long long stepX = static_cast<long long>(static_cast<double>(srcW / static_cast<float>(dstW)) * 65536.0);
  const long long stepY = static_cast<long long>(static_cast<double>(srcH / static_cast<float>(dstH)) * 65536.0);
  const long long px = static_cast<long long>(srcX * 65536.0) + i * stepX;
  const long long py = static_cast<long long>(srcY * 65536.0) + j * stepY;
  const int limitX = std::min(src->getWidth(), static_cast<int>(static_cast<double>(srcX + srcW) + 0.999999));
  const int limitY = std::min(src->getHeight(), static_cast<int>(static_cast<double>(srcY + srcH) + 0.999999));
  const long long sx = px >> 16, sy = py >> 16;
  if (sx < 0 || sy < 0 || sx >= limitX || sy >= limitY) return false;
  const int x = static_cast<int>(sx), y = static_cast<int>(sy);
  if (sampling == Sampling::kNearest) {
    *out = At(src, x, y);
    return true;
  }
  LICE_pixel result = 0;
  if (sampling == Sampling::kBilinear) {
    const double fx = (px & 0xffff) / 65536.0, fy = (py & 0xffff) / 65536.0;
    const int x1 = x + 1 < limitX ? x + 1 : x, y1 = y + 1 < limitY ? y + 1 : y;
    for (int c = 0; c < 4; ++c) {
      // The exact bilinear value; the fixed-point weights land within one
      // step of it, and exactly on it at the edges.
      const double v = (1 - fx) * (1 - fy) * Channel(At(src, x, y), c) + fx * (1 - fy) * Channel(At(src, x1, y), c) +
                       (1 - fx) * fy * Channel(At(src, x, y1), c) + fx * fy * Channel(At(src, x1, y1), c);
      result |= static_cast<LICE_pixel>(std::floor(v + 1e-9)) << (8 * c);
    }
    *out = result;
    return true;
  }
  const int half = sampling == Sampling::kKernel3 ? 1 : 2;
  for (int c = 0; c < 4; ++c) {
    int sum = 0, count = 0;
    for (int ky = y - half; ky <= y + half; ++ky) {
      for (int kx = x - half; kx <= x + half; ++kx) {
        if (kx < 0 || ky < 0 || kx >= limitX || ky >= limitY) continue;
        sum += Channel(At(src, kx, ky), c);
        ++count;
      }
    }
    result |= static_cast<LICE_pixel>(sum / count) << (8 * c);
  }
  *out = result;
  return true;
}

struct ScaleCase {
  const char* name;
  int srcSize, dstW, dstH;
  float srcX, srcY;
  int mode;
  Sampling sampling;
  int tolerance;  // per channel, for the bilinear reference in doubles
};

class ScaledBlitSampling : public ::testing::TestWithParam<ScaleCase> {};

TEST_P(ScaledBlitSampling, CopyAtFullAlphaMatchesTheMapping) {
  const ScaleCase c = GetParam();
  LICE_MemBitmap src(c.srcSize, c.srcSize, 4), dest(c.dstW, c.dstH, 4);
  LiceTest::FillRandom(&src, 21);
  constexpr LICE_pixel kBackground = 0x0F0F0F0Fu;
  LiceTest::FillAll(&dest, kBackground);
  const float srcW = static_cast<float>(c.srcSize) - c.srcX, srcH = static_cast<float>(c.srcSize) - c.srcY;
  LICE_ScaledBlit(&dest, &src, 0, 0, c.dstW, c.dstH, c.srcX, c.srcY, srcW, srcH, 1.0f, c.mode);
  for (int j = 0; j < c.dstH; ++j) {
    for (int i = 0; i < c.dstW; ++i) {
      LICE_pixel want = kBackground;
      RefSample(&src, i, j, c.dstW, c.dstH, c.srcX, c.srcY, srcW, srcH, c.sampling, &want);
      for (int ch = 0; ch < 4; ++ch) {
        ASSERT_NEAR(Channel(At(&dest, i, j), ch), Channel(want, ch), c.tolerance) << i << "," << j;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ScaledBlitSampling,
    ::testing::Values(
        // Steps of 2 and 5 (both >= 1.7, the larger above 3): square averages.
        ScaleCase{"HalveKernel3", 100, 50, 50, 0, 0, 0x100, Sampling::kKernel3, 0},
        ScaleCase{"FifthKernel5", 100, 20, 20, 0, 0, 0x100, Sampling::kKernel5, 0},
        ScaleCase{"UnevenKernel5", 100, 40, 25, 0, 0, 0x100, Sampling::kKernel5, 0},
        // Step 1.67 < 1.7: bilinear.
        ScaleCase{"ReduceBilinear", 100, 60, 60, 0, 0, 0x100, Sampling::kBilinear, 1},
        ScaleCase{"OneDirectionBelowKernel", 100, 50, 70, 0, 0, 0x100, Sampling::kBilinear, 1},
        // Enlarging: the last row and column interpolate one way, the corner is copied.
        ScaleCase{"EnlargeBilinear", 4, 10, 10, 0, 0, 0x100, Sampling::kBilinear, 1},
        ScaleCase{"HalfPixelOffset", 8, 8, 8, 0.5f, 0.5f, 0x100, Sampling::kBilinear, 1},
        ScaleCase{"EnlargeNearest", 5, 13, 9, 0, 0, 0, Sampling::kNearest, 0},
        ScaleCase{"ReduceNearest", 100, 30, 30, 0, 0, 0, Sampling::kNearest, 0},
        ScaleCase{"OtherFilterBitsAreNearest", 100, 30, 30, 0, 0, 0x200, Sampling::kNearest, 0},
        ScaleCase{"OffsetNearest", 20, 7, 7, 3.25f, 1.5f, 0, Sampling::kNearest, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ScaledBlit, BilinearFixedPointOnTheGrid) {
  // Halfway between 0 and 255 at fraction 0.5: (0 * 32768 + 255 * 32768) >> 16.
  LICE_MemBitmap src(2, 1, 0), dest(4, 1, 0);
  At(&src, 0, 0) = 0;
  At(&src, 1, 0) = 0xFFFFFFFFu;
  LiceTest::FillAll(&dest, 1);
  LICE_ScaledBlit(&dest, &src, 0, 0, 4, 1, 0, 0, 2, 1, 1.0f, 0x100);
  EXPECT_EQ(At(&dest, 0, 0), 0u);
  EXPECT_EQ(At(&dest, 1, 0), 0x7F7F7F7Fu);
  // The last column is copied (no neighbour to its right).
  EXPECT_EQ(At(&dest, 2, 0), 0xFFFFFFFFu);
  EXPECT_EQ(At(&dest, 3, 0), 0xFFFFFFFFu);
}

TEST(ScaledBlit, EqualSizesFallBackToTheUnscaledBlit) {
  LICE_MemBitmap src(10, 6, 4), a(10, 6, 4), b(10, 6, 4);
  LiceTest::FillRandom(&src, 2);
  struct Case {
    float srcX;
    int mode;
    int column;  // the source column the unscaled blit starts at
  } cases[] = {{0.02f, 0x100, 0}, {0.6f, 0, 1}, {2.4f, 0, 2}, {-0.02f, 0x100, 0}};
  for (const Case& c : cases) {
    LiceTest::FillAll(&a, 0);
    LiceTest::FillAll(&b, 0);
    LICE_ScaledBlit(&a, &src, 0, 0, 7, 6, c.srcX, 0, 7, 6, 0.7f, c.mode);
    LICE_Blit(&b, &src, 0, 0, c.column, 0, 7, 6, 0.7f, c.mode);
    EXPECT_EQ(LiceTest::Pixels(&a), LiceTest::Pixels(&b)) << c.srcX;
  }
}

TEST(ScaledBlit, NearestFastPathsStoreAndHalve) {
  LICE_MemBitmap src(8, 8, 4), dest(4, 4, 4);
  LiceTest::FillRandom(&src, 8);
  LiceTest::FillAll(&dest, 0xFFFFFFFFu);
  LICE_ScaledBlit(&dest, &src, 0, 0, 4, 4, 0, 0, 8, 8, 0.5f, 0);
  for (int j = 0; j < 4; ++j) {
    for (int i = 0; i < 4; ++i) {
      const LICE_pixel s = At(&src, 2 * i, 2 * j);
      EXPECT_EQ(At(&dest, i, j), ((s >> 1) & 0x7f7f7f7fu) + 0x7f7f7f7fu);
    }
  }
  LICE_ScaledBlit(&dest, &src, 0, 0, 4, 4, 0, 0, 8, 8, 1.0f, 0);
  for (int j = 0; j < 4; ++j) {
    for (int i = 0; i < 4; ++i) EXPECT_EQ(At(&dest, i, j), At(&src, 2 * i, 2 * j));
  }
}

struct ScaledModeCase {
  const char* name;
  int mode;
  float alpha;
  std::function<LICE_pixel(LICE_pixel, LICE_pixel)> expected;  // from destination and sample
};

template <class Op>
std::function<LICE_pixel(LICE_pixel, LICE_pixel)> By(int alpha) {
  return [alpha](LICE_pixel d, LICE_pixel s) {
    Op::Apply(&d, s, alpha);
    return d;
  };
}

class ScaledBlitModes : public ::testing::TestWithParam<ScaledModeCase> {};

// The sampled (here averaged) colour goes through the mode's combiner; the
// source-alpha ones take the sample's own alpha.
TEST_P(ScaledBlitModes, SampleGoesThroughTheCombiner) {
  const ScaledModeCase c = GetParam();
  LICE_MemBitmap src(12, 12, 4), dest(6, 6, 4), before(6, 6, 4);
  LiceTest::FillRandom(&src, 31);
  LiceTest::FillRandom(&dest, 32);
  LiceTest::FillRandom(&before, 32);
  LICE_ScaledBlit(&dest, &src, 0, 0, 6, 6, 0, 0, 12, 12, c.alpha, c.mode);
  for (int j = 0; j < 6; ++j) {
    for (int i = 0; i < 6; ++i) {
      LICE_pixel sample = 0;
      ASSERT_TRUE(RefSample(&src, i, j, 6, 6, 0, 0, 12, 12,
                            (c.mode & 0xff00) == 0x100 ? Sampling::kKernel3 : Sampling::kNearest, &sample));
      const LICE_pixel d = At(&before, i, j);
      ASSERT_EQ(At(&dest, i, j), c.expected ? c.expected(d, sample) : d) << i << "," << j;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ScaledBlitModes,
    ::testing::Values(ScaledModeCase{"KernelCopy", 0x100, 1.0f, By<LICE_StoreWord>(256)},
                      ScaledModeCase{"KernelCopyPartial", 0x100, 0.5f, By<LICE_CopyCombiner>(128)},
                      ScaledModeCase{"KernelAdd", 0x101, 0.8f, By<LICE_AddCombiner>(204)},
                      ScaledModeCase{"KernelHSV", 0x105, 1.0f, By<LICE_HSVCombiner>(256)},
                      ScaledModeCase{"KernelSourceAlphaCopy", 0x10100, 1.0f,
                                     By<LICE_CopySourceAlpha256Combiner>(256)},
                      ScaledModeCase{"KernelSourceAlphaCopyPartial", 0x10100, 0.3f,
                                     By<LICE_CopySourceAlphaCombiner>(76)},
                      ScaledModeCase{"KernelSourceAlphaOverlay", 0x10104, 1.0f,
                                     By<LICE_SourceAlphaCombiner<LICE_OverlayCombiner, false>>(256)},
                      ScaledModeCase{"NearestMultiply", 3, 0.9f, By<LICE_MultiplyCombiner>(230)},
                      ScaledModeCase{"NearestCopyPartial", 0, 0.3f, By<LICE_CopyCombiner>(76)},
                      ScaledModeCase{"NearestSourceAlphaDodge", 0x10002, 1.0f,
                                     By<LICE_SourceAlphaCombiner<LICE_DodgeCombiner, true>>(256)},
                      ScaledModeCase{"ModeSix", 0x106, 1.0f, nullptr}, ScaledModeCase{"ZeroAlpha", 0x100, 0.0f, nullptr},
                      ScaledModeCase{"TinyAlpha", 0x100, 0.002f, nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ScaledBlit, DestinationLeftOfTheBitmapStartsFurtherIntoTheSource) {
  LICE_MemBitmap src(100, 10, 4), a(40, 10, 4), b(40, 10, 4);
  LiceTest::FillRandom(&src, 40);
  LiceTest::FillAll(&a, 0);
  LiceTest::FillAll(&b, 0);
  // Ten clipped pixels at step 2 skip twenty source pixels.
  LICE_ScaledBlit(&a, &src, -10, 0, 50, 10, 0, 0, 100, 10, 1.0f, 0);
  LICE_ScaledBlit(&b, &src, 0, 0, 40, 10, 20, 0, 80, 10, 1.0f, 0);
  EXPECT_EQ(LiceTest::Pixels(&a), LiceTest::Pixels(&b));
}

// Where the destination reaches past the source, exactly the pixels whose
// sample lies inside the source are drawn, the last column's included.
TEST(ScaledBlit, DestinationPastTheSourceDrawsEverySampleInside) {
  struct Case {
    float srcX, srcW;
    int dstW;
  } cases[] = {{0.0f, 40.0f, 20}, {0.6f, 12.0f, 8}, {0.0f, 15.0f, 15 * 4 / 3}, {-3.5f, 20.0f, 16}, {0.5f, 30.0f, 7}};
  for (const Case& c : cases) {
    LICE_MemBitmap src(10, 1, 0), dest(20, 1, 0);
    LiceTest::FillRandom(&src, 6);
    LiceTest::FillAll(&dest, 3);
    LICE_ScaledBlit(&dest, &src, 0, 0, c.dstW, 1, c.srcX, 0, c.srcW, 1, 1.0f, 0);
    const long long step = static_cast<long long>(static_cast<double>(c.srcW / static_cast<float>(c.dstW)) * 65536.0);
    for (int i = 0; i < 20; ++i) {
      const long long sx = (static_cast<long long>(c.srcX * 65536.0) + i * step) >> 16;
      const bool inside = i < c.dstW && sx >= 0 && sx < 10;
      EXPECT_EQ(At(&dest, i, 0), inside ? At(&src, static_cast<int>(sx), 0) : 3u) << c.srcX << " " << i;
    }
  }
}

TEST(ScaledBlit, NegativeWidthMirrors) {
  LICE_MemBitmap src(10, 1, 0), dest(10, 1, 0);
  LiceTest::FillRandom(&src, 12);
  LiceTest::FillAll(&dest, 5);
  LICE_ScaledBlit(&dest, &src, 10, 0, -10, 1, 0, 0, 10, 1, 1.0f, 0);
  // The walk starts at source x 10 and steps back by 1; its first sample
  // lies past the source and is not drawn.
  EXPECT_EQ(At(&dest, 0, 0), 5u);
  for (int i = 1; i < 10; ++i) EXPECT_EQ(At(&dest, i, 0), At(&src, 10 - i, 0)) << i;
}

TEST(ScaledBlit, SourcesWiderThanSixteenBitsOfPositionDrawFully) {
  // Position 100 * i passes 2^15 pixels (2^31 in 16.16) at i = 328: a
  // 32-bit walk and index * (width - 1) would overflow there.
  LICE_MemBitmap src(40000, 1, 0), dest(400, 1, 0);
  LiceTest::FillRandom(&src, 13);
  LiceTest::FillAll(&dest, 0);
  LICE_ScaledBlit(&dest, &src, 0, 0, 400, 1, 0, 0, 40000, 1, 1.0f, 0);
  for (int i = 0; i < 400; ++i) ASSERT_EQ(At(&dest, i, 0), At(&src, 100 * i, 0)) << i;
}

TEST(ScaledBlit, DegenerateInputDrawsNothing) {
  LICE_MemBitmap src(8, 8, 4), dest(8, 8, 4), empty;
  LiceTest::FillRandom(&src, 1);
  LiceTest::FillAll(&dest, 9);
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  LICE_ScaledBlit(nullptr, &src, 0, 0, 4, 4, 0, 0, 8, 8, 1.0f, 0);
  LICE_ScaledBlit(&dest, nullptr, 0, 0, 4, 4, 0, 0, 8, 8, 1.0f, 0);
  LICE_ScaledBlit(&dest, &empty, 0, 0, 4, 4, 0, 0, 8, 8, 1.0f, 0);
  LICE_ScaledBlit(&dest, &src, 0, 0, 0, 4, 0, 0, 8, 8, 1.0f, 0);
  LICE_ScaledBlit(&dest, &src, 0, 0, 4, 4, nan, 0, 8, 8, 1.0f, 0x100);
  LICE_ScaledBlit(&dest, &src, 0, 0, 4, 4, 0, 0, inf, 8, 1.0f, 0x100);
  LICE_ScaledBlit(&dest, &src, 0, 0, 4, 4, 1e30f, 0, 8, 8, 1.0f, 0);
  LICE_ScaledBlit(&dest, &src, 0, 0, 4, 4, -1e30f, 0, 8, 8, 1.0f, 0);
  LICE_ScaledBlit(&dest, &src, 8, 0, 4, 4, 0, 0, 8, 8, 1.0f, 0);
  LICE_ScaledBlit(&dest, &src, 0, 0, 4, 4, 0, 0, 8, 8, nan, 0x100);
  EXPECT_EQ(LiceTest::Touched(&dest, 9).size(), 0u);
  // Huge steps still sample only inside the source.
  LICE_ScaledBlit(&dest, &src, 0, 0, 4, 4, 0, 0, 1e30f, 1e30f, 1.0f, 0x100);
  LICE_ScaledBlit(&dest, &src, 0, 0, 4, 4, 7.5f, 7.5f, -1e30f, -1e30f, 1.0f, 0x100);
}

}  // namespace
