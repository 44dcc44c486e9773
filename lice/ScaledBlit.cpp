// Scaled blits. The source is walked in 16.16 fixed point: the integer part
// of the position picks a source pixel, the low 16 bits are the fraction
// the bilinear filter weighs by. Positions and steps are carried in 64 bits
// so that no walk can overflow; where a 32-bit walk would not overflow the
// pixels are the same.

#include <cmath>
#include <cstdint>

#include "lice/LICE_DrawSupport.h"
#include "lice/lice.h"

namespace {

// trunc(v) as a 64-bit fixed-point value, held far inside the 64-bit range.
int64_t FixedFromDouble(double v) {
  const double limit = 4.0e18;
  if (!(v > -limit)) return v < 0.0 ? static_cast<int64_t>(-limit) : 0;
  if (v > limit) return static_cast<int64_t>(limit);
  return static_cast<int64_t>(v);
}

int SaturateToInt(double v) {
  if (!(v > -2147483648.0)) return v < 0.0 ? INT32_MIN : 0;
  if (v >= 2147483647.0) return INT32_MAX;
  return static_cast<int>(v);
}

struct Source {
  const LICE_pixel* row0;  // logical row 0
  ptrdiff_t step;          // to logical row 1
  int limitX, limitY;      // first column and row that must not be read
  const LICE_pixel* Row(int64_t y) const { return row0 + static_cast<ptrdiff_t>(y) * step; }
};

struct Walk {
  LICE_pixel* dest;
  ptrdiff_t destStep;
  int w, h;
  int64_t startX, startY, stepX, stepY;
};

struct NearestSampler {
  const LICE_pixel* mRow = nullptr;
  bool BeginRow(const Source& s, int64_t y) {
    const int64_t sy = y >> 16;
    if (sy < 0 || sy >= s.limitY) return false;
    mRow = s.Row(sy);
    return true;
  }
  bool Sample(const Source& s, int64_t x, LICE_pixel* c) const {
    const int64_t sx = x >> 16;
    if (sx < 0 || sx >= s.limitX) return false;
    *c = mRow[sx];
    return true;
  }
};

// Each channel of the four neighbours weighed by the 16-bit fractions; the
// last source row and column interpolate in one direction only.
struct BilinearSampler {
  const LICE_pixel* mRow = nullptr;
  const LICE_pixel* mNext = nullptr;  // null on the last row
  uint32_t mFy = 0;
  bool BeginRow(const Source& s, int64_t y) {
    const int64_t sy = y >> 16;
    if (sy < 0 || sy >= s.limitY) return false;
    mRow = s.Row(sy);
    mNext = sy < s.limitY - 1 ? s.Row(sy + 1) : nullptr;
    mFy = static_cast<uint32_t>(y & 0xffff);
    return true;
  }
  static LICE_pixel Mix2(LICE_pixel p0, LICE_pixel p1, uint32_t f) {
    const uint32_t f0 = 65536 - f;
    auto ch = [&](int shift) {
      return static_cast<int>((((p0 >> shift) & 0xff) * f0 + ((p1 >> shift) & 0xff) * f) >> 16);
    };
    return LICE_RGBA(ch(8), ch(16), ch(24), ch(0));
  }
  static LICE_pixel Mix4(LICE_pixel p00, LICE_pixel p01, LICE_pixel p10, LICE_pixel p11, uint32_t fx, uint32_t fy) {
    // fx * fy reaches 2^32 - 2^17 + 1: unsigned, not int.
    const uint32_t w11 = (fx * fy) >> 16;
    const uint32_t w01 = fx - w11;
    const uint32_t w10 = fy - w11;
    const uint32_t w00 = 65536 - fx - fy + w11;
    auto ch = [&](int shift) {
      return static_cast<int>((((p00 >> shift) & 0xff) * w00 + ((p01 >> shift) & 0xff) * w01 +
                               ((p10 >> shift) & 0xff) * w10 + ((p11 >> shift) & 0xff) * w11) >>
                              16);
    };
    return LICE_RGBA(ch(8), ch(16), ch(24), ch(0));
  }
  bool Sample(const Source& s, int64_t x, LICE_pixel* c) const {
    const int64_t sx = x >> 16;
    if (sx < 0 || sx >= s.limitX) return false;
    const uint32_t fx = static_cast<uint32_t>(x & 0xffff);
    const bool lastColumn = sx == s.limitX - 1;
    if (mNext) {
      *c = lastColumn ? Mix2(mRow[sx], mNext[sx], mFy)
                      : Mix4(mRow[sx], mRow[sx + 1], mNext[sx], mNext[sx + 1], fx, mFy);
    } else {
      *c = lastColumn ? mRow[sx] : Mix2(mRow[sx], mRow[sx + 1], fx);
    }
    return true;
  }
};

// The average of the size x size block centred on the sampled pixel, over
// the part of it inside the source. Every weight is the same, so the
// weighted sum over the weight sum is the plain average, truncated.
struct KernelSampler {
  int mSize = 3;
  int mOffset = -1;
  int64_t mRowFirst = 0, mRowLast = -1;
  bool BeginRow(const Source& s, int64_t y) {
    const int64_t sy = y >> 16;
    if (sy < 0 || sy >= s.limitY || sy + mOffset >= s.limitY) return false;
    const int64_t first = sy + mOffset;
    mRowFirst = first < 0 ? 0 : first;
    mRowLast = (first + mSize < s.limitY ? first + mSize : s.limitY) - 1;
    return true;
  }
  bool Sample(const Source& s, int64_t x, LICE_pixel* c) const {
    const int64_t sx = x >> 16;
    if (sx < 0 || sx >= s.limitX) return false;
    int64_t colFirst = sx + mOffset;
    int64_t colLast = colFirst + mSize - 1;
    if (colFirst < 0) colFirst = 0;
    if (colLast > s.limitX - 1) colLast = s.limitX - 1;
    int sumR = 0, sumG = 0, sumB = 0, sumA = 0, count = 0;
    for (int64_t ky = mRowFirst; ky <= mRowLast; ++ky) {
      const LICE_pixel* row = s.Row(ky);
      for (int64_t kx = colFirst; kx <= colLast; ++kx) {
        const LICE_pixel p = row[kx];
        sumR += LICE_GETR(p);
        sumG += LICE_GETG(p);
        sumB += LICE_GETB(p);
        sumA += LICE_GETA(p);
        ++count;
      }
    }
    if (count <= 0) return false;
    *c = LICE_RGBA(sumR / count, sumG / count, sumB / count, sumA / count);
    return true;
  }
};

template <class Op, class Sampler>
void ScaleRows(const Walk& walk, const Source& src, Sampler sampler, int alpha) {
  LICE_pixel* dest = walk.dest;
  int64_t y = walk.startY;
  for (int row = 0; row < walk.h; ++row, y += walk.stepY, dest += walk.destStep) {
    if (!sampler.BeginRow(src, y)) continue;
    int64_t x = walk.startX;
    for (int i = 0; i < walk.w; ++i, x += walk.stepX) {
      LICE_pixel c;
      if (sampler.Sample(src, x, &c)) Op::Apply(dest + i, c, alpha);
    }
  }
}

// The seven cases every sampling family has, by mode AND 0x100ff.
template <class Sampler>
void ScaleWithSampler(int masked, int ia, const Walk& walk, const Source& src, const Sampler& sampler) {
  auto run = [&](auto op) { ScaleRows<typename decltype(op)::type>(walk, src, sampler, ia); };
  if (masked == LICE_BLIT_MODE_COPY) {
    if (ia == 256) {
      run(LICE_OpTag<LICE_StoreWord>());
    } else if (ia >= 1) {
      run(LICE_OpTag<LICE_CopyCombiner>());
    }
  } else if (masked == (LICE_BLIT_USE_ALPHA | LICE_BLIT_MODE_COPY)) {
    if (ia == 256) {
      run(LICE_OpTag<LICE_CopySourceAlpha256Combiner>());
    } else {
      run(LICE_OpTag<LICE_CopySourceAlphaCombiner>());
    }
  } else if (masked & LICE_BLIT_USE_ALPHA) {
    LICE_WithSourceAlphaBlendCombiner(masked & LICE_BLIT_MODE_MASK, run);
  } else {
    LICE_WithBlendCombiner(masked, run);
  }
}

// Clipping along one axis, in fixed point, once before the loops: pixels
// whose sample falls before the source's first pixel or past its last are
// cut off, since the loops would draw nothing there. What is left keeps
// every position of the walk far inside 64 bits, however large the steps.
// A count of pixels, not a product with it, so nothing overflows.
void ClipAxis(int64_t step, int sourceSize, int64_t* start, int64_t* count, int64_t* destPos) {
  const int64_t end = static_cast<int64_t>(sourceSize) * 65536;  // first position past the source
  auto skip = [&](int64_t n) {
    *count -= n;
    *destPos += n;
    *start += n * step;
  };
  if (step > 0) {
    if (*start < 0) skip((step - 1 - *start) / step);
    // Every pixel whose position is below end; the last column's samples
    // included (a bound of (size - 1) * 65536 would drop them).
    const int64_t fit = *start < end ? (end - 1 - *start) / step + 1 : 0;
    if (fit < *count) *count = fit;
  } else if (step < 0) {
    if (*start >= end) skip((*start - (end - 1) - step - 1) / -step);
    const int64_t fit = *start >= 0 ? *start / -step + 1 : 0;
    if (fit < *count) *count = fit;
  } else if (*start < 0 || *start >= end) {
    *count = 0;
  }
}

}  // namespace

void LICE_ScaledBlit(LICE_IBitmap* dest, LICE_IBitmap* src, int dstX, int dstY, int dstW, int dstH, float srcX,
                     float srcY, float srcW, float srcH, float alpha, int mode) {
  if (!dest || !src || dstW == 0 || dstH == 0 || alpha == 0.0f) return;
  if (!std::isfinite(srcX) || !std::isfinite(srcY) || !std::isfinite(srcW) || !std::isfinite(srcH)) return;
  const int filter = mode & LICE_BLIT_FILTER_MASK;

  // Same size and, for the bilinear filter, a source nearly on whole
  // pixels: an unscaled blit.
  if (std::fabs(srcW - static_cast<float>(dstW)) < 0.001 && std::fabs(srcH - static_cast<float>(dstH)) < 0.001 &&
      (filter != LICE_BLIT_FILTER_BILINEAR || (std::fabs(srcX - std::floor(srcX + 0.5)) < 0.03 &&
                                               std::fabs(srcY - std::floor(srcY + 0.5)) < 0.03))) {
    const int left = SaturateToInt(srcX + 0.5);
    const int top = SaturateToInt(srcY + 0.5);
    const LICE_Rect r = {left, top, LICE_SaturateInt(static_cast<int64_t>(left) + dstW),
                         LICE_SaturateInt(static_cast<int64_t>(top) + dstH)};
    LICE_BlitCore(dest, src, dstX, dstY, &r, alpha, mode);
    return;
  }

  int64_t x = dstX, y = dstY, w = dstW, h = dstH;
  if (w < 0) {
    x += w;
    w = -w;
    srcX += srcW;
    srcW = -srcW;
  }
  if (h < 0) {
    y += h;
    h = -h;
    srcY += srcH;
    srcH = -srcH;
  }
  const double xStep = srcW / static_cast<float>(w);
  const double yStep = srcH / static_cast<float>(h);
  if (x < 0) {
    srcX -= static_cast<float>(x * xStep);
    w += x;
    x = 0;
  }
  if (y < 0) {
    srcY -= static_cast<float>(y * yStep);
    h += y;
    y = 0;
  }
  const int destW = dest->getWidth();
  const int destH = dest->getHeight();
  if (w < 1 || h < 1 || x >= destW || y >= destH) return;
  if (w > destW - x) w = destW - x;
  if (h > destH - y) h = destH - y;

  const int64_t idx = FixedFromDouble(xStep * 65536.0);
  const int64_t idy = FixedFromDouble(yStep * 65536.0);
  int64_t startX = FixedFromDouble(srcX * 65536.0);
  int64_t startY = FixedFromDouble(srcY * 65536.0);
  const int srcWidth = src->getWidth();
  const int srcHeight = src->getHeight();
  ClipAxis(idx, srcWidth, &startX, &w, &x);
  ClipAxis(idy, srcHeight, &startY, &h, &y);
  if (w < 1 || h < 1) return;

  LICE_pixel* srcBits = src->getBits();
  LICE_pixel* destBits = dest->getBits();
  if (!srcBits || !destBits) return;
  const LICE_RowWalk from = LICE_LogicalRows(srcBits, src->getRowSpan(), srcHeight, src->isFlipped(), 0, 0);
  const LICE_RowWalk to = LICE_LogicalRows(destBits, dest->getRowSpan(), destH, dest->isFlipped(),
                                           static_cast<int>(x), static_cast<int>(y));

  int limitX = SaturateToInt(static_cast<double>(srcX + std::fmax(0.0f, srcW)) + 0.999999);
  int limitY = SaturateToInt(static_cast<double>(srcY + std::fmax(0.0f, srcH)) + 0.999999);
  if (limitX > srcWidth) limitX = srcWidth;
  if (limitY > srcHeight) limitY = srcHeight;
  if (limitX < 1 || limitY < 1) return;

  const Source source = {from.start, from.step, limitX, limitY};
  const Walk walk = {to.start, to.step, static_cast<int>(w), static_cast<int>(h), startX, startY, idx, idy};
  const int ia = LICE_IntegerAlpha(alpha);

  if ((mode & (LICE_BLIT_USE_ALPHA | LICE_BLIT_FILTER_MASK | LICE_BLIT_MODE_MASK)) == LICE_BLIT_MODE_COPY) {
    if (ia == 256) {
      ScaleRows<LICE_StoreWord>(walk, source, NearestSampler(), ia);
      return;
    }
    if (ia == 128) {
      ScaleRows<LICE_HalfWord>(walk, source, NearestSampler(), ia);
      return;
    }
  }
  if (ia == 0) return;
  const int masked = mode & (LICE_BLIT_USE_ALPHA | LICE_BLIT_MODE_MASK);
  if (xStep >= 1.7 && yStep >= 1.7 && filter == LICE_BLIT_FILTER_BILINEAR) {
    KernelSampler kernel;
    kernel.mSize = (idx > idy ? idx : idy) > 0x30000 ? 5 : 3;  // a step above 3 source pixels
    kernel.mOffset = -(kernel.mSize / 2);
    ScaleWithSampler(masked, ia, walk, source, kernel);
  } else if (filter == LICE_BLIT_FILTER_BILINEAR) {
    ScaleWithSampler(masked, ia, walk, source, BilinearSampler());
  } else {
    ScaleWithSampler(masked, ia, walk, source, NearestSampler());
  }
}
