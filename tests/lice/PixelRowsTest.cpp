// The blits and fills the editor draws every frame run a few pixels at a
// time; each pixel must still come out exactly as the per-pixel rules say,
// whatever the width, row order, clipping or alpha bytes.

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <vector>

#include "lice/lice.h"
#include "tests/lice/LiceTestSupport.h"

namespace {

using LiceTest::At;
using LiceTest::Channel;
using LiceTest::RefShortcut;

std::unique_ptr<LICE_IBitmap> MakeBitmap(int w, int h, bool flipped) {
  if (flipped) return std::make_unique<LiceTest::FlippedBitmap>(w, h, 5);
  return std::make_unique<LICE_MemBitmap>(w, h, 1);
}

// Random colours whose alpha bytes come in runs of opaque, transparent and
// in-between pixels, so groups of every mixture occur.
void FillMixedAlpha(LICE_IBitmap* bm, unsigned seed) {
  std::mt19937 rng(seed);
  int kind = 0, left = 0;
  for (int y = 0; y < bm->getHeight(); ++y) {
    for (int x = 0; x < bm->getWidth(); ++x) {
      if (left-- <= 0) {
        kind = static_cast<int>(rng() % 3);
        left = static_cast<int>(rng() % 9);
      }
      const LICE_pixel colour = static_cast<LICE_pixel>(rng()) & 0xffffff00u;
      const int a = kind == 0 ? 255 : (kind == 1 ? 0 : static_cast<int>(rng() % 256));
      At(bm, x, y) = colour | static_cast<LICE_pixel>(a);
    }
  }
}

int TruncDiv256(int v) { return v >= 0 ? v / 256 : -((-v) / 256); }

// The source-alpha copy of one pixel, from its rule: alpha byte 0 leaves
// the destination; at full strength an opaque pixel is stored and others
// blend by 255 - a with the alpha byte adding a; otherwise the blend weight
// is ((a + 1) * alpha) / 256 and the alpha byte adds it.
LICE_pixel RefSourceAlphaCopy(LICE_pixel d, LICE_pixel s, int alpha) {
  const int a = Channel(s, 0);
  if (a == 0) return d;
  if (alpha == 256 && a == 255) return s;
  const int weight = alpha == 256 ? a : ((a + 1) * alpha) / 256;
  const int keep = alpha == 256 ? 255 - a : 256 - weight;
  const int da = Channel(d, 0) + weight;
  LICE_pixel out = static_cast<LICE_pixel>(da < 255 ? da : 255);
  for (int i = 1; i < 4; ++i) {
    const int c = Channel(s, i);
    out |= static_cast<LICE_pixel>((c + TruncDiv256((Channel(d, i) - c) * keep)) & 0xff) << (8 * i);
  }
  return out;
}

struct BlitPlacement {
  int dstX, dstY;
  LICE_Rect rect;  // in source coordinates, may reach outside it
};

TEST(PixelRows, SourceAlphaCopyMatchesThePerPixelRule) {
  // Float alpha and the integer alpha it becomes.
  const std::pair<float, int> alphas[] = {{1.0f, 256}, {0.25f, 64}, {0.7f, 179}, {0.004f, 1}, {1.5f, 384}};
  const int widths[] = {1, 3, 4, 5, 7, 8, 13, 31, 40, 67};
  unsigned seed = 1;
  for (const auto& [alpha, ia] : alphas) {
    for (int w : widths) {
      for (int flips = 0; flips < 4; ++flips) {
        const int h = 6;
        auto src = MakeBitmap(w, h, flips & 1);
        auto dest = MakeBitmap(w + 4, h + 2, flips & 2);
        FillMixedAlpha(src.get(), seed++);
        LiceTest::FillRandom(dest.get(), seed++);
        const std::vector<LICE_pixel> before = LiceTest::Pixels(dest.get());
        const int destW = w + 4, destH = h + 2;
        const BlitPlacement placements[] = {
            {0, 0, {0, 0, w, h}},          // whole source
            {3, 1, {0, 0, w, h}},          // cut by the right and bottom edges
            {-2, -1, {0, 0, w, h}},        // cut by the left and top edges
            {1, 2, {1, 1, w + 3, h - 1}},  // a source rectangle past the source
        };
        for (const BlitPlacement& p : placements) {
          for (int y = 0; y < destH; ++y) {
            for (int x = 0; x < destW; ++x) At(dest.get(), x, y) = before[static_cast<size_t>(y) * destW + x];
          }
          LICE_BlitCore(dest.get(), src.get(), p.dstX, p.dstY, &p.rect, alpha, LICE_BLIT_USE_ALPHA);
          for (int y = 0; y < destH; ++y) {
            for (int x = 0; x < destW; ++x) {
              const LICE_pixel d = before[static_cast<size_t>(y) * destW + x];
              const int sx = x - p.dstX + p.rect.left, sy = y - p.dstY + p.rect.top;
              const bool inside =
                  sx >= p.rect.left && sy >= p.rect.top && sx < w && sy < h && sx < p.rect.right && sy < p.rect.bottom;
              const LICE_pixel want = inside ? RefSourceAlphaCopy(d, At(src.get(), sx, sy), ia) : d;
              ASSERT_EQ(At(dest.get(), x, y), want)
                  << "alpha " << alpha << " width " << w << " flips " << flips << " at " << x << "," << y
                  << " placed " << p.dstX << "," << p.dstY;
            }
          }
        }
        if (flips & 1) {
          EXPECT_TRUE(static_cast<LiceTest::FlippedBitmap*>(src.get())->PaddingIntact());
        }
        if (flips & 2) {
          EXPECT_TRUE(static_cast<LiceTest::FlippedBitmap*>(dest.get())->PaddingIntact());
        }
      }
    }
  }
}

// Artwork is mostly whole runs of opaque or transparent pixels, which are
// copied or skipped a group at a time: every group of eight is opaque,
// transparent, or one of them with a single other pixel at each place, and
// the groups fall on every alignment with the destination.
TEST(PixelRows, OpaqueAndTransparentRunsMatchThePerPixelRule) {
  std::mt19937 rng(11);
  const int kinds = 2 + 2 * 8 * 3;  // plain opaque, plain transparent, then (base, place, odd pixel)
  const int w = kinds * 8 + 5, h = 2;
  LICE_MemBitmap src(w, h, 1);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const int group = x / 8, place = x % 8;
      int a = group % 2 == 0 ? 255 : 0;
      if (group >= 2 && group < kinds) {
        const int variant = (group - 2) / 2;
        if (place == variant % 8) a = variant / 8 == 0 ? 128 : (variant / 8 == 1 ? 255 - a : 1);
      }
      At(&src, x, y) = (static_cast<LICE_pixel>(rng()) & 0xffffff00u) | static_cast<LICE_pixel>(a);
    }
  }
  for (int offset = 0; offset < 4; ++offset) {
    LICE_MemBitmap dest(w + 4, h, 1);
    LiceTest::FillRandom(&dest, 100u + static_cast<unsigned>(offset));
    const std::vector<LICE_pixel> before = LiceTest::Pixels(&dest);
    LICE_Blit(&dest, &src, offset, 0, 0, 0, w, h, 1.0f, LICE_BLIT_USE_ALPHA);
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w + 4; ++x) {
        const LICE_pixel d = before[static_cast<size_t>(y) * (w + 4) + x];
        const int sx = x - offset;
        const LICE_pixel want = sx >= 0 && sx < w ? RefSourceAlphaCopy(d, At(&src, sx, y), 256) : d;
        ASSERT_EQ(At(&dest, x, y), want) << "offset " << offset << " at " << x << "," << y;
      }
    }
  }
}

// A bitmap drawn onto itself one pixel along reads pixels the same call has
// already written, in row order from the left, as the per-pixel loop does.
TEST(PixelRows, SourceAlphaCopyOntoItselfReadsWhatItWrote) {
  for (int shift : {1, -1, 3}) {
    for (float alpha : {1.0f, 0.6f}) {
      const int ia = alpha == 1.0f ? 256 : 153;
      const int w = 17, h = 5;
      LICE_MemBitmap bm(w, h, 1);
      FillMixedAlpha(&bm, 77 + shift);
      std::vector<LICE_pixel> want = LiceTest::Pixels(&bm);
      for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
          const int tx = x + shift;
          if (tx < 0 || tx >= w) continue;
          LICE_pixel& d = want[static_cast<size_t>(y) * w + tx];
          d = RefSourceAlphaCopy(d, want[static_cast<size_t>(y) * w + x], ia);
        }
      }
      LICE_Blit(&bm, &bm, shift, 0, 0, 0, w, h, alpha, LICE_BLIT_USE_ALPHA);
      EXPECT_EQ(LiceTest::Pixels(&bm), want) << "shift " << shift << " alpha " << alpha;
    }
  }
}

TEST(PixelRows, CopyFillsMatchThePerPixelRule) {
  // (alpha, colour alpha byte with the source-alpha bit or -1 without, integer alpha)
  struct Case {
    float alpha;
    int colourAlpha;
    int ia;
  };
  const Case cases[] = {{1.0f, -1, 256}, {0.75f, -1, 192}, {0.5f, -1, 128}, {0.25f, -1, 64},
                        {0.3f, -1, 76},  {0.004f, -1, 1},  {0.999f, -1, 255}, {1.0f, 64, 64},
                        {1.0f, 255, 256}, {1.0f, 77, 77},  {0.5f, 200, 100}, {2.0f, -1, 512}};
  const int widths[] = {1, 2, 4, 5, 9, 16, 23};
  std::mt19937 rng(5);
  for (const Case& c : cases) {
    for (int w : widths) {
      for (bool flipped : {false, true}) {
        const int destW = w + 3, destH = 7;
        auto dest = MakeBitmap(destW, destH, flipped);
        LiceTest::FillRandom(dest.get(), static_cast<unsigned>(rng()));
        const std::vector<LICE_pixel> before = LiceTest::Pixels(dest.get());
        LICE_pixel colour = static_cast<LICE_pixel>(rng());
        int mode = LICE_BLIT_MODE_COPY;
        if (c.colourAlpha >= 0) {
          colour = (colour & 0xffffff00u) | static_cast<LICE_pixel>(c.colourAlpha);
          mode |= LICE_BLIT_USE_ALPHA;
        }
        const int fx = -1, fy = 2, fw = w + 1, fh = 9;  // cut by the left and bottom edges
        LICE_FillRect(dest.get(), fx, fy, fw, fh, colour, c.alpha, mode);
        for (int y = 0; y < destH; ++y) {
          for (int x = 0; x < destW; ++x) {
            const LICE_pixel d = before[static_cast<size_t>(y) * destW + x];
            LICE_pixel want = d;
            if (x >= fx && x < fx + fw && y >= fy && y < fy + fh) {
              if (c.ia == 256) {
                want = colour;
              } else if (c.ia == 64 || c.ia == 128 || c.ia == 192) {
                want = RefShortcut(c.ia, d, colour);
              } else {
                want = LiceTest::RefBlend(0, d, colour, c.ia);
              }
            }
            ASSERT_EQ(At(dest.get(), x, y), want)
                << "alpha " << c.alpha << " width " << w << (flipped ? " flipped" : "") << " at " << x << "," << y;
          }
        }
        if (flipped) {
          EXPECT_TRUE(static_cast<LiceTest::FlippedBitmap*>(dest.get())->PaddingIntact());
        }
      }
    }
  }
}

}  // namespace
