#pragma once

#include <cstdint>
#include <random>
#include <vector>

#include "lice/lice.h"

namespace LiceTest {

constexpr LICE_pixel kPadding = 0xA5C3E17Bu;

// A bitmap stored bottom-up (logical row y at memory row height - 1 - y),
// as a platform surface may be, with padding past each row and a row of
// padding before and after the pixels. Drawing must never touch the
// padding: PaddingIntact() says whether it did.
class FlippedBitmap : public LICE_IBitmap {
 public:
  FlippedBitmap(int width, int height, int padding = 3)
      : mWidth(width), mHeight(height), mSpan(width + padding),
        mBlock(static_cast<size_t>(mSpan) * (height + 2), kPadding) {
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) Row(y)[x] = 0;
    }
  }
  LICE_pixel* getBits() override { return mBlock.data() + mSpan; }
  int getWidth() const override { return mWidth; }
  int getHeight() const override { return mHeight; }
  int getRowSpan() const override { return mSpan; }
  bool isFlipped() const override { return true; }
  bool resize(int, int) override { return false; }
  DrawContext* getDC() override { return nullptr; }
  int Extended(int, void*) override { return 0; }

  bool PaddingIntact() const {
    for (size_t i = 0; i < mBlock.size(); ++i) {
      const long row = static_cast<long>(i / mSpan) - 1;
      const long col = static_cast<long>(i % mSpan);
      const bool pixel = row >= 0 && row < mHeight && col < mWidth;
      if (!pixel && mBlock[i] != kPadding) return false;
    }
    return true;
  }

 private:
  LICE_pixel* Row(int y) { return mBlock.data() + static_cast<size_t>(mSpan) * (mHeight - y); }

  int mWidth, mHeight, mSpan;
  std::vector<LICE_pixel> mBlock;
};

// Logical pixel (x, y), whatever the row order.
inline LICE_pixel& At(LICE_IBitmap* bm, int x, int y) {
  const int row = bm->isFlipped() ? bm->getHeight() - 1 - y : y;
  return bm->getBits()[static_cast<ptrdiff_t>(row) * bm->getRowSpan() + x];
}

inline void FillAll(LICE_IBitmap* bm, LICE_pixel v) {
  for (int y = 0; y < bm->getHeight(); ++y) {
    for (int x = 0; x < bm->getWidth(); ++x) At(bm, x, y) = v;
  }
}

// Every logical pixel, top row first.
inline std::vector<LICE_pixel> Pixels(LICE_IBitmap* bm) {
  std::vector<LICE_pixel> out;
  for (int y = 0; y < bm->getHeight(); ++y) {
    for (int x = 0; x < bm->getWidth(); ++x) out.push_back(At(bm, x, y));
  }
  return out;
}

inline void FillRandom(LICE_IBitmap* bm, unsigned seed) {
  std::mt19937 rng(seed);
  for (int y = 0; y < bm->getHeight(); ++y) {
    for (int x = 0; x < bm->getWidth(); ++x) At(bm, x, y) = static_cast<LICE_pixel>(rng());
  }
}

// Logical positions that differ from the background.
inline std::vector<std::pair<int, int>> Touched(LICE_IBitmap* bm, LICE_pixel background) {
  std::vector<std::pair<int, int>> out;
  for (int y = 0; y < bm->getHeight(); ++y) {
    for (int x = 0; x < bm->getWidth(); ++x) {
      if (At(bm, x, y) != background) out.emplace_back(x, y);
    }
  }
  return out;
}

inline int Channel(LICE_pixel v, int index) { return static_cast<int>((v >> (8 * index)) & 0xff); }

// The plain blend of one channel, written out from the formulas with
// nothing shared with the library: d the destination, c the source, alpha
// the integer alpha. Modes 0 to 4.
inline int RefBlendChannel(int mode, int d, int c, int alpha) {
  auto clamp = [](int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); };
  switch (mode) {
    case 0: {
      // Truncation toward zero of a possibly negative product.
      const int num = (d - c) * (256 - alpha);
      const int q = num >= 0 ? num / 256 : -((-num) / 256);
      return (c + q) & 0xff;
    }
    case 1: return clamp(d + c * alpha / 256);
    case 2: {
      const int k = 256 - c * alpha / 256;
      return clamp(k >= 2 ? d * 256 / k : d * 256);
    }
    case 3: return ((d * (c * alpha + (256 - alpha) * 256)) >> 16) & 0xff;
    case 4: {
      const int s = c * alpha + (256 - alpha) * 128;
      const int t = (32768 - s) * d;
      const int q = t >= 0 ? t / 256 : -((-t) / 256);
      return clamp((d * (s + q)) >> 15);
    }
  }
  return -1;
}

inline LICE_pixel RefBlend(int mode, LICE_pixel d, LICE_pixel s, int alpha) {
  LICE_pixel out = 0;
  for (int i = 0; i < 4; ++i) {
    out |= static_cast<LICE_pixel>(RefBlendChannel(mode, Channel(d, i), Channel(s, i), alpha)) << (8 * i);
  }
  return out;
}

// The whole-word shortcuts at integer alpha 64, 128 and 192, byte by byte:
// each byte of the destination and of the colour is shifted on its own.
inline LICE_pixel RefShortcut(int alpha, LICE_pixel d, LICE_pixel c) {
  LICE_pixel out = 0;
  for (int i = 0; i < 4; ++i) {
    const int dd = Channel(d, i), cc = Channel(c, i);
    int v = 0;
    if (alpha == 64) v = (dd >> 2) + (dd >> 1) + (cc >> 2);
    if (alpha == 128) v = (dd >> 1) + (cc >> 1);
    if (alpha == 192) v = (dd >> 2) + (cc >> 2) + (cc >> 1);
    out |= static_cast<LICE_pixel>(v) << (8 * i);
  }
  return out;
}

}  // namespace LiceTest
