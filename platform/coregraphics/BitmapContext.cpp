#include "platform/coregraphics/BitmapContext.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace platform {

struct ColorSpace {
  int unused;
};

ColorSpace* DeviceRGBColorSpace() {
  static ColorSpace deviceRGB{0};
  return &deviceRGB;
}

Color* CreateColor(ColorSpace* space, const double components[4]) {
  if (!space || !components) return nullptr;
  return new Color{components[0], components[1], components[2], components[3]};
}

void ReleaseColor(Color* color) { delete color; }

unsigned char ComponentByte(double component) {
  if (!(component > 0.0)) return 0;  // NaN too
  if (component >= 1.0) return 255;
  return static_cast<unsigned char>(std::floor(component * 255.0 + 0.5));
}

BitmapContext::BitmapContext(unsigned char* pixels, int width, int height, size_t bytesPerRow)
    : mPixels(pixels),
      mWidth(width),
      mHeight(height),
      mBytesPerRow(bytesPerRow),
      mState{PixelRect{0, 0, width, height}, true} {}

void BitmapContext::SaveState() { mSaved.push_back(mState); }

void BitmapContext::RestoreState() {
  if (mSaved.empty()) return;
  mState = mSaved.back();
  mSaved.pop_back();
}

// A pixel belongs to a rectangle when its centre does; for whole-pixel
// rectangles that is exactly the pixels it spans.
PixelRect BitmapContext::DeviceRect(double x, double y, double width, double height) const {
  auto edge = [](double v) {
    const double e = std::floor(v + 0.5);
    if (!(e > -1e9)) return -1000000000;  // NaN and far left
    if (e > 1e9) return 1000000000;
    return static_cast<int>(e);
  };
  double x0 = x, x1 = x + width, y0 = y, y1 = y + height;
  if (x1 < x0) std::swap(x0, x1);
  if (y1 < y0) std::swap(y0, y1);
  return PixelRect{edge(x0), edge(y0), edge(x1), edge(y1)};
}

void BitmapContext::ClipToRect(double x, double y, double width, double height) {
  const PixelRect r = DeviceRect(x, y, width, height);
  PixelRect& c = mState.clip;
  c.left = std::max(c.left, r.left);
  c.top = std::max(c.top, r.top);
  c.right = std::min(c.right, r.right);
  c.bottom = std::min(c.bottom, r.bottom);
}

void BitmapContext::FillRect(const Color& color, double x, double y, double width, double height) {
  const PixelRect r = DeviceRect(x, y, width, height);
  const PixelRect& c = mState.clip;
  const int left = std::max(r.left, c.left), right = std::min(r.right, c.right);
  const int top = std::max(r.top, c.top), bottom = std::min(r.bottom, c.bottom);
  const unsigned char rgb[3] = {ComponentByte(color.red), ComponentByte(color.green),
                                ComponentByte(color.blue)};
  const int weight = ComponentByte(color.alpha);
  for (int py = top; py < bottom; ++py) {
    for (int px = left; px < right; ++px) BlendPixel(px, py, rgb, weight);
  }
}

void BitmapContext::BlendPixel(int x, int y, const unsigned char rgb[3], int coverage) {
  const PixelRect& c = mState.clip;
  if (x < c.left || x >= c.right || y < c.top || y >= c.bottom || coverage <= 0) return;
  unsigned char* p = mPixels + static_cast<size_t>(y) * mBytesPerRow + static_cast<size_t>(x) * 4;
  for (int i = 0; i < 3; ++i) {
    const int d = p[1 + i];
    p[1 + i] = static_cast<unsigned char>(d + (rgb[i] - d) * coverage / 255);
  }
}

void BitmapContext::BlendRow(int x, int y, const unsigned char* coverage, int n, const unsigned char rgb[3]) {
  const PixelRect& c = mState.clip;
  if (y < c.top || y >= c.bottom) return;
  // In 64 bits: a run far off to either side must not wrap.
  const int from = static_cast<int>(std::max<int64_t>(0, static_cast<int64_t>(c.left) - x));
  const int to = static_cast<int>(std::min<int64_t>(n, static_cast<int64_t>(c.right) - x));
  if (from >= to) return;
  unsigned char* p = mPixels + static_cast<size_t>(y) * mBytesPerRow + static_cast<size_t>(x + from) * 4;
  for (int i = from; i < to; ++i, p += 4) {
    const int k = coverage[i];
    if (k == 0) continue;
    for (int j = 0; j < 3; ++j) {
      const int d = p[1 + j];
      p[1 + j] = static_cast<unsigned char>(d + (rgb[j] - d) * k / 255);
    }
  }
}

BitmapContext* CreateBitmapContext(void* pixels, int width, int height, int bitsPerComponent,
                                   size_t bytesPerRow, ColorSpace* space, int alphaInfo) {
  if (!pixels || width < 1 || height < 1 || bitsPerComponent != 8 || !space ||
      alphaInfo != kAlphaNoneSkipFirst || bytesPerRow / 4 < static_cast<size_t>(width)) {
    return nullptr;
  }
  return new BitmapContext(static_cast<unsigned char*>(pixels), width, height, bytesPerRow);
}

void ReleaseBitmapContext(BitmapContext* context) { delete context; }

}  // namespace platform
