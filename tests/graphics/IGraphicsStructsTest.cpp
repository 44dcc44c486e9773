#include "graphics/IGraphicsStructs.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(IColor, ThePixelHoldsAlphaRedGreenBlueInMemoryOrder) {
  const uint32_t pixel = IColor(0x11, 0x22, 0x33, 0x44).ToPixel();
  unsigned char bytes[4];
  std::memcpy(bytes, &pixel, sizeof bytes);
  EXPECT_EQ(bytes[0], 0x11);
  EXPECT_EQ(bytes[1], 0x22);
  EXPECT_EQ(bytes[2], 0x33);
  EXPECT_EQ(bytes[3], 0x44);
  // Only each channel's low byte counts.
  EXPECT_EQ(IColor(0x1ff, -1, 256, 0).ToPixel(), 0x0000ffffu);
  EXPECT_EQ(kColorOrange, IColor(255, 255, 127, 0));
}

TEST(IChannelBlend, MethodsMapToBlendWordsAndNoBlendCopiesWithAlpha) {
  const struct {
    int method;
    int word;
  } rows[] = {{0, 0x10000}, {1, 0}, {2, 0x10001}, {3, 0x10002}, {4, 0x10000}, {-1, 0x10000}};
  for (const auto& row : rows) {
    const IChannelBlend blend(row.method, 0.5f);
    EXPECT_EQ(IChannelBlend::ModeOf(&blend), row.word) << row.method;
    EXPECT_EQ(IChannelBlend::WeightOf(&blend), 0.5f);
  }
  EXPECT_EQ(IChannelBlend::ModeOf(nullptr), 0x10000);
  EXPECT_EQ(IChannelBlend::WeightOf(nullptr), 1.0f);
}

TEST(IText, DefaultsAndAFaceCutToItsField) {
  const IText text;
  EXPECT_STREQ(text.mFont, "Verdana");
  EXPECT_EQ(text.mSize, 12);
  EXPECT_EQ(text.mColor, kColorBlack);
  EXPECT_EQ(text.mTextEntryBGColor, kColorWhite);
  EXPECT_EQ(text.mCached, nullptr);
  const IText longFace(10, kColorRed, "A face name longer than thirty-one characters");
  EXPECT_EQ(std::strlen(longFace.mFont), 31u);
}

}  // namespace
