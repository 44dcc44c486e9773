// Real fonts through fontconfig and FreeType: nothing here asserts exact
// pixels, which depend on the installed FreeType and faces. The picture is
// written to the build tree for a person to look at.
#include <gtest/gtest.h>
#include <png.h>

#include <cstring>
#include <string>
#include <vector>

#include "lice/DrawContext.h"
#include "lice/LICE_CachedFont.h"
#include "lice/lice.h"

#ifndef BRIMLOW_TEST_OUTPUT_DIR
#define BRIMLOW_TEST_OUTPUT_DIR "."
#endif

namespace {

// Writes X,R,G,B pixels as an RGB PNG.
bool WritePNG(const std::string& path, const uint8_t* xrgb, int width, int height) {
  std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3);
  for (size_t i = 0; i < static_cast<size_t>(width) * height; ++i) std::memcpy(&rgb[i * 3], xrgb + i * 4 + 1, 3);
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = PNG_FORMAT_RGB;
  const bool ok = png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), width * 3, nullptr) != 0;
  png_image_free(&image);
  return ok;
}

struct Line {
  const char* face;
  int pixels, weight;
  char italic, quality;
  const char* text;
};

// Ink of a row band: the sum of the red channel over the rows.
long Ink(const uint8_t* xrgb, int width, int top, int bottom) {
  long sum = 0;
  for (int y = top; y < bottom; ++y) {
    for (int x = 0; x < width; ++x) sum += xrgb[(static_cast<size_t>(y) * width + x) * 4 + 1];
  }
  return sum;
}

}  // namespace

// Whole-pixel metrics from FreeType feed the height rules: the metrics'
// height a + d + l + 1, a measured line a + d + l + 2; bold measures wider.
TEST(TextSmoke, RealFontMetricsFollowTheHeightRules) {
  DrawContext* ctx = CreateMemContext(8, 8);
  for (int pixels : {9, 12, 16, 31}) {
    DrawObject* regular = CreateFont(-pixels, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "Verdana");
    DrawObject* bold = CreateFont(-pixels, 0, 0, 0, 700, 0, 0, 0, 0, 0, 0, 0, 0, "Verdana");
    SelectDrawObject(ctx, regular);
    TextMetrics tm{};
    ASSERT_TRUE(GetTextMetrics(ctx, &tm));
    EXPECT_GT(tm.mAscent, tm.mDescent);
    EXPECT_GT(tm.mDescent, 0);
    EXPECT_GE(tm.mLeading, 0);
    EXPECT_EQ(tm.mHeight, tm.mAscent + tm.mDescent + tm.mLeading + 1);
    EXPECT_GE(tm.mHeight, pixels);
    EXPECT_LE(tm.mHeight, 2 * pixels);
    DrawRect r{0, 0, 0, 0};
    const char* text = "Frequency 1000 Hz";
    EXPECT_EQ(DrawTextCT(ctx, text, -1, &r, kDrawTextCalcRect), tm.mHeight + 1);
    const int regularWidth = r.right;
    SelectDrawObject(ctx, bold);
    DrawTextCT(ctx, text, -1, &r, kDrawTextCalcRect);
    EXPECT_GT(r.right, regularWidth) << pixels;
    SelectDrawObject(ctx, DrawObjectType(3));
    DeleteDrawObject(regular);
    DeleteDrawObject(bold);
  }
  DeleteDrawContext(ctx);
}

TEST(TextSmoke, RealFontsDrawLegibleTextIntoAMemoryContext) {
  constexpr int kWidth = 420, kHeight = 230;
  DrawContext* ctx = CreateMemContext(kWidth, kHeight);
  ASSERT_NE(ctx, nullptr);
  auto* bits = static_cast<uint8_t*>(GetMemContextBits(ctx));
  for (int i = 0; i < kWidth * kHeight; ++i) {
    bits[i * 4 + 1] = 0x1C;
    bits[i * 4 + 2] = 0x22;
    bits[i * 4 + 3] = 0x2A;
  }
  const Line lines[] = {
      {"Verdana", 12, 400, 0, 0, "Brimlow 12-band EQ: 1.00 kHz, -6.0 dB, Q 0.71"},
      {"Verdana", 12, 700, 0, 0, "Brimlow 12-band EQ: 1.00 kHz, -6.0 dB, Q 0.71"},
      {"Verdana", 12, 400, 1, 0, "Italic: the quick brown fox jumps over"},
      {"Verdana", 12, 400, 0, kFontQualityNonAntialiased, "No anti-aliasing: 20 Hz 200 Hz 2 kHz 20 kHz"},
      {"DejaVu Serif", 18, 400, 0, 0, "Serif 18 px: Kestrelbay \xC3\xA9\xC3\xA0\xC3\xBC \xE2\x82\xAC"},
      {"", 24, 700, 0, 0, "Sans 24 px bold"},
  };
  int y = 6;
  std::vector<std::pair<int, int>> bands;
  for (const Line& l : lines) {
    DrawObject* font = CreateFont(-l.pixels, 0, 0, 0, l.weight, l.italic, 0, 0, 0, 0, 0, l.quality, 0, l.face);
    DrawObject* previous = SelectDrawObject(ctx, font);
    SetDCTextColor(ctx, 0xE8E0C8);
    DrawRect r{8, y, kWidth - 8, kHeight};
    const int h = DrawTextCT(ctx, l.text, -1, &r, kDrawTextNoPrefix);
    EXPECT_GT(h, l.pixels) << l.text;
    EXPECT_LT(h, 3 * l.pixels) << l.text;
    bands.emplace_back(y, y + h);
    y += h + 4;
    SelectDrawObject(ctx, previous);
    DeleteDrawObject(font);
  }
  // A right-aligned, centred label on a background box.
  DrawObject* font = CreateFont(-14, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "Verdana");
  SelectDrawObject(ctx, font);
  SetDCTextColor(ctx, 0x101010);
  SetDCBkMode(ctx, 1);
  SetDCBkColor(ctx, 0xF0B030);
  DrawRect r{8, y, kWidth - 8, kHeight - 4};
  DrawTextCT(ctx, "Output -3.2 dB", -1, &r, kDrawTextNoPrefix | kDrawTextRight | kDrawTextVCenter);
  SelectDrawObject(ctx, DrawObjectType(3));
  DeleteDrawObject(font);

  // Bold inks more than regular; every line left ink.
  const long regular = Ink(bits, kWidth, bands[0].first, bands[0].second);
  const long bold = Ink(bits, kWidth, bands[1].first, bands[1].second);
  EXPECT_GT(bold, regular);
  for (const auto& band : bands) EXPECT_GT(Ink(bits, kWidth, band.first, band.second), 0x1C * kWidth * (band.second - band.first));
  EXPECT_TRUE(WritePNG(std::string(BRIMLOW_TEST_OUTPUT_DIR) + "/text_smoke.png", bits, kWidth, kHeight));
  DeleteDrawContext(ctx);
}

// The cached fonts with a real face: the native path, the glyph path at full
// and half alpha, and the glyph effects. Both paths of one text must cover
// about the same ink.
TEST(TextSmoke, CachedFontsDrawRealTextOnBothPaths) {
  constexpr int kWidth = 420, kHeight = 250;
  LICE_SysBitmap surface(kWidth, kHeight);
  LICE_FillRect(&surface, 0, 0, kWidth, kHeight, LICE_RGBA(0x1C, 0x22, 0x2A, 255), 1.0f, 0);
  struct Row {
    int fontFlags;
    unsigned int drawFlags;
    LICE_pixel color;
    const char* text;
  };
  const LICE_pixel cream = LICE_RGBA(0xE8, 0xE0, 0xC8, 255);
  const Row rows[] = {
      {kFontPreferNative, 0, cream, "Native: 1.00 kHz  -6.0 dB  Q 0.71"},
      {0, 0, cream, "Glyphs: 1.00 kHz  -6.0 dB  Q 0.71"},
      {kFontPreferNative, kDrawTextUseColorAlpha, LICE_RGBA(0xE8, 0xE0, 0xC8, 128), "Half alpha: greyed label"},
      {kFontOutline, 0, cream, "Outline effect"},
      {kFontShadow, 0, cream, "Shadow effect"},
      {kFontMonochrome, 0, cream, "Monochrome glyphs"},
  };
  int y = 6;
  std::vector<long> inks;
  for (const Row& row : rows) {
    LICE_CachedFont font;
    font.SetFromPlatformFont(CreateFont(-14, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "Verdana"),
                             row.fontFlags | kFontOwnsPlatformFont);
    font.SetTextColor(row.color);
    font.SetEffectColor(LICE_RGBA(0xD0, 0x40, 0x30, 255));
    LICE_Rect r{8, y, kWidth - 8, kHeight};
    const int h = font.DrawText(&surface, row.text, -1, &r, row.drawFlags);
    EXPECT_GT(h, 10) << row.text;
    inks.push_back(Ink(reinterpret_cast<const uint8_t*>(surface.getBits()), surface.getRowSpan(), y, y + h));
    y += font.GetLineHeight() + 8;
  }
  {
    LICE_CachedFont vertical;
    vertical.SetFromPlatformFont(CreateFont(-14, 0, 0, 0, 700, 0, 0, 0, 0, 0, 0, 0, 0, "Verdana"),
                                 kFontVertical | kFontBottomUp | kFontOwnsPlatformFont);
    vertical.SetTextColor(cream);
    LICE_Rect r{kWidth - 30, 10, kWidth - 4, kHeight - 10};
    EXPECT_GT(vertical.DrawText(&surface, "Vertical, upwards", -1, &r, kDrawTextBottom), 10);
  }
  // Native and glyph rows hold the same digits: their ink agrees within a tenth.
  EXPECT_NEAR(static_cast<double>(inks[1]) / inks[0], 1.0, 0.1);
  std::vector<uint8_t> rows32(static_cast<size_t>(kWidth) * kHeight * 4);
  for (int row = 0; row < kHeight; ++row) {
    std::memcpy(&rows32[static_cast<size_t>(row) * kWidth * 4], surface.getBits() + row * surface.getRowSpan(), kWidth * 4);
  }
  EXPECT_TRUE(WritePNG(std::string(BRIMLOW_TEST_OUTPUT_DIR) + "/text_smoke_cached.png", rows32.data(), kWidth, kHeight));
}
