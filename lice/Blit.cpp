// Unscaled blits: clip once, then one loop per per-pixel operation.

#include <cstdint>
#include <cstring>

#include "lice/LICE_DrawSupport.h"
#include "lice/PixelRows.h"
#include "lice/lice.h"

namespace {

template <class Op>
void BlitRows(LICE_pixel* dest, const LICE_pixel* src, int w, int h, ptrdiff_t srcStep, ptrdiff_t destStep,
              int alpha) {
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) Op::Apply(dest + x, src[x], alpha);
    src += srcStep;
    dest += destStep;
  }
}

void CopyRows(LICE_pixel* dest, const LICE_pixel* src, int w, int h, ptrdiff_t srcStep, ptrdiff_t destStep) {
  for (int y = 0; y < h; ++y) {
    std::memcpy(dest, src, static_cast<size_t>(w) * sizeof(LICE_pixel));
    src += srcStep;
    dest += destStep;
  }
}

// Whether the h rows of w pixels read and the h rows written share no memory:
// the row loops below read a few pixels ahead of what they write.
bool Disjoint(const LICE_RowWalk& from, const LICE_RowWalk& to, int w, int h) {
  auto span = [w, h](const LICE_RowWalk& r, uintptr_t* lo, uintptr_t* hi) {
    const LICE_pixel* first = r.start;
    const LICE_pixel* last = r.start + r.step * (h - 1);
    *lo = reinterpret_cast<uintptr_t>(first < last ? first : last);
    *hi = reinterpret_cast<uintptr_t>((first < last ? last : first) + w);
  };
  uintptr_t fromLo, fromHi, toLo, toHi;
  span(from, &fromLo, &fromHi);
  span(to, &toLo, &toHi);
  return fromHi <= toLo || toHi <= fromLo;
}

template <class RowOp>
void EachRow(LICE_pixel* dest, const LICE_pixel* src, int h, ptrdiff_t srcStep, ptrdiff_t destStep, RowOp row) {
  for (int y = 0; y < h; ++y) {
    row(dest, src);
    src += srcStep;
    dest += destStep;
  }
}

}  // namespace

void LICE_BlitCore(LICE_IBitmap* dest, LICE_IBitmap* src, int dstX, int dstY, const LICE_Rect* srcRect,
                   float alpha, int mode) {
  if (!dest || !src || alpha == 0.0f) return;
  const int srcW = src->getWidth();
  const int srcH = src->getHeight();
  const int destW = dest->getWidth();
  const int destH = dest->getHeight();

  // Clipped in 64 bits: the rectangle and the position may lie anywhere in
  // the int range, and their sums must not wrap.
  int64_t left = 0, top = 0, right = srcW, bottom = srcH;
  int64_t x = dstX, y = dstY;
  if (srcRect) {
    left = srcRect->left;
    top = srcRect->top;
    right = srcRect->right;
    bottom = srcRect->bottom;
    if (left < 0) {
      x -= left;
      left = 0;
    }
    if (top < 0) {
      y -= top;
      top = 0;
    }
    if (right > srcW) right = srcW;
    if (bottom > srcH) bottom = srcH;
  }
  if (x < 0) {
    left -= x;
    x = 0;
  }
  if (y < 0) {
    top -= y;
    y = 0;
  }
  if (right <= left || bottom <= top || x >= destW || y >= destH) return;
  if (right > left + (destW - x)) right = left + (destW - x);
  if (bottom > top + (destH - y)) bottom = top + (destH - y);
  const int w = static_cast<int>(right - left);
  const int h = static_cast<int>(bottom - top);
  if (w <= 0 || h <= 0) return;

  LICE_pixel* srcBits = src->getBits();
  LICE_pixel* destBits = dest->getBits();
  if (!srcBits || !destBits) return;
  const LICE_RowWalk from = LICE_LogicalRows(srcBits, src->getRowSpan(), srcH, src->isFlipped(),
                                             static_cast<int>(left), static_cast<int>(top));
  const LICE_RowWalk to = LICE_LogicalRows(destBits, dest->getRowSpan(), destH, dest->isFlipped(),
                                           static_cast<int>(x), static_cast<int>(y));

  const int masked = mode & (LICE_BLIT_USE_ALPHA | LICE_BLIT_MODE_MASK);
  if (masked == LICE_BLIT_MODE_COPY && alpha == 1.0f) {
    CopyRows(to.start, from.start, w, h, from.step, to.step);
    return;
  }
  if (masked == LICE_BLIT_MODE_COPY && alpha == 0.5f) {
    BlitRows<LICE_HalfWord>(to.start, from.start, w, h, from.step, to.step, 128);
    return;
  }
  const int ia = LICE_IntegerAlpha(alpha);
  if (ia == 0) return;
  auto run = [&](auto op) {
    BlitRows<typename decltype(op)::type>(to.start, from.start, w, h, from.step, to.step, ia);
  };
  if (masked == LICE_BLIT_MODE_COPY) {
    if (ia == 256) {
      run(LICE_OpTag<LICE_StoreWord>());
    } else if (ia >= 1) {
      run(LICE_OpTag<LICE_CopyCombiner>());
    }
  } else if (masked == (LICE_BLIT_USE_ALPHA | LICE_BLIT_MODE_COPY)) {
    if (ia == 256 && Disjoint(from, to, w, h)) {
      EachRow(to.start, from.start, h, from.step, to.step,
              [w](LICE_pixel* d, const LICE_pixel* s) { LICE_RowCopySourceAlpha256(d, s, w); });
    } else if (ia >= 1 && ia <= 255 && Disjoint(from, to, w, h)) {
      EachRow(to.start, from.start, h, from.step, to.step,
              [w, ia](LICE_pixel* d, const LICE_pixel* s) { LICE_RowCopySourceAlpha(d, s, w, ia); });
    } else if (ia == 256) {
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

void LICE_Blit(LICE_IBitmap* dest, LICE_IBitmap* src, int dstX, int dstY, int srcX, int srcY, int srcW, int srcH,
               float alpha, int mode) {
  // Right and bottom saturate instead of wrapping; nothing past INT_MAX exists.
  const int64_t right = static_cast<int64_t>(srcX) + srcW;
  const int64_t bottom = static_cast<int64_t>(srcY) + srcH;
  const LICE_Rect r = {srcX, srcY, LICE_SaturateInt(right), LICE_SaturateInt(bottom)};
  LICE_BlitCore(dest, src, dstX, dstY, &r, alpha, mode);
}
