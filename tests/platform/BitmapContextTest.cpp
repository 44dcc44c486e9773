#include "platform/coregraphics/BitmapContext.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

struct Pixels {
  int width, height;
  std::vector<unsigned char> bytes;
  Pixels(int w, int h) : width(w), height(h), bytes(static_cast<size_t>(w) * h * 4, 0x10) {}
  unsigned char* At(int x, int y) { return &bytes[(static_cast<size_t>(y) * width + x) * 4]; }
};

}  // namespace

TEST(BitmapContext, OnlyEightBitPixelsWithASkippedFirstByteAreAccepted) {
  Pixels p(4, 3);
  platform::ColorSpace* rgb = platform::DeviceRGBColorSpace();
  struct Case {
    void* pixels;
    int width, height, bits;
    size_t rowBytes;
    platform::ColorSpace* space;
    int alphaInfo;
    bool ok;
  };
  for (const Case& c : {Case{p.bytes.data(), 4, 3, 8, 16, rgb, 6, true},
                        Case{p.bytes.data(), 3, 3, 8, 16, rgb, 6, true},  // padded rows
                        Case{p.bytes.data(), 4, 3, 8, 15, rgb, 6, false},
                        Case{p.bytes.data(), 4, 3, 16, 16, rgb, 6, false},
                        Case{p.bytes.data(), 4, 3, 8, 16, rgb, 1, false},
                        Case{p.bytes.data(), 4, 3, 8, 16, nullptr, 6, false},
                        Case{p.bytes.data(), 0, 3, 8, 16, rgb, 6, false},
                        Case{p.bytes.data(), 4, -1, 8, 16, rgb, 6, false},
                        Case{nullptr, 4, 3, 8, 16, rgb, 6, false}}) {
    platform::BitmapContext* ctx =
        platform::CreateBitmapContext(c.pixels, c.width, c.height, c.bits, c.rowBytes, c.space, c.alphaInfo);
    EXPECT_EQ(ctx != nullptr, c.ok) << c.width << "x" << c.height << " bits " << c.bits << " row "
                                    << c.rowBytes << " alpha " << c.alphaInfo;
    platform::ReleaseBitmapContext(ctx);
  }
}

TEST(BitmapContext, BlendsColourBytesByCoverageAndLeavesTheFirstByte) {
  Pixels p(2, 1);
  platform::BitmapContext ctx(p.bytes.data(), 2, 1, 8);
  struct Case {
    int d, c, coverage;
  };
  for (const Case& k : {Case{0, 255, 255}, Case{0, 255, 96}, Case{200, 10, 128}, Case{255, 0, 1},
                        Case{17, 17, 200}, Case{100, 250, 0}}) {
    p.At(0, 0)[0] = 0x5A;
    p.At(0, 0)[1] = p.At(0, 0)[2] = p.At(0, 0)[3] = static_cast<unsigned char>(k.d);
    const unsigned char rgb[3] = {static_cast<unsigned char>(k.c), static_cast<unsigned char>(k.c),
                                  static_cast<unsigned char>(k.c)};
    ctx.BlendPixel(0, 0, rgb, k.coverage);
    const int expected = k.d + (k.c - k.d) * k.coverage / 255;  // truncating toward zero
    EXPECT_EQ(p.At(0, 0)[1], expected) << k.d << " " << k.c << " " << k.coverage;
    EXPECT_EQ(p.At(0, 0)[3], expected);
    EXPECT_EQ(p.At(0, 0)[0], 0x5A);
  }
}

// A glyph's row of coverages blends each pixel as the rule says, over
// random pixels, with runs cut by every side of the clip or outside it.
TEST(BitmapContext, ARowOfCoveragesBlendsEachPixelInsideTheClip) {
  const int w = 13, h = 5;
  std::mt19937 rng(4);
  struct Run {
    int x, y, n;
  };
  const Run runs[] = {{0, 0, 13}, {-4, 1, 9}, {9, 2, 10}, {-3, 3, 20}, {3, 4, 0}, {5, 2, 1}, {-9, 1, 5}, {14, 1, 3},
                      {2, -1, 5}, {2, 5, 5}};
  for (const Run& r : runs) {
    Pixels p(w, h);
    for (unsigned char& b : p.bytes) b = static_cast<unsigned char>(rng());
    const std::vector<unsigned char> before = p.bytes;
    platform::BitmapContext ctx(p.bytes.data(), w, h, static_cast<size_t>(w) * 4);
    ctx.ClipToRect(1, 0, 10, 4);
    const platform::PixelRect clip = ctx.Clip();
    ASSERT_EQ(clip.left, 1);
    ASSERT_EQ(clip.right, 11);
    ASSERT_EQ(clip.bottom - clip.top, 4);
    std::vector<unsigned char> coverage(static_cast<size_t>(r.n));
    for (unsigned char& k : coverage) k = rng() % 3 == 0 ? 0 : static_cast<unsigned char>(rng());
    const unsigned char rgb[3] = {static_cast<unsigned char>(rng()), static_cast<unsigned char>(rng()),
                                  static_cast<unsigned char>(rng())};
    ctx.BlendRow(r.x, r.y, coverage.data(), r.n, rgb);
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        const size_t at = (static_cast<size_t>(y) * w + x) * 4;
        const bool in = y == r.y && x >= r.x && x < r.x + r.n && x >= clip.left && x < clip.right &&
                        y >= clip.top && y < clip.bottom;
        for (int i = 0; i < 4; ++i) {
          int want = before[at + i];
          if (in && i > 0) {
            const int k = coverage[static_cast<size_t>(x - r.x)];
            want = want + (rgb[i - 1] - want) * k / 255;
          }
          ASSERT_EQ(p.bytes[at + i], want) << "run " << r.x << "," << r.y << "+" << r.n << " at " << x << "," << y
                                           << " byte " << i;
        }
      }
    }
  }
}

// Every destination byte, colour byte and coverage, two pixels at a time
// and one, against the rule.
TEST(BitmapContext, ARowOfCoveragesBlendsEveryByteAndCoverageByTheRule) {
  const int w = 257;  // every coverage, then one pixel on its own
  std::vector<unsigned char> coverage(w);
  for (int k = 0; k < w; ++k) coverage[static_cast<size_t>(k)] = static_cast<unsigned char>(k % 256);
  Pixels p(w, 1);
  platform::BitmapContext ctx(p.bytes.data(), w, 1, static_cast<size_t>(w) * 4);
  for (int d = 0; d < 256; ++d) {
    for (int c = 0; c < 256; ++c) {
      for (int x = 0; x < w; ++x) {
        p.At(x, 0)[0] = static_cast<unsigned char>(x);
        p.At(x, 0)[1] = static_cast<unsigned char>(d);
        p.At(x, 0)[2] = static_cast<unsigned char>(255 - d);
        p.At(x, 0)[3] = static_cast<unsigned char>(d ^ 0x55);
      }
      const unsigned char rgb[3] = {static_cast<unsigned char>(c), static_cast<unsigned char>(c ^ 0xa3),
                                    static_cast<unsigned char>(255 - c)};
      ctx.BlendRow(0, 0, coverage.data(), w, rgb);
      for (int x = 0; x < w; ++x) {
        const int k = coverage[static_cast<size_t>(x)];
        const int before[3] = {d, 255 - d, d ^ 0x55};
        ASSERT_EQ(p.At(x, 0)[0], static_cast<unsigned char>(x));
        for (int i = 0; i < 3; ++i) {
          ASSERT_EQ(p.At(x, 0)[1 + i], before[i] + (rgb[i] - before[i]) * k / 255)
              << "d " << before[i] << " c " << int(rgb[i]) << " coverage " << k;
        }
      }
    }
  }
}

TEST(BitmapContext, FillsWholePixelsInsideTheSavedAndRestoredClip) {
  Pixels p(8, 6);
  platform::BitmapContext ctx(p.bytes.data(), 8, 6, 32);
  const platform::Color red{1.0, 0.0, 0.0, 1.0};
  ctx.SaveState();
  ctx.ClipToRect(2, 1, 4, 3);   // columns 2-5, rows 1-3
  ctx.ClipToRect(0, 2, 10, 10); // narrows to rows 2-3
  ctx.FillRect(red, 1.4, 0, 3.2, 6);  // centres inside: columns 1-4
  ctx.RestoreState();
  ctx.FillRect(platform::Color{0.0, 0.0, 1.0, 1.0}, 7, 5, 4, 4);  // cut by the buffer only
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 8; ++x) {
      const bool red = x >= 2 && x <= 4 && y >= 2 && y <= 3;
      const bool blue = x == 7 && y == 5;
      EXPECT_EQ(p.At(x, y)[0], 0x10) << x << "," << y;
      EXPECT_EQ(p.At(x, y)[1], red ? 255 : blue ? 0 : 0x10) << x << "," << y;
      EXPECT_EQ(p.At(x, y)[3], blue ? 255 : red ? 0 : 0x10) << x << "," << y;
    }
  }
}
