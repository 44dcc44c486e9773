#include "graphics/controls/IBitmapControlExt.h"

#include "tests/graphics/controls/ControlsFixture.h"

namespace {

// The editor's picture with the source rectangle of the positions bitmap
// that starts at (0, srcY) copied to dest, the rest clear.
std::vector<LICE_pixel> WithBlit(const IRECT& dest, int srcY, int width, int height) {
  std::vector<LICE_pixel> pixels(static_cast<size_t>(width) * height, kClear);
  for (int y = dest.T; y < dest.B; ++y) {
    for (int x = dest.L; x < dest.R; ++x) pixels[y * width + x] = PositionPixel(x - dest.L, srcY + y - dest.T);
  }
  return pixels;
}

struct FrameCase {
  double value;
  int frame;
};

class BitmapDisplay : public ControlsFixture, public ::testing::WithParamInterface<FrameCase> {};

// 101 frames stacked in 400 rows: each frame is 400 / 101 = 3 rows high,
// and frame f starts at row (f - 1) x 400 / 101, rounded.
TEST_P(BitmapDisplay, ShowsTheFrameItsValueSelects) {
  IBitmap bitmap = graphics->LoadBitmap(kPositions, "positions.png", 101);
  auto* display = Attach(new IBitmapControlExt(&plug, 30, 20, &bitmap));
  EXPECT_EQ(display->GetRECT(), IRECT(30, 20, 70, 23));
  EXPECT_EQ(display->ParamIdx(), -1);

  graphics->SetControlFromPlug(0, GetParam().value);
  const int srcY = static_cast<int>((GetParam().frame - 1) * 400.0 / 101 + 0.5);
  EXPECT_TRUE(SamePicture(Drawn(), WithBlit(display->GetRECT(), srcY, kWidth, kHeight), kWidth));
}

INSTANTIATE_TEST_SUITE_P(Values, BitmapDisplay,
                         ::testing::Values(FrameCase{0.504, 51}, FrameCase{0.0, 1}, FrameCase{-0.2, 1},
                                           FrameCase{1.0, 101}, FrameCase{0.996, 101}));

TEST_F(ControlsFixture, AGreyedBitmapDisplayDrawsAtAQuarterWeight) {
  IBitmap bitmap = graphics->LoadBitmap(kPositions, "positions.png", 4);
  auto* display = Attach(new IBitmapControlExt(&plug, 0, 0, &bitmap));
  display->GrayOut(true);
  const std::vector<LICE_pixel> drawn = Drawn();
  // Copy with source alpha at integer alpha 64: an opaque source moves the
  // destination a quarter of the way, (256 * 64) / 256 = 64 of 256.
  for (int y = 0; y < 100; y += 7) {
    for (int x = 0; x < 40; x += 3) {
      const LICE_pixel s = PositionPixel(x, y);
      const auto mix = [](int d, int c) { return c + ((d - c) * 192) / 256; };
      const LICE_pixel want = LICE_RGBA(mix(LICE_GETR(kClear), LICE_GETR(s)), mix(LICE_GETG(kClear), LICE_GETG(s)),
                                        mix(LICE_GETB(kClear), LICE_GETB(s)), LICE_GETA(kClear) + 64);
      ASSERT_EQ(drawn[y * kWidth + x], want) << x << "," << y;
    }
  }
  EXPECT_EQ(drawn[100 * kWidth], kClear);
}

}  // namespace
