#include "lice/LICE_Combine.h"

#include <gtest/gtest.h>

#include <random>

#include "tests/lice/LiceTestSupport.h"

namespace {

using LiceTest::RefBlend;

LICE_pixel Grey(int v) { return LICE_RGBA(v, v, v, v); }

using AddSourceAlpha = LICE_SourceAlphaCombiner<LICE_AddCombiner, true>;
using OverlaySourceAlpha = LICE_SourceAlphaCombiner<LICE_OverlayCombiner, false>;

template <class Op>
LICE_pixel Applied(LICE_pixel dest, LICE_pixel src, int alpha) {
  Op::Apply(&dest, src, alpha);
  return dest;
}

// Every plain combiner against the formulas written out per channel, over
// random pixels and alphas, the negative differences of copy and overlay
// included (where a shift in place of a division would round wrongly).
TEST(PlainCombiners, MatchTheChannelFormulas) {
  std::mt19937 rng(7);
  for (int i = 0; i < 20000; ++i) {
    const LICE_pixel d = rng(), s = rng();
    const int alpha = i % 7 == 0 ? 256 : static_cast<int>(rng() % 256) + 1;
    ASSERT_EQ(Applied<LICE_CopyCombiner>(d, s, alpha), RefBlend(0, d, s, alpha)) << i;
    ASSERT_EQ(Applied<LICE_AddCombiner>(d, s, alpha), RefBlend(1, d, s, alpha)) << i;
    ASSERT_EQ(Applied<LICE_DodgeCombiner>(d, s, alpha), RefBlend(2, d, s, alpha)) << i;
    ASSERT_EQ(Applied<LICE_MultiplyCombiner>(d, s, alpha), RefBlend(3, d, s, alpha)) << i;
    ASSERT_EQ(Applied<LICE_OverlayCombiner>(d, s, alpha), RefBlend(4, d, s, alpha)) << i;
  }
}

TEST(PlainCombiners, ClosedFormValues) {
  // Copy of 0 over 255 at 128: 0 + (255 * 128) / 256.
  EXPECT_EQ(Applied<LICE_CopyCombiner>(0xFFFFFFFFu, 0, 128), Grey(127));
  // Copy of 255 over 0 at 128: 255 + (-255 * 128) / 256 = 255 - 127 (a shift would give 127).
  EXPECT_EQ(Applied<LICE_CopyCombiner>(0, 0xFFFFFFFFu, 128), Grey(128));
  EXPECT_EQ(Applied<LICE_AddCombiner>(Grey(100), Grey(200), 256), Grey(255));
  EXPECT_EQ(Applied<LICE_AddCombiner>(Grey(100), Grey(20), 128), Grey(110));
  for (const int d : {0, 1, 77, 128, 255}) {
    // Multiply by 255 at full strength: (d * 65280) >> 16 = d - 1.
    EXPECT_EQ(Applied<LICE_MultiplyCombiner>(Grey(d), Grey(255), 256), Grey(d > 0 ? d - 1 : 0)) << d;
    // Dodge with k = 1: everything but 0 saturates.
    EXPECT_EQ(Applied<LICE_DodgeCombiner>(Grey(d), Grey(255), 256), Grey(d > 0 ? 255 : 0)) << d;
  }
  // Overlay with the neutral source keeps mid grey; a white source brightens.
  EXPECT_EQ(Applied<LICE_OverlayCombiner>(Grey(128), Grey(128), 256), Grey(128));
  EXPECT_GT(LICE_GETR(Applied<LICE_OverlayCombiner>(Grey(128), Grey(255), 256)), 128);
}

TEST(SourceAlphaCombiners, TransparentOpaqueAndTranslucentSources) {
  const LICE_pixel dest = LICE_RGBA(10, 200, 30, 40);
  const LICE_pixel clear = LICE_RGBA(250, 0, 90, 0);
  EXPECT_EQ(Applied<LICE_CopySourceAlphaCombiner>(dest, clear, 200), dest);
  EXPECT_EQ(Applied<LICE_CopySourceAlpha256Combiner>(dest, clear, 256), dest);
  EXPECT_EQ(Applied<AddSourceAlpha>(dest, clear, 256), dest);
  // Overlay makes no test of a transparent source: it blends at (1 * 256) / 256 = 1.
  EXPECT_EQ(Applied<OverlaySourceAlpha>(dest, clear, 256),
            RefBlend(4, dest, clear, 1));
  EXPECT_NE(Applied<OverlaySourceAlpha>(dest, clear, 256), dest);

  const LICE_pixel opaque = LICE_RGBA(1, 2, 3, 255);
  EXPECT_EQ(Applied<LICE_CopySourceAlpha256Combiner>(dest, opaque, 256), LICE_RGBA(1, 2, 3, 255));

  // Translucent: sc2 = ((sa + 1) * alpha) / 256; colours blend by sc2, the
  // alpha byte gains sc2 (at 256: sa), at most 255.
  const LICE_pixel src = LICE_RGBA(250, 0, 90, 100);
  const int alpha = 200, sc2 = (101 * 200) / 256, sc = 256 - sc2;
  auto mix = [](int d, int c, int w) { return c + ((d - c) * w) / 256; };
  EXPECT_EQ(Applied<LICE_CopySourceAlphaCombiner>(dest, src, alpha),
            LICE_RGBA(mix(10, 250, sc), mix(200, 0, sc), mix(30, 90, sc), 40 + sc2));
  EXPECT_EQ(Applied<LICE_CopySourceAlpha256Combiner>(dest, src, 256),
            LICE_RGBA(mix(10, 250, 155), mix(200, 0, 155), mix(30, 90, 155), 140));
  const LICE_pixel covered = LICE_RGBA(0, 0, 0, 250);
  EXPECT_EQ(LICE_GETA(Applied<LICE_CopySourceAlphaCombiner>(covered, src, 256)), 255);
  // Add with source alpha is the plain add at sc2, the alpha byte's source being sa.
  EXPECT_EQ(Applied<AddSourceAlpha>(dest, src, alpha),
            RefBlend(1, dest, src, sc2));
}

TEST(WordShortcuts, EachByteIsShiftedAndMaskedAlone) {
  const LICE_pixel d = 0xFF03FF01u, s = 0x0001FF01u;
  for (int i = 0; i < 4; ++i) {
    const int dc = LiceTest::Channel(d, i), sc = LiceTest::Channel(s, i);
    EXPECT_EQ(LiceTest::Channel(Applied<LICE_HalfWord>(d, s, 0), i), dc / 2 + sc / 2);
    EXPECT_EQ(LiceTest::Channel(Applied<LICE_QuarterWord>(d, s, 0), i), dc / 4 + dc / 2 + sc / 4);
    EXPECT_EQ(LiceTest::Channel(Applied<LICE_ThreeQuarterWord>(d, s, 0), i), dc / 4 + sc / 2 + sc / 4);
    EXPECT_EQ(LiceTest::Channel(Applied<LICE_AverageBytes>(d, s, 0), i), (dc + sc) >> 1);
  }
  // Half rounds each term down, the average the sum: 1 over 1.
  EXPECT_EQ(Applied<LICE_HalfWord>(Grey(1), Grey(1), 0), 0u);
  EXPECT_EQ(Applied<LICE_AverageBytes>(Grey(1), Grey(1), 0), Grey(1));
  EXPECT_EQ(Applied<LICE_StoreWord>(d, s, 0), s);
}

struct HSVCase {
  int dr, dg, db;  // destination
  int r, g, b;     // source (128 neutral)
  int er, eg, eb;  // expected
};

class HSVAdjust : public ::testing::TestWithParam<HSVCase> {};

// Worked through the integer conversion by hand.
TEST_P(HSVAdjust, AdjustsHueSaturationAndValue) {
  const HSVCase c = GetParam();
  LICE_pixel p = LICE_RGBA(c.dr, c.dg, c.db, 17);
  LICE_CombineHSVAdjust(&p, c.r, c.g, c.b, 99, 256);
  EXPECT_EQ(LICE_GETR(p), c.er);
  EXPECT_EQ(LICE_GETG(p), c.eg);
  EXPECT_EQ(LICE_GETB(p), c.eb);
  EXPECT_EQ(LICE_GETA(p), 99);  // the alpha byte is the source's
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HSVAdjust,
    ::testing::Values(
        // Neutral source: pure red stays; (100, 150, 200) loses 2 of green to the rounding.
        HSVCase{255, 0, 0, 128, 128, 128, 255, 0, 0}, HSVCase{100, 150, 200, 128, 128, 128, 100, 148, 200},
        // r = 255 moves the hue by 255 + 127 - 192 = 190.
        HSVCase{255, 0, 0, 255, 128, 128, 0, 255, 247},
        // Grey has hue 256; g = 255 raises saturation to 254.
        HSVCase{90, 90, 90, 128, 255, 128, 0, 0, 90},
        // b = 64 lowers the value by 128: red at 255 becomes red at 127.
        HSVCase{255, 0, 0, 128, 128, 64, 127, 0, 0}));

TEST(HSVAdjust, CombinerInstanceCallsTheFunction) {
  LICE_pixel a = LICE_RGBA(30, 60, 90, 5), b = a;
  LICE_CombineHSVAdjust(&a, 200, 90, 160, 44, 100);
  LICE_HSVCombiner::Apply(&b, LICE_RGBA(200, 90, 160, 44), 100);
  EXPECT_EQ(a, b);
}

}  // namespace
