#include "lice/GlyphBlitters.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "lice/LICE_Combine.h"

namespace {

// The plain combiner of each mode, applied to one pixel.
void Combine(int mode, LICE_pixel* d, int r, int g, int b, int weight) {
  switch (mode) {
    case 0: LICE_CopyCombiner::Combine(d, r, g, b, 255, weight); break;
    case 1: LICE_AddCombiner::Combine(d, r, g, b, 255, weight); break;
    case 2: LICE_DodgeCombiner::Combine(d, r, g, b, 255, weight); break;
    case 3: LICE_MultiplyCombiner::Combine(d, r, g, b, 255, weight); break;
    case 4: LICE_OverlayCombiner::Combine(d, r, g, b, 255, weight); break;
    default: LICE_CombineHSVAdjust(d, r, g, b, 255, weight); break;
  }
}

}  // namespace

// Every family and mode on a 3 x 2 patch whose second row lies in a
// destination with a wider span: weight and colour per coverage as the
// family says, coverage 0 and the padding untouched.
TEST(GlyphBlitters, EachFamilyWeighsAndColoursCoverageItsOwnWay) {
  const unsigned char coverage[6] = {0, 1, 128, 200, 255, 77};
  const GlyphColors colors{200, 100, 30, 10, 220, 90};
  for (int family = kGlyphNormal; family <= kGlyphEffect; ++family) {
    for (int mode = 0; mode <= 5; ++mode) {
      for (int alpha : {256, 200, 128, 1, 0}) {
        std::vector<LICE_pixel> dest(10), expected(10);
        for (int i = 0; i < 10; ++i) dest[i] = expected[i] = LICE_RGBA(40 + i * 20, 90, 160 - i * 10, 200);
        GetGlyphBlitter(static_cast<EGlyphFamily>(family), mode)(coverage, dest.data(), 3, 5, 3, 2, colors, alpha);
        for (int y = 0; y < 2; ++y) {
          for (int x = 0; x < 3; ++x) {
            const int c = coverage[y * 3 + x];
            if (!c || (mode == 0 && alpha < 1)) continue;
            int weight = alpha;
            if (family == kGlyphNormal) weight = alpha == 256 ? c + 1 : std::min(256, c * alpha / 256);
            const bool effect = family == kGlyphEffect && c != 255;
            Combine(mode, &expected[y * 5 + x], effect ? colors.er : colors.r, effect ? colors.eg : colors.g,
                    effect ? colors.eb : colors.b, weight);
          }
        }
        EXPECT_EQ(dest, expected) << "family " << family << " mode " << mode << " alpha " << alpha;
      }
    }
  }
  EXPECT_EQ(GetGlyphBlitter(kGlyphNormal, 6), nullptr);
  EXPECT_EQ(GetGlyphBlitter(kGlyphEffect, -1), nullptr);
}
