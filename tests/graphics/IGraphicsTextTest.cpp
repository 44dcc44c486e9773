#include <gtest/gtest.h>

#include <cstring>

#include "graphics/FontHeight.h"
#include "lice/LICE_IFont.h"
#include "lice/lice.h"
#include "platform/coretext/Font.h"
#include "tests/graphics/GraphicsFixtures.h"
#include "tests/lice/TestFontModel.h"

namespace {

TEST(CorrectedFontHeight, ScalesTheHeightByItsLineHeightOnce) {
  const struct {
    int height, lineHeight, corrected;
  } rows[] = {
      {12, 13, 11},  // 144 / 13 + 0.5 = 11.58
      {12, 12, 12},
      {20, 16, 25},
      {2, 30, 2},   // never below 2
      {12, 0, 12},  // no metrics: nothing to divide by
      {12, -4, 12},
  };
  for (const auto& r : rows) EXPECT_EQ(CorrectedFontHeight(r.height, r.lineHeight), r.corrected) << r.height;
}

// Text through the deterministic test font, whatever fonts are installed.
class Text : public GraphicsFixture {
 protected:
  void SetUp() override {
    platform::SetTestFontEnabled(true);
    surface = graphics->GetDrawBitmap();
    for (int y = 0; y < surface->getHeight(); ++y) {
      for (int x = 0; x < surface->getWidth(); ++x) surface->getBits()[y * surface->getRowSpan() + x] = 0x11111111u;
    }
  }
  void TearDown() override { platform::SetTestFontEnabled(false); }

  TestImage Picture() const {
    TestImage img(surface->getWidth(), surface->getHeight());
    for (int y = 0; y < surface->getHeight(); ++y) {
      std::memcpy(img.At(0, y), surface->getBits() + y * surface->getRowSpan(), surface->getWidth() * 4);
    }
    return img;
  }

  LICE_IBitmap* surface = nullptr;
  // A style of 12 pixels asks for an 11-pixel font: 12 x 12 / 13, rounded,
  // where 13 is the line height of the 12-pixel test font.
  const TestFontModel font11{11};
};

TEST_F(Text, OneFontPerSizeOrientationStyleAndFace) {
  IText a(12, kColorBlack, "Verdana");
  IText b(12, kColorRed, "Verdana", IText::kStyleNormal, IText::kAlignFar);  // colour and alignment are no key
  LICE_IFont* font = graphics->CacheFont(&a);
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(a.mCached, font);
  EXPECT_EQ(graphics->CacheFont(&b), font);
  EXPECT_EQ(b.mCached, font);
  EXPECT_EQ(font->GetLineHeight(), font11.LineHeight());

  const IText others[] = {IText(13, kColorBlack, "Verdana"), IText(12, kColorBlack, "Verdana", IText::kStyleBold),
                          IText(12, kColorBlack, "Verdana", IText::kStyleNormal, IText::kAlignCenter, 90),
                          IText(12, kColorBlack, "Arial")};
  for (IText other : others) EXPECT_NE(graphics->CacheFont(&other), font) << other.mSize << other.mFont;

  // Sizes below 2 ask for 2 pixels; the 2-pixel font's line height of 3
  // corrects back to 2, so it stays.
  IText tiny(1);
  EXPECT_EQ(graphics->CacheFont(&tiny)->GetLineHeight(), TestFontModel(2).LineHeight());
}

TEST_F(Text, AnEmptyTextMakesNoFont) {
  IText style;
  IRECT r(0, 0, 10, 10);
  EXPECT_TRUE(graphics->DrawIText(&style, "", &r));
  EXPECT_TRUE(graphics->DrawIText(&style, nullptr, &r));
  EXPECT_EQ(style.mCached, nullptr);
}

struct MeasureCase {
  int align;
  IRECT given, measured;
};

class TextMeasure : public Text, public ::testing::WithParamInterface<MeasureCase> {};

// "abc" is three advances of 5 wide and one measured line high.
TEST_P(TextMeasure, TheRectangleTakesTheTextsExtentByTheAlignment) {
  IText style(12, kColorBlack, "Verdana", IText::kStyleNormal, GetParam().align);
  IRECT r = GetParam().given;
  EXPECT_TRUE(graphics->MeasureIText(&style, "abc", &r));
  EXPECT_EQ(r, GetParam().measured);
}

INSTANTIATE_TEST_SUITE_P(Alignments, TextMeasure,
                         ::testing::Values(MeasureCase{IText::kAlignNear, IRECT(100, 50, 100, 50), IRECT(100, 50, 115, 63)},
                                           // (100 + 141) / 2 = 120, less 15 / 2 = 7.
                                           MeasureCase{IText::kAlignCenter, IRECT(100, 50, 141, 60), IRECT(113, 50, 128, 63)},
                                           MeasureCase{IText::kAlignFar, IRECT(100, 50, 140, 50), IRECT(125, 50, 140, 63)}));

TEST_F(Text, OpaqueTextIsDrawnUnclippedWhereItsAlignmentPutsIt) {
  const uint8_t rgb[3] = {0x80, 0x40, 0x20};
  const ClipBox whole{0, 0, surface->getWidth(), surface->getHeight()};
  TestImage expected = Picture();

  IText left(12, IColor(255, 0x80, 0x40, 0x20), "Verdana", IText::kStyleNormal, IText::kAlignNear);
  IRECT r(10, 20, 12, 22);  // far smaller than the text, which is not cut
  EXPECT_TRUE(graphics->DrawIText(&left, "ab", &r));
  expected.PaintGlyphs(font11, 2, 10, 20 + font11.ascent, rgb, whole);

  // Right-aligned at the bottom of (100, 10, 150, 60).
  IText far(12, IColor(255, 0x80, 0x40, 0x20), "Verdana", IText::kStyleNormal, IText::kAlignFar);
  far.mVAlign = IText::kVAlignBottom;
  IRECT box(100, 10, 150, 60);
  graphics->DrawIText(&far, "abc", &box);
  expected.PaintGlyphs(font11, 3, 150 - 15, 60 - font11.TextHeight(1) + font11.ascent, rgb, whole);
  EXPECT_TRUE(SameImage(Picture(), expected));
}

TEST_F(Text, TranslucentTextBlendsWithItsColoursAlpha) {
  const uint8_t rgb[3] = {0x80, 0x40, 0x20};
  TestImage expected = Picture();
  IText half(12, IColor(128, 0x80, 0x40, 0x20), "Verdana", IText::kStyleNormal, IText::kAlignNear);
  half.mVAlign = IText::kVAlignMiddle;
  IRECT r(10, 20, 60, 50);
  graphics->DrawIText(&half, "ab", &r);
  const int top = 20 + (30 - font11.TextHeight(1)) / 2;
  expected.PaintCachedGlyphs(font11, 2, 10, top, rgb, ClipBox{0, 0, surface->getWidth(), surface->getHeight()},
                             static_cast<int>(128 / 255.0 * 256.0));
  EXPECT_TRUE(SameImage(Picture(), expected));
}

}  // namespace
