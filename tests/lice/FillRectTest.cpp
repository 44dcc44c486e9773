#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <random>
#include <vector>

#include "lice/lice.h"
#include "tests/lice/LiceTestSupport.h"

namespace {

using LiceTest::At;
using LiceTest::RefBlend;

constexpr LICE_pixel kBackground = 0x80402010u;

TEST(FillRect, ClipsToTheBitmap) {
  struct Case {
    int x, y, w, h;
    int x0, y0, x1, y1;  // the pixels expected filled, right and bottom exclusive
  } cases[] = {{-5, 0, 10, 2, 0, 0, 5, 2},    {3, 4, 100, 100, 3, 4, 9, 7}, {-3, -3, 3, 3, 0, 0, 0, 0},
               {9, 0, 1, 1, 0, 0, 0, 0},      {0, 7, 4, 4, 0, 0, 0, 0},     {2, 2, 0, 3, 0, 0, 0, 0},
               {-100, 1, 2147483647, 1, 0, 1, 9, 2}};
  for (const Case& c : cases) {
    LICE_MemBitmap bm(9, 7, 4);
    LiceTest::FillAll(&bm, kBackground);
    LICE_FillRect(&bm, c.x, c.y, c.w, c.h, 0xFFFFFFFFu, 1.0f, 0);
    for (int y = 0; y < 7; ++y) {
      for (int x = 0; x < 9; ++x) {
        const bool in = x >= c.x0 && x < c.x1 && y >= c.y0 && y < c.y1;
        ASSERT_EQ(At(&bm, x, y), in ? 0xFFFFFFFFu : kBackground) << c.x << "," << c.y << " at " << x << "," << y;
      }
    }
  }
}

struct FillModeCase {
  const char* name;
  LICE_pixel dest, color;
  float alpha;
  int mode;
  std::function<LICE_pixel(LICE_pixel, LICE_pixel)> expected;  // empty: unchanged
};

LICE_pixel Bytes(int v) { return LICE_RGBA(v, v, v, v); }
std::function<LICE_pixel(LICE_pixel, LICE_pixel)> Plain(int mode, int alpha) {
  return [mode, alpha](LICE_pixel d, LICE_pixel s) { return RefBlend(mode, d, s, alpha); };
}
std::function<LICE_pixel(LICE_pixel, LICE_pixel)> Constant(LICE_pixel v) {
  return [v](LICE_pixel, LICE_pixel) { return v; };
}

class FillRectModes : public ::testing::TestWithParam<FillModeCase> {};

TEST_P(FillRectModes, EveryPixelGetsTheChosenOperation) {
  const FillModeCase c = GetParam();
  LICE_MemBitmap bm(5, 3, 4);
  LiceTest::FillAll(&bm, c.dest);
  LICE_FillRect(&bm, 0, 0, 5, 3, c.color, c.alpha, c.mode);
  const LICE_pixel want = c.expected ? c.expected(c.dest, c.color) : c.dest;
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x) ASSERT_EQ(At(&bm, x, y), want) << x << "," << y;
  }
}

// The integer alpha is tested against 256, 192, 128 and 64 for the whole-word
// shortcuts; the source-alpha bit only scales alpha by the colour's alpha.
INSTANTIATE_TEST_SUITE_P(
    Cases, FillRectModes,
    ::testing::Values(
        FillModeCase{"Opaque", 0x12345678u, 0x9ABCDEF0u, 1.0f, 0, Constant(0x9ABCDEF0u)},
        // 255 / 4 + 255 / 2 + 0 = 190.
        FillModeCase{"QuarterShortcut", 0xFFFFFFFFu, 0, 0.25f, 0, Constant(Bytes(190))},
        FillModeCase{"ThreeQuarterShortcut", 0, 0xFFFFFFFFu, 0.75f, 0, Constant(Bytes(190))},
        FillModeCase{"HalfShortcut", 0x03030303u, 0x01010101u, 0.5f, 0, Constant(0x01010101u)},
        // Just past 0.5 is still ia 128 here: fills test the integer alpha.
        FillModeCase{"HalfByIntegerAlpha", 0x03030303u, 0x01010101u, 0.5001f, 0, Constant(0x01010101u)},
        FillModeCase{"CopyCombiner", 0x10E0F0A0u, 0x708090FFu, 0.3f, 0, Plain(0, 76)},
        FillModeCase{"CopyNegativeAlpha", 0x10E0F0A0u, 0x708090FFu, -0.3f, 0, nullptr},
        // Alpha byte 128 at 1.0: 128 / 255 in single precision, ia 128, the half shortcut.
        FillModeCase{"SourceAlphaToHalf", 0xFFFFFFFFu, 0x00000080u, 1.0f, 0x10000,
                     Constant(0x7F7F7F7Fu + 0x40u)},
        FillModeCase{"SourceAlphaTransparent", 0xFFFFFFFFu, 0x12345600u, 1.0f, 0x10000, nullptr},
        // Add of (A 0, R 10, G 20, B 30): the colour channels grow, alpha stays.
        FillModeCase{"Add", LICE_RGBA(250, 100, 0, 77), LICE_RGBA(10, 20, 30, 0), 1.0f, 1,
                     Constant(LICE_RGBA(255, 120, 30, 77))},
        FillModeCase{"Dodge", 0x40506070u, 0x11223344u, 0.6f, 2, Plain(2, 153)},
        FillModeCase{"Multiply", 0x40506070u, 0x11223344u, 0.6f, 3, Plain(3, 153)},
        FillModeCase{"Overlay", 0x40506070u, 0x11223344u, 0.6f, 4, Plain(4, 153)},
        FillModeCase{"SourceAlphaMultiply", 0x40506070u, 0x112233FFu, 0.5f, 0x10003, Plain(3, 128)},
        FillModeCase{"HSV", LICE_RGBA(100, 150, 200, 3), LICE_RGBA(128, 128, 128, 9), 1.0f, 5,
                     Constant(LICE_RGBA(100, 148, 200, 9))},
        FillModeCase{"ModeSix", 0x40506070u, 0x11223344u, 1.0f, 6, nullptr},
        FillModeCase{"ZeroAlpha", 0x40506070u, 0x11223344u, 0.0f, 1, nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

// The columns under the analyser's curve: one to three pixels wide at
// every column, even and odd, cut by the top and the bottom or not, in
// bitmaps stored either way up, over random pixels; each pixel as the
// per-pixel rule gives it and none outside touched.
TEST(FillRect, NarrowColumnsMatchThePerPixelRuleAtEveryColumn) {
  struct Case {
    float alpha;
    int mode;
    int ia;
  };
  const Case cases[] = {{0.25f, LICE_BLIT_MODE_COPY, 64}, {0.5f, LICE_BLIT_MODE_COPY, 128},
                        {0.75f, LICE_BLIT_MODE_COPY, 192}, {1.0f, LICE_BLIT_MODE_COPY, 256},
                        {0.3f, LICE_BLIT_MODE_COPY, 76},  {0.6f, LICE_BLIT_MODE_ADD, 153}};
  struct Span {
    int y, h;
  };
  const Span spans[] = {{0, 11}, {-3, 6}, {7, 10}, {-2, 20}, {4, 1}, {5, 0}, {10, 1}};
  const int destW = 9, destH = 11;
  std::mt19937 rng(9);
  for (const Case& c : cases) {
    for (bool flipped : {false, true}) {
      std::unique_ptr<LICE_IBitmap> dest;
      if (flipped) {
        dest = std::make_unique<LiceTest::FlippedBitmap>(destW, destH, 2);
      } else {
        dest = std::make_unique<LICE_MemBitmap>(destW, destH, 1);
      }
      for (int w = 1; w <= 3; ++w) {
        for (int x = -1; x <= destW; ++x) {
          for (const Span& span : spans) {
            LiceTest::FillRandom(dest.get(), static_cast<unsigned>(rng()));
            const std::vector<LICE_pixel> before = LiceTest::Pixels(dest.get());
            const LICE_pixel colour = static_cast<LICE_pixel>(rng());
            LICE_FillRect(dest.get(), x, span.y, w, span.h, colour, c.alpha, c.mode);
            for (int py = 0; py < destH; ++py) {
              for (int px = 0; px < destW; ++px) {
                const LICE_pixel d = before[static_cast<size_t>(py) * destW + px];
                LICE_pixel want = d;
                if (px >= x && px < x + w && py >= span.y && py < span.y + span.h) {
                  if (c.mode != LICE_BLIT_MODE_COPY) {
                    want = RefBlend(c.mode, d, colour, c.ia);
                  } else if (c.ia == 256) {
                    want = colour;
                  } else if (c.ia == 64 || c.ia == 128 || c.ia == 192) {
                    want = LiceTest::RefShortcut(c.ia, d, colour);
                  } else {
                    want = RefBlend(0, d, colour, c.ia);
                  }
                }
                ASSERT_EQ(At(dest.get(), px, py), want)
                    << "alpha " << c.alpha << " mode " << c.mode << (flipped ? " flipped" : "") << " column " << x
                    << " width " << w << " rows " << span.y << "+" << span.h << " at " << px << "," << py;
              }
            }
          }
        }
      }
      if (flipped) {
        EXPECT_TRUE(static_cast<LiceTest::FlippedBitmap*>(dest.get())->PaddingIntact());
      }
    }
  }
}

TEST(FillRect, NullBitmapOrPixelsDrawNothing) {
  LICE_FillRect(nullptr, 0, 0, 4, 4, 0xFFFFFFFFu, 1.0f, 0);
  LICE_SysBitmap noPixels(0, 4);  // a height but no pixels
  LICE_FillRect(&noPixels, 0, 0, 4, 4, 0xFFFFFFFFu, 1.0f, 0);
  LICE_MemBitmap empty;
  LICE_FillRect(&empty, 0, 0, 4, 4, 0xFFFFFFFFu, 1.0f, 0);
  EXPECT_EQ(empty.getBits(), nullptr);
}

}  // namespace
