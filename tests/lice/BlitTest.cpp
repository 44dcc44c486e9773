#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <optional>

#include "lice/lice.h"
#include "tests/lice/LiceTestSupport.h"

namespace {

using LiceTest::At;
using LiceTest::RefBlend;

constexpr LICE_pixel kBackground = 0x11223344u;

struct ClipCase {
  const char* name;
  int dstX, dstY;
  std::optional<LICE_Rect> rect;  // none: the whole source
};

class BlitClipping : public ::testing::TestWithParam<ClipCase> {};

// Each source pixel inside both the rectangle and the source lands at the
// destination position plus its offset from the rectangle's corner, if that
// lies inside the destination; nothing else changes.
TEST_P(BlitClipping, PixelsLandWhereTheMappingPutsThem) {
  const ClipCase c = GetParam();
  LICE_MemBitmap src(9, 7, 4), dest(12, 10, 4);
  LiceTest::FillRandom(&src, 3);
  LiceTest::FillAll(&dest, kBackground);
  const LICE_Rect r = c.rect.value_or(LICE_Rect{0, 0, 9, 7});
  LICE_BlitCore(&dest, &src, c.dstX, c.dstY, c.rect ? &*c.rect : nullptr, 1.0f, LICE_BLIT_MODE_COPY);

  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 12; ++x) {
      const long long sx = static_cast<long long>(x) - c.dstX + r.left;
      const long long sy = static_cast<long long>(y) - c.dstY + r.top;
      const bool drawn = sx >= r.left && sx < r.right && sy >= r.top && sy < r.bottom && sx >= 0 && sx < 9 &&
                         sy >= 0 && sy < 7;
      EXPECT_EQ(At(&dest, x, y), drawn ? At(&src, static_cast<int>(sx), static_cast<int>(sy)) : kBackground)
          << x << "," << y;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BlitClipping,
    ::testing::Values(ClipCase{"WholeSource", 2, 1, std::nullopt}, ClipCase{"Inner", 3, 2, LICE_Rect{2, 1, 6, 5}},
                      // A left of -3 at x 10 draws source column 0 at x 13 (outside here: 12 wide).
                      ClipCase{"NegativeLeft", 5, 0, LICE_Rect{-3, -2, 4, 3}},
                      ClipCase{"NegativeDest", -5, -2, LICE_Rect{0, 0, 9, 7}},
                      ClipCase{"PastRightAndBottom", 8, 7, LICE_Rect{0, 0, 50, 50}},
                      ClipCase{"RectBeyondSource", 0, 0, LICE_Rect{7, 5, 20, 20}},
                      ClipCase{"Empty", 0, 0, LICE_Rect{4, 4, 4, 9}},
                      ClipCase{"Inverted", 0, 0, LICE_Rect{5, 5, 2, 2}},
                      ClipCase{"DestFarRight", 12, 0, std::nullopt}, ClipCase{"DestFarBelow", 0, 10, std::nullopt},
                      ClipCase{"HugeNegative", -2147483647, 0, LICE_Rect{-2147483647, 0, 3, 3}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Blit, SourceRectangleLeftMinusThreeDrawsColumnZeroThreeFurtherRight) {
  LICE_MemBitmap src(4, 1, 0), dest(20, 1, 0);
  LiceTest::FillAll(&src, 0);
  At(&src, 0, 0) = 0xABCDEF01u;
  LiceTest::FillAll(&dest, kBackground);
  LICE_Blit(&dest, &src, 10, 0, -3, 0, 7, 1, 1.0f, LICE_BLIT_MODE_COPY);
  EXPECT_EQ(At(&dest, 13, 0), 0xABCDEF01u);
  EXPECT_EQ(At(&dest, 12, 0), kBackground);
}

struct ModeCase {
  const char* name;
  int mode;
  float alpha;
  // The expected destination from (destination, source); empty: unchanged.
  std::function<LICE_pixel(LICE_pixel, LICE_pixel)> expected;
};

template <class Op>
std::function<LICE_pixel(LICE_pixel, LICE_pixel)> By(int alpha) {
  return [alpha](LICE_pixel d, LICE_pixel s) {
    Op::Apply(&d, s, alpha);
    return d;
  };
}
std::function<LICE_pixel(LICE_pixel, LICE_pixel)> Plain(int mode, int alpha) {
  return [mode, alpha](LICE_pixel d, LICE_pixel s) { return RefBlend(mode, d, s, alpha); };
}

class BlitModes : public ::testing::TestWithParam<ModeCase> {};

// Which loop runs follows from the mode word AND 0x100ff and the alpha;
// every pixel of the area gets its combiner.
TEST_P(BlitModes, EveryPixelGetsTheChosenOperation) {
  const ModeCase c = GetParam();
  LICE_MemBitmap src(6, 5, 4), dest(6, 5, 4), before(6, 5, 4);
  LiceTest::FillRandom(&src, 11);
  At(&src, 0, 0) &= 0xffffff00u;  // a transparent and an opaque pixel for the source-alpha loops
  At(&src, 1, 0) |= 0xffu;
  LiceTest::FillRandom(&dest, 12);
  LiceTest::FillRandom(&before, 12);
  LICE_Blit(&dest, &src, 0, 0, 0, 0, 6, 5, c.alpha, c.mode);
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 6; ++x) {
      const LICE_pixel d = At(&before, x, y);
      const LICE_pixel want = c.expected ? c.expected(d, At(&src, x, y)) : d;
      ASSERT_EQ(At(&dest, x, y), want) << x << "," << y;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BlitModes,
    ::testing::Values(
        ModeCase{"CopyFull", 0, 1.0f, [](LICE_pixel, LICE_pixel s) { return s; }},
        ModeCase{"CopyJustOverFull", 0, 1.001f, [](LICE_pixel, LICE_pixel s) { return s; }},
        ModeCase{"CopyExactHalf", 0, 0.5f, By<LICE_HalfWord>(128)},
        ModeCase{"CopyNearHalf", 0, 0.5001f, Plain(0, 128)}, ModeCase{"CopyQuarter", 0, 0.25f, Plain(0, 64)},
        ModeCase{"CopyNegative", 0, -0.5f, nullptr}, ModeCase{"CopyTiny", 0, 0.003f, nullptr},
        ModeCase{"FilterBitsIgnored", 0x100, 0.3f, Plain(0, 76)}, ModeCase{"Add", 1, 0.7f, Plain(1, 179)},
        ModeCase{"Dodge", 2, 1.0f, Plain(2, 256)}, ModeCase{"Multiply", 3, 0.6f, Plain(3, 153)},
        ModeCase{"Overlay", 4, 0.9f, Plain(4, 230)}, ModeCase{"HSV", 5, 0.8f, By<LICE_HSVCombiner>(204)},
        ModeCase{"AddNegativeAlpha", 1, -0.5f, Plain(1, -128)},
        ModeCase{"SourceAlphaCopyFull", 0x10000, 1.0f, By<LICE_CopySourceAlpha256Combiner>(256)},
        ModeCase{"SourceAlphaCopyWithFilterBit", 0x10100, 1.0f, By<LICE_CopySourceAlpha256Combiner>(256)},
        ModeCase{"SourceAlphaCopyHalf", 0x10000, 0.5f, By<LICE_CopySourceAlphaCombiner>(128)},
        ModeCase{"SourceAlphaAdd", 0x10001, 0.75f, By<LICE_SourceAlphaCombiner<LICE_AddCombiner, true>>(192)},
        ModeCase{"SourceAlphaDodge", 0x10002, 1.0f, By<LICE_SourceAlphaCombiner<LICE_DodgeCombiner, true>>(256)},
        ModeCase{"SourceAlphaMultiply", 0x10003, 0.4f,
                 By<LICE_SourceAlphaCombiner<LICE_MultiplyCombiner, true>>(102)},
        ModeCase{"SourceAlphaOverlay", 0x10004, 1.0f,
                 By<LICE_SourceAlphaCombiner<LICE_OverlayCombiner, false>>(256)},
        ModeCase{"SourceAlphaHSV", 0x10005, 0.6f, By<LICE_SourceAlphaCombiner<LICE_HSVCombiner, false>>(153)},
        ModeCase{"ModeSix", 6, 1.0f, nullptr}, ModeCase{"SourceAlphaModeSix", 0x10006, 1.0f, nullptr},
        ModeCase{"ZeroAlpha", 1, 0.0f, nullptr},
        // Far outside 0..1 the integer alpha is held at +-4096, where no
        // combiner product overflows; NaN draws nothing.
        ModeCase{"HugeAlpha", 1, 1e30f, Plain(1, 4096)}, ModeCase{"HugeNegativeAlpha", 3, -1e30f, Plain(3, -4096)},
        ModeCase{"NaNAlpha", 0, std::numeric_limits<float>::quiet_NaN(), nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Blit, HalfShortcutAndCopyCombinerRoundDifferently) {
  LICE_MemBitmap src(1, 1, 0), dest(1, 1, 0);
  At(&src, 0, 0) = 0x01010101u;
  At(&dest, 0, 0) = 0x03030303u;
  LICE_Blit(&dest, &src, 0, 0, 0, 0, 1, 1, 0.5f, LICE_BLIT_MODE_COPY);
  EXPECT_EQ(At(&dest, 0, 0), 0x01010101u);
  At(&dest, 0, 0) = 0x03030303u;
  LICE_Blit(&dest, &src, 0, 0, 0, 0, 1, 1, 0.5001f, LICE_BLIT_MODE_COPY);
  EXPECT_EQ(At(&dest, 0, 0), 0x02020202u);
}

TEST(Blit, NullBitmapsAndPixelsDrawNothing) {
  LICE_MemBitmap src(4, 4, 4), dest(4, 4, 4), empty;
  LiceTest::FillAll(&src, 0xFFFFFFFFu);
  LiceTest::FillAll(&dest, kBackground);
  LICE_BlitCore(nullptr, &src, 0, 0, nullptr, 1.0f, 0);
  LICE_BlitCore(&dest, nullptr, 0, 0, nullptr, 1.0f, 0);
  LICE_BlitCore(&dest, &empty, 0, 0, nullptr, 1.0f, 0);
  LICE_BlitCore(&empty, &src, 0, 0, nullptr, 1.0f, 0);
  // A bitmap that reports a size but has no pixels.
  LICE_SysBitmap noPixels(0, 4);
  LICE_BlitCore(&dest, &noPixels, 0, 0, nullptr, 1.0f, 0);
  EXPECT_EQ(LiceTest::Touched(&dest, kBackground).size(), 0u);
}

}  // namespace
