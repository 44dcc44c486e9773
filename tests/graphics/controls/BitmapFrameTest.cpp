#include "graphics/controls/BitmapFrame.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

TEST(BitmapFrame, TheValueIsRoundedToTheNearestOfTheFrames) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const struct {
    int frames;
    double value;
    int frame;
  } rows[] = {
      {101, 0.504, 51},  // 100 x 0.504 + 0.5 = 50.9, so index 50
      {101, 0.0, 1},     {101, 1.0, 101}, {101, -0.2, 1}, {101, 1.2, 101}, {101, nan, 1},
      {2, 0.49, 1},      {2, 0.5, 2},     {3, 0.74, 2},   {3, 0.75, 3},
      {1, 0.9, 1},  // a single frame, or none, is always frame 1
      {0, 0.9, 1},       {16, 1e300, 16}, {16, -1e300, 1},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(BitmapFrame::ForValue(r.value, r.frames), r.frame) << r.frames << " frames at " << r.value;
  }
}

IBitmap Bitmap(int w, int h, int n, bool horizontal, double scale) {
  IBitmap b;
  b.mW = w;
  b.mH = h;
  b.mN = n;
  b.mFramesAreHorizontal = horizontal;
  b.mScaleX = b.mScaleY = scale;
  return b;
}

TEST(BitmapFrame, AControlIsOneFrameOfItsBitmapAtFullScale) {
  const struct {
    IBitmap bitmap;
    IRECT rect;
  } rows[] = {
      // 60 / 2 = 30 wide; 44 / 2 = 22 high in two frames of 11.
      {Bitmap(60, 44, 2, false, 2.0), IRECT(5, 7, 35, 18)},
      {Bitmap(61, 45, 2, false, 2.0), IRECT(5, 7, 35, 18)},  // each division truncated
      {Bitmap(60, 44, 3, true, 2.0), IRECT(5, 7, 15, 29)},
      {Bitmap(60, 44, 1, false, 1.0), IRECT(5, 7, 65, 51)},
      // A resolution that cannot divide counts pixels one to one.
      {Bitmap(60, 44, 1, false, 0.0), IRECT(5, 7, 65, 51)},
      {IBitmap(), IRECT(5, 7, 5, 7)},
  };
  for (const auto& r : rows) {
    const IRECTResize d = BitmapFrame::FrameRECT(5, 7, &r.bitmap);
    EXPECT_EQ(d.UnscaledRECT(), r.rect) << r.bitmap.mW << "x" << r.bitmap.mH << "/" << r.bitmap.mN;
    EXPECT_EQ(d.mForm, IRECTResize::kFormXYWH);
    for (const IRECTp* cell : {&d.mX, &d.mY, &d.mW, &d.mH}) EXPECT_EQ(cell->mMode, kAnchorScaled);
  }
  EXPECT_EQ(BitmapFrame::FrameRECT(5, 7, nullptr).UnscaledRECT(), IRECT(5, 7, 5, 7));
}

TEST(BitmapFrame, TheLevelDrawnStaysWithinTheRange) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double rows[][2] = {{0.25, 0.25}, {-0.5, 0.0}, {1.5, 1.0}, {nan, 0.0}, {1.0, 1.0}};
  for (const auto& r : rows) EXPECT_EQ(BitmapFrame::DrawnLevel(r[0]), r[1]) << r[0];
}

}  // namespace
