#include "graphics/mac/SurfaceDoubling.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(SurfaceDoubling, RowSpanIsTwiceTheWidthPlusThreeRoundedDownToFour) {
  for (int width = 1; width <= 64; ++width) {
    const int span = DoubledRowSpan(width);
    EXPECT_EQ(span % 4, 0) << width;
    EXPECT_GE(span, 2 * width) << width;
    EXPECT_LE(span, 2 * width + 3) << width;
  }
  EXPECT_EQ(DoubledRowSpan(5), 12);
  EXPECT_EQ(DoubledRowSpan(4), 8);
  EXPECT_EQ(DoubledRowSpan(872), 1744);
}

TEST(SurfaceDoubling, EveryPixelBecomesATwoByTwoBlockAndThePaddingStaysUntouched) {
  const int width = 5, height = 3, srcSpan = 8;
  std::vector<uint32_t> src(srcSpan * height);
  for (size_t i = 0; i < src.size(); ++i) src[i] = 0x01000000u * static_cast<uint32_t>(i) + 7;
  const int dstSpan = DoubledRowSpan(width);
  const uint32_t kUntouched = 0xDEADBEEF;
  std::vector<uint32_t> dst(dstSpan * 2 * height, kUntouched);
  DoubleSurface(src.data(), width, height, srcSpan, dst.data(), dstSpan);
  for (int y = 0; y < 2 * height; ++y) {
    for (int x = 0; x < dstSpan; ++x) {
      const uint32_t expected = x < 2 * width ? src[(y / 2) * srcSpan + x / 2] : kUntouched;
      EXPECT_EQ(dst[y * dstSpan + x], expected) << x << "," << y;
    }
  }
}

}  // namespace
