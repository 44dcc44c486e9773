#include "lice/LICE_CachedFont.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "lice/DrawContext.h"
#include "lice/DrawRecords.h"
#include "lice/lice.h"
#include "platform/coretext/Font.h"
#include "tests/lice/LiceTestSupport.h"
#include "tests/lice/TestFontModel.h"

namespace {

constexpr int kPixels = 12;
constexpr int kW = 64;
constexpr int kH = 48;
// Pixel words: bytes A, R, G, B.
constexpr LICE_pixel kText = LICE_RGBA(0xC0, 0x80, 0x40, 0xFF);
constexpr LICE_pixel kBk = LICE_RGBA(0x20, 0x50, 0xF0, 0xFF);

DrawObject* TestPlatformFont(int pixels) {
  return CreateFont(-pixels, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "Test");
}

// The test font switched on, and a font that owns its platform font.
class CachedFontTest : public ::testing::Test {
 protected:
  void SetUp() override { platform::SetTestFontEnabled(true); }
  void TearDown() override {
    mFonts.clear();
    platform::SetTestFontEnabled(false);
  }
  LICE_CachedFont* MakeFont(int fontFlags, int pixels = kPixels) {
    mFonts.push_back(std::make_unique<LICE_CachedFont>());
    mFonts.back()->SetFromPlatformFont(TestPlatformFont(pixels), fontFlags | kFontOwnsPlatformFont);
    mFonts.back()->SetTextColor(kText);
    return mFonts.back().get();
  }
  // Logical rows, so that bottom-up bitmaps read and fill the same.
  static void Fill(LICE_IBitmap* bm, uint8_t byte = 0x11) {
    LiceTest::FillAll(bm, 0x01010101u * byte);
  }
  static TestImage Picture(LICE_IBitmap* bm) {
    TestImage img(bm->getWidth(), bm->getHeight());
    for (int y = 0; y < bm->getHeight(); ++y) {
      for (int x = 0; x < bm->getWidth(); ++x) std::memcpy(img.At(x, y), &LiceTest::At(bm, x, y), 4);
    }
    return img;
  }
  // The coverage the glyph path keeps for one box of the test font: the
  // advance wide, the measured line high.
  static std::vector<unsigned char> BoxImage(const TestFontModel& f, int* width, int* height) {
    *width = f.advance;
    *height = f.TextHeight(1);
    std::vector<unsigned char> img(static_cast<size_t>(*width) * *height, 0);
    for (int r = 0; r < f.ascent + f.descent; ++r) {
      for (int c = 0; c < f.boxWidth; ++c) img[r * *width + c] = r == 0 && c == 0 ? kCornerCoverage : 255;
    }
    return img;
  }
  static std::vector<unsigned char> Coverage(LICE_CachedFont* font, int character) {
    if (!font->FindGlyph(character) || font->FindGlyph(character)->position == 0) font->RenderGlyph(character);
    const LICE_CachedFont::GlyphEntry* e = font->FindGlyph(character);
    const unsigned char* p = font->GlyphCoverage(e);
    return p ? std::vector<unsigned char>(p, p + e->width * e->height) : std::vector<unsigned char>();
  }

  const TestFontModel mF{kPixels};
  std::vector<std::unique_ptr<LICE_CachedFont>> mFonts;
};

TEST_F(CachedFontTest, AGlyphKeepsItsWhiteOnBlackCoverageTrimmedToTheAdvance) {
  LICE_CachedFont* font = MakeFont(0);
  EXPECT_EQ(font->GetLineHeight(), mF.ascent + mF.descent + 1);  // the metrics' height
  ASSERT_TRUE(font->RenderGlyph('a'));
  const LICE_CachedFont::GlyphEntry* e = font->FindGlyph('a');
  int w = 0, h = 0;
  const std::vector<unsigned char> expected = BoxImage(mF, &w, &h);
  EXPECT_GT(e->position, 0);
  EXPECT_EQ(e->advance, mF.advance);
  EXPECT_EQ(e->width, w);
  EXPECT_EQ(e->height, h);
  EXPECT_EQ(Coverage(font, 'a'), expected);

  // A space has an advance and an empty image; a character that measures
  // empty is marked and not retried.
  ASSERT_TRUE(font->RenderGlyph(' '));
  EXPECT_GT(font->FindGlyph(' ')->position, 0);
  EXPECT_EQ(font->FindGlyph(' ')->advance, mF.advance);
  EXPECT_EQ(Coverage(font, ' '), std::vector<unsigned char>(static_cast<size_t>(w) * h, 0));
  ASSERT_TRUE(font->RenderGlyph('\r'));
  EXPECT_EQ(font->FindGlyph('\r')->position, -1);
  EXPECT_EQ(font->FindGlyph('\r')->advance, 0);
}

TEST_F(CachedFontTest, FontsTooTallForTheCacheRenderNothingAndDrawNatively) {
  LICE_CachedFont* tall = MakeFont(kFontVertical, 2000);
  EXPECT_EQ(tall->GetLineHeight(), 2001);
  EXPECT_FALSE(tall->RenderGlyph('a'));
  // 300 pixels: glyphs could be cached, but the native path is taken even
  // when asked for glyphs; the vertical flag would swap the extents.
  LICE_CachedFont* big = MakeFont(kFontVertical, 300);
  const TestFontModel f(300);
  LICE_Rect r{0, 0, 0, 0};
  EXPECT_EQ(big->DrawText(nullptr, "ab", -1, &r, kDrawTextCalcRect | kDrawTextGlyphPath), f.TextHeight(1));
  EXPECT_EQ(r.right, 2 * f.advance);
  EXPECT_EQ(r.bottom, f.TextHeight(1));
}

struct MeasureCase {
  const char* text;
  int count;
  unsigned int flags;
  int advances;  // of the widest line
  int lines;
  // The native path measures bytes: a count that cuts a character leaves
  // text the platform refuses.
  bool glyphPathOnly = false;
};

class CachedFontMeasure : public CachedFontTest, public ::testing::WithParamInterface<MeasureCase> {};

// Glyph path: width is the advances of the widest line, height the line
// height per line feed plus one glyph image's height.
TEST_P(CachedFontMeasure, ExtentsFollowTheWalk) {
  const MeasureCase c = GetParam();
  for (bool native : {false, true}) {
    if (native && c.glyphPathOnly) continue;
    LICE_CachedFont* font = MakeFont(native ? kFontPreferNative : 0);
    LICE_Rect r{3, 4, 3, 4};
    const int result = font->DrawText(nullptr, c.text, c.count, &r, kDrawTextCalcRect | c.flags);
    if (c.lines == 0) {
      EXPECT_EQ(result, 0) << native;
      EXPECT_EQ(r.right, 3);
      EXPECT_EQ(r.bottom, 4);
      continue;
    }
    // The native path measures the text box: each line floor(a + d + l + 1.5) and 1 more.
    const int height = native ? mF.TextHeight(c.lines) : (c.lines - 1) * font->GetLineHeight() + mF.TextHeight(1);
    EXPECT_EQ(result, height) << c.text << (native ? " native" : " glyphs");
    EXPECT_EQ(r.right, 3 + c.advances * mF.advance) << c.text << (native ? " native" : " glyphs");
    EXPECT_EQ(r.bottom, 4 + height);
  }
}

INSTANTIATE_TEST_SUITE_P(Texts, CachedFontMeasure,
                         ::testing::Values(MeasureCase{"abc", -1, 0, 3, 1},
                                           MeasureCase{"a\nbc", -1, 0, 2, 2},
                                           MeasureCase{"a\r\nb", -1, 0, 1, 2},
                                           MeasureCase{"a\r\nb", -1, kDrawTextSingleLine, 3, 1},
                                           MeasureCase{"\xC3\xA9t\xC3\xA9", 1, 0, 1, 1, true},  // stops after the e acute
                                           MeasureCase{"\xC3\xA9t\xC3\xA9", -1, 0, 3, 1},
                                           MeasureCase{"a&b", -1, 0, 3, 1},  // taken literally
                                           MeasureCase{"", -1, 0, 0, 0},
                                           MeasureCase{"abc", 0, 0, 0, 0}));

TEST_F(CachedFontTest, TheWalkDecodesLoneBytesAndFourByteForms) {
  LICE_CachedFont* font = MakeFont(0);
  LICE_Rect r{0, 0, 0, 0};
  EXPECT_EQ(font->DrawText(nullptr, "\xE9", -1, &r, kDrawTextCalcRect), mF.TextHeight(1));
  EXPECT_EQ(r.right, mF.advance);
  int w = 0, h = 0;
  EXPECT_EQ(Coverage(font, 0xE9), BoxImage(mF, &w, &h));  // drawn as character 0xE9
  font->DrawText(nullptr, "x\xF0\x9F\x8E\xB5y", -1, &r, kDrawTextCalcRect);
  EXPECT_EQ(r.right, 3 * mF.advance);  // the four bytes are a space
  EXPECT_EQ(Coverage(font, ' '), std::vector<unsigned char>(static_cast<size_t>(w) * h, 0));
}

TEST_F(CachedFontTest, RenderingAllAtOnceSkipsWhatIsNotCached) {
  LICE_CachedFont* font = MakeFont(kFontRenderAllAtOnce);
  for (int c = 32; c < 128; ++c) EXPECT_NE(font->FindGlyph(c)->position, 0) << c;
  LICE_Rect r{0, 0, 0, 0};
  font->DrawText(nullptr, "a\xC3\xA9" "b", -1, &r, kDrawTextCalcRect);
  EXPECT_EQ(r.right, 2 * mF.advance);
  EXPECT_EQ(font->FindGlyph(0xE9), nullptr);
  EXPECT_FALSE(font->RenderGlyph(0xE9));
}

TEST_F(CachedFontTest, ExtendedCharactersStaySortedAndFound) {
  LICE_CachedFont* font = MakeFont(0);
  const std::vector<int> chars = {0x3B4, 0xE9, 0x20AC, 0x3B1, 0x100, 0xFFFD, 0x3B2};
  for (int c : chars) {
    char utf8[4] = {};
    if (c < 0x800) {
      utf8[0] = static_cast<char>(0xC0 | (c >> 6));
      utf8[1] = static_cast<char>(0x80 | (c & 0x3F));
    } else {
      utf8[0] = static_cast<char>(0xE0 | (c >> 12));
      utf8[1] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      utf8[2] = static_cast<char>(0x80 | (c & 0x3F));
    }
    LICE_Rect r{0, 0, 0, 0};
    font->DrawText(nullptr, utf8, -1, &r, kDrawTextCalcRect);
    EXPECT_EQ(r.right, mF.advance);
  }
  for (int c : chars) {
    const LICE_CachedFont::GlyphEntry* e = font->FindGlyph(c);
    ASSERT_NE(e, nullptr) << c;
    EXPECT_EQ(e->character, c);
    EXPECT_GT(e->position, 0);
  }
  EXPECT_EQ(font->FindGlyph(0x3B3), nullptr);
}

// Where both paths must draw the same text: single lines in every
// alignment, clipped or not, with or without the background box.
struct PlaceCase {
  LICE_Rect rect;
  int flags;
  const char* text;
  bool background;
};

// The native path into a bitmap's own context or by way of the scratch (into
// a top-down or a bottom-up bitmap), and the glyph path (both row orders).
enum EPath { kNativeInContext, kNativeViaScratch, kNativeFlipped, kGlyphs, kGlyphsFlipped };

class CachedFontPlace : public CachedFontTest,
                        public ::testing::WithParamInterface<std::tuple<PlaceCase, EPath>> {};

void PrintTo(const PlaceCase& c, std::ostream* os) {
  *os << '"' << c.text << "\" flags " << c.flags << " in (" << c.rect.left << ", " << c.rect.top << ", "
      << c.rect.right << ", " << c.rect.bottom << ")" << (c.background ? " with background" : "");
}

TEST_P(CachedFontPlace, BothPathsPutTheGlyphsOnTheSamePixels) {
  const PlaceCase c = std::get<0>(GetParam());
  const EPath path = std::get<1>(GetParam());
  const bool glyphs = path == kGlyphs || path == kGlyphsFlipped;
  LICE_CachedFont* font = MakeFont(glyphs ? 0 : kFontPreferNative);
  if (c.background) {
    font->SetBkMode(1);
    font->SetBkColor(kBk);
  }
  std::unique_ptr<LICE_IBitmap> bm;
  if (path == kNativeInContext) {
    bm = std::make_unique<LICE_SysBitmap>(kW, kH);
  } else if (path == kNativeFlipped || path == kGlyphsFlipped) {
    bm = std::make_unique<LiceTest::FlippedBitmap>(kW, kH);
  } else {
    bm = std::make_unique<LICE_MemBitmap>(kW, kH, 4);
  }
  Fill(bm.get());
  LICE_Rect r = c.rect;
  const int n = static_cast<int>(std::strlen(c.text));
  const int w = n * mF.advance, h = mF.TextHeight(1);
  const int result = font->DrawText(bm.get(), c.text, -1, &r, c.flags);

  int x = r.left, y = r.top;
  if (c.flags & kDrawTextRight) x = r.right - w;
  if (c.flags & kDrawTextCenter) x = r.left + (r.right - r.left - w) / 2;
  if (c.flags & kDrawTextBottom) y = r.bottom - h;
  if (c.flags & kDrawTextVCenter) y = r.top + (r.bottom - r.top - h) / 2;
  const ClipBox clip = (c.flags & kDrawTextNoClip) ? ClipBox{0, 0, kW, kH}
                                                   : ClipBox{r.left, r.top, r.right, r.bottom};
  const bool visible = x < std::min(kW, clip.right) && x + w > std::max(0, clip.left) &&
                       y < std::min(kH, clip.bottom) && y + h > std::max(0, clip.top);
  uint8_t rgb[3] = {0xC0, 0x80, 0x40}, bk[3] = {0x20, 0x50, 0xF0};
  TestImage expected(kW, kH);
  if (glyphs) {
    // Whole colour words, the alpha byte included.
    if (c.background) {
      for (int py = y; py < y + h; ++py) {
        for (int px = x; px < x + w; ++px) expected.CopyBlend(px, py, bk, 256, clip);
      }
    }
    expected.PaintCachedGlyphs(mF, n, x, y, rgb, clip);
    EXPECT_EQ(result, visible ? h : 0);
  } else {
    if (c.background) expected.FillBox(x, y, x + w, y + h, bk, clip);
    expected.PaintGlyphs(mF, n, x, y + mF.ascent, rgb, clip);
    EXPECT_EQ(result, h);
  }
  EXPECT_TRUE(SameImage(Picture(bm.get()), expected));
  if (auto* flipped = dynamic_cast<LiceTest::FlippedBitmap*>(bm.get())) {
    EXPECT_TRUE(flipped->PaddingIntact());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Flags, CachedFontPlace,
    ::testing::Combine(
        ::testing::Values(PlaceCase{{5, 3, 60, 40}, 0, "abc", false},
                          PlaceCase{{5, 3, 60, 40}, kDrawTextRight, "abc", false},
                          PlaceCase{{5, 3, 60, 40}, kDrawTextCenter, "abc", false},
                          PlaceCase{{5, 3, 60, 40}, kDrawTextBottom, "abc", false},
                          PlaceCase{{5, 3, 60, 40}, kDrawTextVCenter, "abc", false},
                          PlaceCase{{4, 2, 61, 45}, kDrawTextCenter | kDrawTextVCenter, "ab", false},
                          PlaceCase{{5, 3, 60, 40}, kDrawTextRight | kDrawTextBottom, "ab", true},
                          PlaceCase{{20, 4, 30, 10}, kDrawTextRight, "abc", false},
                          PlaceCase{{20, 4, 30, 10}, kDrawTextRight | kDrawTextNoClip, "abc", false},
                          PlaceCase{{20, 20, 30, 26}, kDrawTextCenter | kDrawTextVCenter, "abcd", true},
                          PlaceCase{{20, 20, 30, 26}, kDrawTextCenter | kDrawTextVCenter | kDrawTextNoClip, "abcd", true},
                          PlaceCase{{50, 30, 80, 60}, 0, "abcd", false},
                          PlaceCase{{5, 3, 60, 40}, 0, "abc", true}),
        ::testing::Values(kNativeInContext, kNativeViaScratch, kNativeFlipped, kGlyphs, kGlyphsFlipped)));

// 31-pixel text centred in 100 pixels starts 34 in, natively as by glyphs.
TEST_F(CachedFontTest, CentringLeavesTheOddPixelOnTheRight) {
  const TestFontModel f(62);
  ASSERT_EQ(f.advance, 31);
  for (EPath path : {kNativeInContext, kNativeViaScratch, kGlyphs}) {
    LICE_CachedFont* font = MakeFont(path == kGlyphs ? 0 : kFontPreferNative, 62);
    std::unique_ptr<LICE_IBitmap> bm;
    if (path == kNativeInContext) {
      bm = std::make_unique<LICE_SysBitmap>(120, 80);
    } else {
      bm = std::make_unique<LICE_MemBitmap>(120, 80, 4);
    }
    Fill(bm.get(), 0);
    LICE_Rect r{10, 0, 110, 80};
    font->DrawText(bm.get(), "a", -1, &r, kDrawTextCenter);
    int first = -1;
    for (int x = 0; x < 120 && first < 0; ++x) {
      if (LICE_GETR(bm->getBits()[5 * bm->getRowSpan() + x])) first = x;
    }
    EXPECT_EQ(first, 10 + 34) << "path " << path;
  }
}

TEST_F(CachedFontTest, EmptyTextDrawsNothing) {
  LICE_SysBitmap bm(kW, kH);
  Fill(&bm);
  for (bool native : {false, true}) {
    LICE_CachedFont* font = MakeFont(native ? kFontPreferNative : 0);
    for (int count : {-1, 0}) {
      const char* text = count == 0 ? "abc" : "";
      LICE_Rect r{3, 4, 50, 40};
      EXPECT_EQ(font->DrawText(&bm, text, count, &r, 0), 0);
      EXPECT_EQ(font->DrawText(&bm, text, count, &r, kDrawTextCalcRect), 0);
      // The platform leaves the rectangle alone; the glyph walk measures it empty.
      EXPECT_EQ(r.right, native ? 50 : 3);
      EXPECT_EQ(r.bottom, native ? 40 : 4);
    }
  }
  EXPECT_TRUE(SameImage(Picture(&bm), TestImage(kW, kH)));
}

TEST_F(CachedFontTest, LinesOfTheGlyphPathAreALineHeightApart) {
  LICE_CachedFont* font = MakeFont(0);
  LICE_MemBitmap bm(kW, kH, 4);
  Fill(&bm);
  LICE_Rect r{5, 3, 60, 46};
  const int result = font->DrawText(&bm, "ab\nc", -1, &r, kDrawTextRight);
  const int lh = font->GetLineHeight();
  EXPECT_EQ(result, lh + mF.TextHeight(1));
  uint8_t rgb[3] = {0xC0, 0x80, 0x40};
  TestImage expected(kW, kH);
  const int x = 60 - 2 * mF.advance;  // placed by the measured block; every line starts there
  const ClipBox clip{5, 3, 60, 46};
  expected.PaintCachedGlyphs(mF, 2, x, 3, rgb, clip);
  expected.PaintCachedGlyphs(mF, 1, x, 3 + lh, rgb, clip);
  EXPECT_TRUE(SameImage(Picture(&bm), expected));
}

TEST_F(CachedFontTest, TranslucentTextTakesTheGlyphPathWithTheColoursAlpha) {
  LICE_CachedFont* font = MakeFont(kFontPreferNative);
  font->SetCombineMode(LICE_BLIT_MODE_COPY, 0.5f);  // ignored by the native path
  LICE_SysBitmap opaque(kW, kH), translucent(kW, kH);
  Fill(&opaque);
  Fill(&translucent);
  LICE_Rect r{2, 2, 60, 40};
  font->DrawText(&opaque, "ab", -1, &r, 0);
  uint8_t rgb[3] = {0xC0, 0x80, 0x40};
  TestImage expected(kW, kH);
  expected.PaintGlyphs(mF, 2, 2, 2 + mF.ascent, rgb, ClipBox{2, 2, 60, 40});
  EXPECT_TRUE(SameImage(Picture(&opaque), expected));

  font->SetTextColor(LICE_RGBA(0xC0, 0x80, 0x40, 128));
  font->SetCombineMode(LICE_BLIT_MODE_COPY, 1.0f);
  EXPECT_EQ(font->DrawText(&translucent, "ab", -1, &r, kDrawTextUseColorAlpha), mF.TextHeight(1));
  TestImage half(kW, kH);
  half.PaintCachedGlyphs(mF, 2, 2, 2, rgb, ClipBox{2, 2, 60, 40}, static_cast<int>(128 / 255.0 * 256.0));
  EXPECT_TRUE(SameImage(Picture(&translucent), half));

  // An alpha of 0 draws nothing.
  font->SetCombineMode(LICE_BLIT_MODE_COPY, 0.0f);
  EXPECT_EQ(font->DrawText(&translucent, "ab", -1, &r, kDrawTextUseColorAlpha), 0);
  EXPECT_EQ(font->DrawText(nullptr, "ab", -1, &r, 0), 0);
}

// Each effect on the 5 x 12 box (corner coverage 96) in its 6 x 14 image.
TEST_F(CachedFontTest, EffectsTransformTheCachedImage) {
  int w = 0, h = 0;
  const std::vector<unsigned char> box = BoxImage(mF, &w, &h);
  auto at = [&](const std::vector<unsigned char>& img, int width, int r, int c) { return img[r * width + c]; };

  const std::vector<unsigned char> mono = Coverage(MakeFont(kFontMonochrome), 'a');
  const std::vector<unsigned char> inverted = Coverage(MakeFont(kFontInvert), 'a');
  const std::vector<unsigned char> shadow = Coverage(MakeFont(kFontShadow), 'a');
  const std::vector<unsigned char> outline = Coverage(MakeFont(kFontOutline), 'a');
  const std::vector<unsigned char> both = Coverage(MakeFont(kFontShadow | kFontOutline), 'a');
  ASSERT_EQ(mono.size(), box.size());
  for (int r = 0; r < h; ++r) {
    for (int c = 0; c < w; ++c) {
      const int b = at(box, w, r, c);
      EXPECT_EQ(at(mono, w, r, c), b > 130 ? 255 : 0);
      EXPECT_EQ(at(inverted, w, r, c), 255 - b);
      const bool full = b > 130;
      // Shadow: below and right of the box (its last column and row + 1).
      const bool shadowMark = !full && ((c == mF.boxWidth && r <= mF.ascent + mF.descent) ||
                                        (r == mF.ascent + mF.descent && c <= mF.boxWidth)) ;
      EXPECT_EQ(at(shadow, w, r, c), full ? 255 : shadowMark ? 128 : 0) << r << "," << c;
      EXPECT_EQ(at(both, w, r, c), at(shadow, w, r, c));
      // Outline: the four direct neighbours of full pixels, the emptied corner among them.
      const bool outlineMark = !full && ((r == 0 && c == 0) ||
                                         (c == mF.boxWidth && r < mF.ascent + mF.descent) ||
                                         (r == mF.ascent + mF.descent && c < mF.boxWidth));
      EXPECT_EQ(at(outline, w, r, c), full ? 255 : outlineMark ? 128 : 0) << r << "," << c;
    }
  }

  // A quarter turn: clockwise top-down, counter-clockwise bottom-up.
  LICE_CachedFont* down = MakeFont(kFontVertical);
  LICE_CachedFont* up = MakeFont(kFontVertical | kFontBottomUp);
  const std::vector<unsigned char> cw = Coverage(down, 'a'), ccw = Coverage(up, 'a');
  ASSERT_EQ(down->FindGlyph('a')->width, h);
  ASSERT_EQ(down->FindGlyph('a')->height, w);
  for (int r = 0; r < w; ++r) {
    for (int c = 0; c < h; ++c) {
      EXPECT_EQ(at(cw, h, r, c), at(box, w, h - 1 - c, r));
      EXPECT_EQ(at(ccw, h, r, c), at(box, w, c, w - 1 - r));
    }
  }
  EXPECT_EQ(at(cw, h, 0, h - 1), kCornerCoverage);  // the marked corner went to the top right
  EXPECT_EQ(at(ccw, h, w - 1, 0), kCornerCoverage); // and to the bottom left

  // Blur: the scratch's box blurred before its coverage is read.
  LICE_MemBitmap ref(w + 2, h, 4);
  LICE_FillRect(&ref, 0, 0, w + 2, h, 0, 1.0f, 0);
  for (int r = 0; r < h; ++r) {
    for (int c = 0; c < w; ++c) {
      const int v = at(box, w, r, c);
      ref.getBits()[r * ref.getRowSpan() + c] = LICE_RGBA(v, v, v, 0);
    }
  }
  LICE_BlurRect(&ref, &ref, 0, 0, 0, 0, w + 2, h);
  LICE_CachedFont* blurred = MakeFont(kFontBlur);
  const std::vector<unsigned char> blur = Coverage(blurred, 'a');
  const LICE_CachedFont::GlyphEntry* e = blurred->FindGlyph('a');
  ASSERT_GE(e->width, w);
  for (int r = 0; r < h; ++r) {
    for (int c = 0; c < e->width; ++c) {
      EXPECT_EQ(at(blur, e->width, r, c), LICE_GETR(ref.getBits()[r * ref.getRowSpan() + c])) << r << "," << c;
    }
  }
}

TEST_F(CachedFontTest, VerticalTextRunsDownOrUpInTurnedGlyphs) {
  int w = 0, h = 0;
  BoxImage(mF, &w, &h);
  for (bool bottomUp : {false, true}) {
    LICE_CachedFont* font = MakeFont(kFontVertical | (bottomUp ? kFontBottomUp : 0));
    LICE_Rect m{0, 0, 0, 0};
    EXPECT_EQ(font->DrawText(nullptr, "ab", -1, &m, kDrawTextCalcRect), h);  // the width
    EXPECT_EQ(m.right, h);
    EXPECT_EQ(m.bottom, 2 * mF.advance);

    LICE_MemBitmap bm(kW, kH, 4);
    Fill(&bm, 0);
    LICE_Rect r{10, 5, 60, 45};
    EXPECT_EQ(font->DrawText(&bm, "ab", -1, &r, 0), h);
    const std::vector<unsigned char> turned = Coverage(font, 'a');
    // Top-down: a at y 5, b at 11. Bottom-up: the block ends at 5 + 12, a lowest.
    const int firstTop = bottomUp ? 5 + mF.advance : 5;
    const int secondTop = bottomUp ? 5 : 5 + mF.advance;
    for (int y = 0; y < kH; ++y) {
      for (int x = 0; x < kW; ++x) {
        int coverage = 0;
        for (int top : {firstTop, secondTop}) {
          if (x >= 10 && x < 10 + h && y >= top && y < top + w) coverage = turned[(y - top) * h + (x - 10)];
        }
        EXPECT_EQ(LICE_GETR(bm.getBits()[y * bm.getRowSpan() + x]) != 0, coverage != 0) << x << "," << y;
      }
    }
  }
}

TEST_F(CachedFontTest, MonochromeAndEffectFontsStoreColourWordsAtFullStrength) {
  LICE_CachedFont* outline = MakeFont(kFontOutline);
  outline->SetEffectColor(kBk);
  LICE_MemBitmap bm(kW, kH, 4);
  Fill(&bm);
  LICE_Rect r{0, 0, kW, kH};
  outline->DrawText(&bm, "a", -1, &r, 0);
  const std::vector<unsigned char> img = Coverage(outline, 'a');
  const int w = outline->FindGlyph('a')->width, h = outline->FindGlyph('a')->height;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const LICE_pixel p = bm.getBits()[y * bm.getRowSpan() + x];
      const int c = img[y * w + x];
      EXPECT_EQ(p, c == 255 ? kText : c ? kBk : 0x11111111u) << x << "," << y;
    }
  }
  // Translucent: every non-empty pixel blends with the same weight.
  LICE_CachedFont* mono = MakeFont(kFontMonochrome);
  mono->SetCombineMode(LICE_BLIT_MODE_ADD, 0.5f);
  Fill(&bm, 0x10);
  mono->DrawText(&bm, "a", -1, &r, 0);
  const LICE_pixel inside = bm.getBits()[1 * bm.getRowSpan() + 1];
  EXPECT_EQ(LICE_GETR(inside), 0x10 + 0xC0 * 128 / 256);
  EXPECT_EQ(LICE_GETB(inside), 0x10 + 0x40 * 128 / 256);
  EXPECT_EQ(bm.getBits()[0], 0x10101010u);  // the emptied corner
}

TEST_F(CachedFontTest, ScratchBitmapsLiveFromFirstUseToTheLastFont) {
  const int before = LICE_CachedFont::InstanceCount();
  ASSERT_EQ(before, 0);
  {
    LICE_CachedFont a;
    EXPECT_EQ(LICE_CachedFont::GlyphScratch(), nullptr);
    a.SetFromPlatformFont(TestPlatformFont(12), kFontOwnsPlatformFont | kFontPreferNative);
    ASSERT_NE(LICE_CachedFont::GlyphScratch(), nullptr);
    EXPECT_GE(LICE_CachedFont::GlyphScratch()->getWidth(), 256);
    LICE_MemBitmap bm(32, 32, 4);
    LICE_Rect r{0, 0, 32, 32};
    a.DrawText(&bm, "a", -1, &r, 0);  // native, by way of the scratch
    EXPECT_NE(LICE_CachedFont::NativeScratch(), nullptr);
    {
      LICE_CachedFont b;
      EXPECT_EQ(LICE_CachedFont::InstanceCount(), 2);
    }
    EXPECT_NE(LICE_CachedFont::GlyphScratch(), nullptr);  // a is still there
  }
  EXPECT_EQ(LICE_CachedFont::InstanceCount(), 0);
  EXPECT_EQ(LICE_CachedFont::GlyphScratch(), nullptr);
  EXPECT_EQ(LICE_CachedFont::NativeScratch(), nullptr);
  LICE_CachedFont again;
  again.SetFromPlatformFont(TestPlatformFont(12), kFontOwnsPlatformFont);
  EXPECT_NE(LICE_CachedFont::GlyphScratch(), nullptr);
}

TEST_F(CachedFontTest, AnOwnedPlatformFontIsDeletedWhenReplaced) {
  DrawObject* first = TestPlatformFont(12);
  DrawObject* second = TestPlatformFont(14);
  {
    LICE_CachedFont font;
    font.SetFromPlatformFont(first, kFontOwnsPlatformFont);
    font.SetFromPlatformFont(first, kFontOwnsPlatformFont);  // the same font is kept
    EXPECT_FALSE(first->mPooled);
    font.SetFromPlatformFont(second, kFontOwnsPlatformFont);
    EXPECT_TRUE(first->mPooled);
    EXPECT_EQ(font.GetLineHeight(), TestFontModel(14).ascent + TestFontModel(14).descent + 1);
    font.SetFromPlatformFont(nullptr, 0);  // replaced by none: deleted too
    EXPECT_TRUE(second->mPooled);
    EXPECT_EQ(font.GetLineHeight(), 15);   // kept without a font
  }
  DrawObject* kept = TestPlatformFont(12);
  {
    LICE_CachedFont font;
    font.SetFromPlatformFont(kept, 0);
  }
  EXPECT_FALSE(kept->mPooled);  // not owned
  DeleteDrawObject(kept);
}

}  // namespace
