#include "graphics/controls/BitmapFrame.h"

#include "graphics/IGraphics.h"
#include "graphics/controls/ControlScaling.h"

using ControlScaling::TruncToInt;

namespace {

// Bitmap pixels to editor pixels at 100 % GUI scale. A resolution that is
// not positive cannot divide: the pixels count one to one.
int Unscaled(int pixels, double resolution) {
  return resolution > 0.0 ? TruncToInt(pixels / resolution) : pixels;
}

}  // namespace

namespace BitmapFrame {

IRECTResize FrameRECT(int x, int y, const IBitmap* bitmap) {
  int w = 0;
  int h = 0;
  if (bitmap) {
    w = Unscaled(bitmap->mW, bitmap->mScaleX);
    h = Unscaled(bitmap->mH, bitmap->mScaleY);
    const int n = bitmap->mN > 1 ? bitmap->mN : 1;
    if (bitmap->mFramesAreHorizontal) {
      w /= n;
    } else {
      h /= n;
    }
  }
  return IRECTResize::Scaled(IRECT(x, y, x + w, y + h));
}

int ForValue(double value, int nFrames) {
  if (nFrames < 2) return 1;
  // Compared as a double before any cast: the comparison also sends a NaN
  // to frame 1.
  const double k = (nFrames - 1) * value + 0.5;
  if (!(k >= 1.0)) return 1;
  if (k >= nFrames) return nFrames;
  return static_cast<int>(k) + 1;
}

IBitmap Rescaled(IGraphics* graphics, const IBitmap& unscaled, double scaleX, double scaleY) {
  if (!graphics) return unscaled;
  const int w = TruncToInt(Unscaled(unscaled.mW, unscaled.mScaleX) * scaleX);
  const int h = TruncToInt(Unscaled(unscaled.mH, unscaled.mScaleY) * scaleY);
  return graphics->ScaleBitmap(&unscaled, w, h);
}

}  // namespace BitmapFrame
