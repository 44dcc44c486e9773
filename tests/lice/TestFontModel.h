#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

// What the tests know of the deterministic test font, written down from its
// description rather than taken from the code, and a painter that draws
// expected pictures with it.
struct TestFontModel {
  int ascent, descent, advance, boxWidth;
  explicit TestFontModel(int pixels)
      : ascent(3 * pixels / 4),
        descent(pixels - 3 * pixels / 4),
        advance(pixels / 2),
        boxWidth(std::max(1, pixels / 2 - 1)) {}
  // One line of a measured text: floor(a + d + l + 1.5) with l = 0.
  int LineHeight() const { return ascent + descent + 1; }
  // A measured text of that many lines: the lines plus 1.
  int TextHeight(int lines) const { return lines * LineHeight() + 1; }
  // What a drawn line moves the next one down: floor(a + d + l + 0.5).
  int LineStep() const { return ascent + descent; }
};

constexpr int kCornerCoverage = 96;

struct ClipBox {
  int left, top, right, bottom;
};

// Pixels of four bytes, X then R, G, B, rows top to bottom, no padding.
class TestImage {
 public:
  TestImage(int width, int height, uint8_t fill = 0x11)
      : mWidth(width), mHeight(height), mBytes(static_cast<size_t>(width) * height * 4, fill) {}
  TestImage(int width, int height, const void* bytes)
      : mWidth(width), mHeight(height), mBytes(static_cast<size_t>(width) * height * 4) {
    std::memcpy(mBytes.data(), bytes, mBytes.size());
  }

  int Width() const { return mWidth; }
  int Height() const { return mHeight; }
  uint8_t* Data() { return mBytes.data(); }
  uint8_t* At(int x, int y) { return &mBytes[(static_cast<size_t>(y) * mWidth + x) * 4]; }
  const std::vector<uint8_t>& Bytes() const { return mBytes; }

  // d + (c - d) * coverage / 255 on bytes 1-3.
  void Blend(int x, int y, const uint8_t rgb[3], int coverage, const ClipBox& clip) {
    if (x < std::max(0, clip.left) || y < std::max(0, clip.top) ||
        x >= std::min(mWidth, clip.right) || y >= std::min(mHeight, clip.bottom) || coverage <= 0) {
      return;
    }
    uint8_t* p = At(x, y);
    for (int i = 0; i < 3; ++i) p[1 + i] = static_cast<uint8_t>(p[1 + i] + (rgb[i] - p[1 + i]) * coverage / 255);
  }
  void FillBox(int left, int top, int right, int bottom, const uint8_t rgb[3], const ClipBox& clip) {
    for (int y = top; y < bottom; ++y) {
      for (int x = left; x < right; ++x) Blend(x, y, rgb, 255, clip);
    }
  }
  // The copy combiner with weight w: c + ((d - c) * (256 - w)) / 256 on all
  // four bytes, the source's A being 255.
  void CopyBlend(int x, int y, const uint8_t rgb[3], int weight, const ClipBox& clip) {
    if (x < std::max(0, clip.left) || y < std::max(0, clip.top) ||
        x >= std::min(mWidth, clip.right) || y >= std::min(mHeight, clip.bottom)) {
      return;
    }
    uint8_t* p = At(x, y);
    const int src[4] = {255, rgb[0], rgb[1], rgb[2]};
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(src[i] + ((p[i] - src[i]) * (256 - weight)) / 256);
  }
  // The glyph path's picture of count boxes with the top-left of the first
  // glyph image at (x, top): weight coverage + 1 at integer alpha 256,
  // else min(256, coverage * alpha / 256).
  void PaintCachedGlyphs(const TestFontModel& f, int count, int x, int top, const uint8_t rgb[3],
                         const ClipBox& clip, int alpha = 256) {
    for (int g = 0; g < count; ++g) {
      for (int row = 0; row < f.ascent + f.descent; ++row) {
        for (int col = 0; col < f.boxWidth; ++col) {
          const int coverage = row == 0 && col == 0 ? kCornerCoverage : 255;
          const int weight = alpha == 256 ? coverage + 1 : std::min(256, coverage * alpha / 256);
          if (alpha >= 1) CopyBlend(x + g * f.advance + col, top + row, rgb, weight, clip);
        }
      }
    }
  }
  // count boxes of the test font with the pen starting at x on the baseline.
  void PaintGlyphs(const TestFontModel& f, int count, int x, int baseline, const uint8_t rgb[3],
                   const ClipBox& clip, bool antialias = true) {
    for (int g = 0; g < count; ++g) {
      const int left = x + g * f.advance;
      for (int row = 0; row < f.ascent + f.descent; ++row) {
        for (int col = 0; col < f.boxWidth; ++col) {
          const int coverage = row == 0 && col == 0 ? (antialias ? kCornerCoverage : 0) : 255;
          Blend(left + col, baseline - f.ascent + row, rgb, coverage, clip);
        }
      }
    }
  }

 private:
  int mWidth, mHeight;
  std::vector<uint8_t> mBytes;
};

inline void RGBOf(int color, uint8_t rgb[3]) {
  rgb[0] = static_cast<uint8_t>(color >> 16);
  rgb[1] = static_cast<uint8_t>(color >> 8);
  rgb[2] = static_cast<uint8_t>(color);
}

// Equal pictures, or where the first difference lies and how many pixels differ.
inline ::testing::AssertionResult SameImage(const TestImage& actual, const TestImage& expected) {
  if (actual.Bytes() == expected.Bytes()) return ::testing::AssertionSuccess();
  if (actual.Width() != expected.Width() || actual.Height() != expected.Height()) {
    return ::testing::AssertionFailure() << "sizes differ";
  }
  int differing = 0;
  std::string first;
  for (size_t i = 0; i < actual.Bytes().size(); i += 4) {
    if (std::memcmp(&actual.Bytes()[i], &expected.Bytes()[i], 4) == 0) continue;
    if (differing++ == 0) {
      const int p = static_cast<int>(i / 4);
      char text[160];
      std::snprintf(text, sizeof text, "pixel (%d, %d) is %02x %02x %02x %02x, expected %02x %02x %02x %02x",
                    p % actual.Width(), p / actual.Width(), actual.Bytes()[i], actual.Bytes()[i + 1],
                    actual.Bytes()[i + 2], actual.Bytes()[i + 3], expected.Bytes()[i],
                    expected.Bytes()[i + 1], expected.Bytes()[i + 2], expected.Bytes()[i + 3]);
      first = text;
    }
  }
  return ::testing::AssertionFailure() << differing << " pixels differ; " << first;
}
