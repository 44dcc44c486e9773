#include "lice/GlyphEffects.h"

#include <gtest/gtest.h>

#include <vector>

TEST(GlyphEffects, QuarterTurnsMoveTheCornersWhereTheyBelong) {
  // 3 wide, 2 high: 1 2 3 / 4 5 6.
  const std::vector<unsigned char> img = {1, 2, 3, 4, 5, 6};
  std::vector<unsigned char> out(6);
  RotateCoverage(img.data(), 3, 2, false, out.data());
  EXPECT_EQ(out, (std::vector<unsigned char>{4, 1, 5, 2, 6, 3}));  // clockwise, 2 wide
  RotateCoverage(img.data(), 3, 2, true, out.data());
  EXPECT_EQ(out, (std::vector<unsigned char>{3, 6, 2, 5, 1, 4}));
}

TEST(GlyphEffects, ShadowAndOutlineMarkNeighboursOfFullPixelsOnly) {
  // One full pixel (above the threshold) at row 1, column 1 of 4 x 4, and a
  // value at the threshold that counts as empty.
  std::vector<unsigned char> img(16, 0);
  img[5] = 131;
  img[15] = 130;
  std::vector<unsigned char> shadow = img, outline = img;
  AddShadow(shadow.data(), 4, 4);
  AddOutline(outline.data(), 4, 4);
  const unsigned char M = kEffectCoverage;
  EXPECT_EQ(shadow, (std::vector<unsigned char>{0, 0, 0, 0,  //
                                                0, 255, M, 0,
                                                0, M, M, 0,
                                                0, 0, 0, 0}));
  EXPECT_EQ(outline, (std::vector<unsigned char>{0, M, 0, 0,  //
                                                 M, 255, M, 0,
                                                 0, M, 0, 0,
                                                 0, 0, 0, 0}));
  std::vector<unsigned char> mono = {0, 130, 131, 255};
  ThresholdCoverage(mono.data(), 4);
  EXPECT_EQ(mono, (std::vector<unsigned char>{0, 0, 255, 255}));
}
