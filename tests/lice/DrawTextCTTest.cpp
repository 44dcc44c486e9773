#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lice/DrawContext.h"
#include "platform/coretext/Font.h"
#include "tests/lice/TestFontModel.h"

namespace {

constexpr int kPixels = 12;
constexpr int kWidth = 64;
constexpr int kHeight = 48;
constexpr int kTextColor = 0xC08040;
constexpr int kBkColor = 0x2050F0;

// A memory context filled with a marker byte, the 12-pixel test font
// selected and the text colour set.
class DrawTextCTTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetTestFontEnabled(true);
    mCtx = CreateMemContext(kWidth, kHeight);
    ASSERT_NE(mCtx, nullptr);
    mFont = MakeFont(kPixels, 0);
    SelectDrawObject(mCtx, mFont);
    SetDCTextColor(mCtx, kTextColor);
    std::memcpy(Bits(), TestImage(kWidth, kHeight).Data(), kWidth * kHeight * 4);
  }
  void TearDown() override {
    DeleteDrawContext(mCtx);
    DeleteDrawObject(mFont);
    platform::SetTestFontEnabled(false);
  }
  static DrawObject* MakeFont(int pixels, char quality) {
    return CreateFont(-pixels, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, quality, 0, "Test");
  }
  uint8_t* Bits() { return static_cast<uint8_t*>(GetMemContextBits(mCtx)); }
  TestImage Drawn() { return TestImage(kWidth, kHeight, Bits()); }

  DrawContext* mCtx = nullptr;
  DrawObject* mFont = nullptr;
  const TestFontModel mF{kPixels};
};

struct MeasureCase {
  const char* text;
  int count;
  int flags;
  int width;  // glyph advances
  int lines;  // 0: nothing measured
};

void PrintTo(const MeasureCase& c, std::ostream* os) {
  *os << '"' << c.text << "\" count " << c.count << " flags " << c.flags;
}

class DrawTextCTMeasure : public DrawTextCTTest, public ::testing::WithParamInterface<MeasureCase> {};

TEST_P(DrawTextCTMeasure, SetsRightAndBottomFromTheRoundedLayout) {
  const MeasureCase c = GetParam();
  DrawRect r{5, 7, 5, 7};
  const int height = DrawTextCT(mCtx, c.text, c.count, &r, kDrawTextCalcRect | c.flags);
  if (c.lines == 0) {
    EXPECT_EQ(height, 0);
    EXPECT_EQ(r.right, 5);  // untouched
    EXPECT_EQ(r.bottom, 7);
    return;
  }
  EXPECT_EQ(height, mF.TextHeight(c.lines));
  EXPECT_EQ(r.left, 5);
  EXPECT_EQ(r.top, 7);
  EXPECT_EQ(r.right, 5 + c.width * mF.advance);
  EXPECT_EQ(r.bottom, 7 + mF.TextHeight(c.lines));
  // Measuring draws nothing.
  EXPECT_TRUE(SameImage(Drawn(), TestImage(kWidth, kHeight)));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, DrawTextCTMeasure,
    ::testing::Values(MeasureCase{"x", -1, kDrawTextNoPrefix, 1, 1},
                      MeasureCase{"abc", -1, kDrawTextNoPrefix, 3, 1},
                      MeasureCase{"abcd", 2, kDrawTextNoPrefix, 2, 1},
                      MeasureCase{"ab\0cd", 5, kDrawTextNoPrefix, 2, 1},
                      MeasureCase{"a\nb", -1, kDrawTextNoPrefix, 1, 2},
                      MeasureCase{"a\nbcd\nef", -1, kDrawTextNoPrefix, 3, 3},
                      MeasureCase{"a\n\nb", -1, kDrawTextNoPrefix, 1, 3},
                      MeasureCase{"ab\n", -1, kDrawTextNoPrefix, 2, 1},   // a final feed opens no line
                      MeasureCase{"\n", -1, kDrawTextNoPrefix, 0, 1},
                      MeasureCase{"a\r\nb", -1, kDrawTextNoPrefix, 1, 2},
                      MeasureCase{"a\r\nb", -1, kDrawTextNoPrefix | kDrawTextSingleLine, 3, 1},
                      MeasureCase{"a\nb", -1, kDrawTextSingleLine, 3, 1},
                      MeasureCase{"&&x", -1, 0, 2, 1},                    // "&x"
                      MeasureCase{"&&x", -1, kDrawTextNoPrefix, 3, 1},
                      MeasureCase{"a&b", -1, 0, 2, 1},
                      MeasureCase{"ab&", -1, 0, 2, 1},
                      MeasureCase{"\xC3\xA9t\xC3\xA9", -1, kDrawTextNoPrefix, 3, 1},
                      MeasureCase{"", -1, kDrawTextNoPrefix, 0, 0},
                      MeasureCase{"abc", 0, kDrawTextNoPrefix, 0, 0},
                      MeasureCase{"\r\r", -1, kDrawTextNoPrefix, 0, 0},
                      MeasureCase{"&", -1, 0, 0, 0},
                      MeasureCase{"\xE9", -1, kDrawTextNoPrefix, 0, 0},   // not UTF-8
                      MeasureCase{"\xC3\xA9", 1, kDrawTextNoPrefix, 0, 0}));

TEST_F(DrawTextCTTest, ALongTextIsCutAtWholeCharacters) {
  // 4095 bytes are kept: 2047 two-byte characters and one byte of the next.
  std::string text;
  for (int i = 0; i < 3000; ++i) text += "\xC3\xA9";
  DrawRect r{0, 0, 0, 0};
  EXPECT_EQ(DrawTextCT(mCtx, text.c_str(), -1, &r, kDrawTextCalcRect | kDrawTextNoPrefix),
            mF.TextHeight(1));
  EXPECT_EQ(r.right, 2047 * mF.advance);
  const std::string ascii(5000, 'a');
  EXPECT_EQ(DrawTextCT(mCtx, ascii.c_str(), -1, &r, kDrawTextCalcRect | kDrawTextNoPrefix),
            mF.TextHeight(1));
  EXPECT_EQ(r.right, 4095 * mF.advance);
}

struct PlaceCase {
  DrawRect rect;
  int flags;
  const char* text;
  int glyphs;  // of the widest line
  int lines;
  bool background;
};

void PrintTo(const PlaceCase& c, std::ostream* os) {
  *os << '"' << c.text << "\" flags " << c.flags << " in (" << c.rect.left << ", " << c.rect.top << ", "
      << c.rect.right << ", " << c.rect.bottom << ")" << (c.background ? " with background" : "");
}

class DrawTextCTPlace : public DrawTextCTTest, public ::testing::WithParamInterface<PlaceCase> {};

// The expected picture is painted from the placement rules: x by right,
// centre or left, y by bottom, centre or top, each line's baseline at y +
// ascent, the next line floor(a + d + l + 0.5) lower, everything clipped to
// the rectangle unless told otherwise.
TEST_P(DrawTextCTPlace, PutsTheBoxesWhereThePlacementRulesSay) {
  const PlaceCase c = GetParam();
  if (c.background) {
    SetDCBkMode(mCtx, 1);
    SetDCBkColor(mCtx, kBkColor);
  }
  DrawRect r = c.rect;
  const int flags = kDrawTextNoPrefix | c.flags;
  const int w = c.glyphs * mF.advance;
  const int h = mF.TextHeight(c.lines);
  EXPECT_EQ(DrawTextCT(mCtx, c.text, -1, &r, flags), h);
  EXPECT_EQ(r.left, c.rect.left);  // only measuring writes the rectangle
  EXPECT_EQ(r.right, c.rect.right);

  int x = r.left, y = r.top;
  if (flags & kDrawTextRight) {
    x = r.right - w;
  } else if (flags & kDrawTextCenter) {
    x = r.left + (r.right - r.left - w) / 2;
  }
  if (flags & kDrawTextBottom) {
    y = r.bottom - h;
  } else if (flags & kDrawTextVCenter) {
    y = r.top + (r.bottom - r.top - h) / 2;
  }
  const ClipBox clip = (flags & kDrawTextNoClip) ? ClipBox{0, 0, kWidth, kHeight}
                                                 : ClipBox{r.left, r.top, r.right, r.bottom};
  uint8_t rgb[3], bk[3];
  RGBOf(kTextColor, rgb);
  RGBOf(kBkColor, bk);
  TestImage expected(kWidth, kHeight);
  std::vector<int> lineGlyphs;
  int n = 0;
  for (const char* p = c.text;; ++p) {
    if (*p == '\n' || *p == '\0') {
      lineGlyphs.push_back(n);
      n = 0;
      if (!*p) break;
    } else {
      ++n;
    }
  }
  if (lineGlyphs.size() == 1) {
    if (c.background) expected.FillBox(x, y, x + w, y + h, bk, clip);
    expected.PaintGlyphs(mF, lineGlyphs[0], x, y + mF.ascent, rgb, clip);
  } else {
    for (int glyphs : lineGlyphs) {
      if (c.background) {
        expected.FillBox(x, y, x + glyphs * mF.advance, y + mF.ascent + mF.descent, bk, clip);
      }
      expected.PaintGlyphs(mF, glyphs, x, y + mF.ascent, rgb, clip);
      y += mF.LineStep();
    }
  }
  EXPECT_TRUE(SameImage(Drawn(), expected));
}

INSTANTIATE_TEST_SUITE_P(
    Flags, DrawTextCTPlace,
    ::testing::Values(
        PlaceCase{{5, 3, 60, 40}, 0, "abc", 3, 1, false},
        PlaceCase{{5, 3, 60, 40}, kDrawTextRight, "abc", 3, 1, false},
        PlaceCase{{5, 3, 60, 40}, kDrawTextCenter, "abc", 3, 1, false},
        PlaceCase{{5, 3, 60, 40}, kDrawTextBottom, "abc", 3, 1, false},
        PlaceCase{{5, 3, 60, 40}, kDrawTextVCenter, "abc", 3, 1, false},
        PlaceCase{{5, 3, 60, 40}, kDrawTextCenter | kDrawTextVCenter, "abc", 3, 1, false},
        PlaceCase{{5, 3, 60, 40}, kDrawTextRight | kDrawTextBottom, "abc", 3, 1, false},
        PlaceCase{{5, 3, 60, 40}, kDrawTextRight | kDrawTextCenter, "abc", 3, 1, false},
        PlaceCase{{5, 3, 60, 40}, kDrawTextBottom | kDrawTextVCenter, "abc", 3, 1, false},
        PlaceCase{{4, 2, 61, 45}, kDrawTextCenter | kDrawTextVCenter, "ab", 2, 1, false},
        // Narrower and lower than the text: clipped, or not with the no-clip flag.
        PlaceCase{{20, 4, 30, 10}, kDrawTextRight, "abc", 3, 1, false},
        PlaceCase{{20, 4, 30, 10}, kDrawTextRight | kDrawTextNoClip, "abc", 3, 1, false},
        PlaceCase{{20, 20, 30, 26}, kDrawTextCenter | kDrawTextVCenter, "abcd", 4, 1, true},
        PlaceCase{{20, 20, 30, 26}, kDrawTextCenter | kDrawTextVCenter | kDrawTextNoClip, "abcd", 4, 1, true},
        PlaceCase{{50, 30, 80, 60}, 0, "abcd", 4, 1, false},  // past the context's edge
        PlaceCase{{-7, -5, 60, 40}, kDrawTextNoClip, "abc", 3, 1, false},
        // Background boxes: the whole text box on one line, each line's own width on several.
        PlaceCase{{5, 3, 60, 40}, 0, "abc", 3, 1, true},
        PlaceCase{{5, 3, 60, 40}, kDrawTextRight | kDrawTextBottom, "ab", 2, 1, true},
        PlaceCase{{5, 3, 60, 40}, 0, "ab\ncde", 3, 2, true},
        PlaceCase{{5, 3, 60, 46}, kDrawTextRight | kDrawTextBottom, "abcd\nc\nef", 4, 3, true},
        PlaceCase{{5, 3, 60, 40}, kDrawTextCenter | kDrawTextVCenter, "a\nbcd", 3, 2, false},
        PlaceCase{{5, 3, 40, 20}, 0, "ab\ncde", 3, 2, true}));

// Centring truncates half the free space, as the cached fonts' glyph path
// does, so both paths put centred text on the same pixels: 65 free columns
// and 27 free rows of an 11-pixel font leave 32 and 13.
TEST_F(DrawTextCTTest, CentringTruncatesHalfTheFreeSpace) {
  DrawObject* font = MakeFont(11, 0);
  SelectDrawObject(mCtx, font);
  const TestFontModel f(11);
  ASSERT_EQ(f.advance * 7, 35);
  ASSERT_EQ(f.TextHeight(1), 13);
  DrawRect r{0, 0, 100, 40};
  DrawTextCT(mCtx, "abcdefg", -1, &r, kDrawTextNoPrefix | kDrawTextCenter | kDrawTextVCenter);
  uint8_t rgb[3];
  RGBOf(kTextColor, rgb);
  TestImage expected(kWidth, kHeight);
  expected.PaintGlyphs(f, 7, 32, 13 + f.ascent, rgb, ClipBox{0, 0, 100, 40});
  EXPECT_TRUE(SameImage(Drawn(), expected));
  SelectDrawObject(mCtx, mFont);
  DeleteDrawObject(font);
}

TEST_F(DrawTextCTTest, TheFontsQualityChoosesAntialiasingForThatCallOnly) {
  uint8_t rgb[3];
  RGBOf(kTextColor, rgb);
  const ClipBox all{0, 0, kWidth, kHeight};
  for (int quality : {0, 2, 3, 4, 0}) {
    DrawObject* font = MakeFont(kPixels, static_cast<char>(quality));
    SelectDrawObject(mCtx, font);
    std::memcpy(Bits(), TestImage(kWidth, kHeight).Data(), kWidth * kHeight * 4);
    DrawRect r{2, 2, 40, 30};
    DrawTextCT(mCtx, "a", -1, &r, kDrawTextNoPrefix);
    TestImage expected(kWidth, kHeight);
    expected.PaintGlyphs(mF, 1, 2, 2 + mF.ascent, rgb, all, quality != 3);
    EXPECT_TRUE(SameImage(Drawn(), expected)) << "quality " << quality;
    SelectDrawObject(mCtx, mFont);
    DeleteDrawObject(font);
  }
}

TEST_F(DrawTextCTTest, WithoutAFontTheDefaultFontDrawsInBlackUntilAColourIsSet) {
  DrawContext* ctx = CreateMemContext(kWidth, kHeight);
  std::memcpy(GetMemContextBits(ctx), TestImage(kWidth, kHeight).Data(), kWidth * kHeight * 4);
  DrawRect r{1, 1, 60, 40};
  const TestFontModel label(10);
  EXPECT_EQ(DrawTextCT(ctx, "ab", -1, &r, kDrawTextNoPrefix), label.TextHeight(1));
  TestImage expected(kWidth, kHeight);
  const uint8_t black[3] = {0, 0, 0};
  expected.PaintGlyphs(label, 2, 1, 1 + label.ascent, black, ClipBox{1, 1, 60, 40});
  EXPECT_TRUE(SameImage(TestImage(kWidth, kHeight, GetMemContextBits(ctx)), expected));
  DeleteDrawContext(ctx);
}

}  // namespace
