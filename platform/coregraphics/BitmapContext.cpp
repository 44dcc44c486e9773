#include "platform/coregraphics/BitmapContext.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

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
  int i = from;
#ifdef __SSE2__
  // Two pixels a step in 16-bit lanes: |c - d| * k < 2^16, and the quotient
  // by 255 of such a product is (product * 0x8081) >> 23 exactly; the sign
  // comes back after, so it truncates toward zero. The first byte's lane
  // gets weight 0 and stays.
  const __m128i zero = _mm_setzero_si128();
  const __m128i colour = _mm_set_epi16(rgb[2], rgb[1], rgb[0], 0, rgb[2], rgb[1], rgb[0], 0);
  const __m128i colourLanes = _mm_set_epi16(-1, -1, -1, 0, -1, -1, -1, 0);
  const __m128i reciprocal = _mm_set1_epi16(static_cast<short>(0x8081));
  for (; i + 2 <= to; i += 2, p += 8) {
    const int k0 = coverage[i], k1 = coverage[i + 1];
    if ((k0 | k1) == 0) continue;
    const __m128i weight = _mm_and_si128(_mm_set_epi16(static_cast<short>(k1), static_cast<short>(k1),
                                                       static_cast<short>(k1), static_cast<short>(k1),
                                                       static_cast<short>(k0), static_cast<short>(k0),
                                                       static_cast<short>(k0), static_cast<short>(k0)),
                                         colourLanes);
    const __m128i d = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)), zero);
    const __m128i diff = _mm_sub_epi16(colour, d);
    const __m128i negative = _mm_cmpgt_epi16(zero, diff);
    const __m128i magnitude = _mm_sub_epi16(_mm_xor_si128(diff, negative), negative);
    const __m128i q = _mm_srli_epi16(_mm_mulhi_epu16(_mm_mullo_epi16(magnitude, weight), reciprocal), 7);
    const __m128i v = _mm_add_epi16(d, _mm_sub_epi16(_mm_xor_si128(q, negative), negative));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(p), _mm_packus_epi16(v, zero));
  }
#endif
  for (; i < to; ++i, p += 4) {
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
