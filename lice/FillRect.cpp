// Rectangle fills: every row gets the same treatment and no pixel is written
// twice, so rows are visited in whichever memory order is quickest, for a
// flipped bitmap as for any other.

#include <cstddef>
#include <cstdint>

#include "lice/LICE_DrawSupport.h"
#include "lice/PixelRows.h"
#include "lice/lice.h"

namespace {

template <class Op>
void FillRows(LICE_pixel* p, int w, int h, ptrdiff_t step, LICE_pixel color, int alpha) {
  if (w == 1) return LICE_ColumnOp<Op>(p, step, h, color, alpha);
  for (int y = 0; y < h; ++y, p += step) {
    LICE_PrefetchAhead(p, step, 16);
    for (int x = 0; x < w; ++x) Op::Apply(p + x, color, alpha);
  }
}

// A copy fill by rows a few pixels at a time.
void FillWide(LICE_pixel* p, int w, int h, int span, LICE_pixel color, int alpha) {
  void (*shortcut)(LICE_pixel*, int, LICE_pixel) = nullptr;
  switch (alpha) {
    case 256: shortcut = LICE_RowStore; break;
    case 192: shortcut = LICE_RowThreeQuarter; break;
    case 128: shortcut = LICE_RowHalf; break;
    case 64: shortcut = LICE_RowQuarter; break;
    default:
      if (alpha < 1) return;
      break;
  }
  for (int y = 0; y < h; ++y, p += span) {
    if (shortcut) {
      shortcut(p, w, color);
    } else {
      LICE_RowCopyBlend(p, w, color, alpha);
    }
  }
}

}  // namespace

void LICE_FillRect(LICE_IBitmap* dest, int x, int y, int w, int h, LICE_pixel color, float alpha, int mode) {
  if (!dest) return;
  if (mode & LICE_BLIT_USE_ALPHA) alpha *= static_cast<float>(LICE_GETA(color)) / 255.0f;
  LICE_pixel* bits = dest->getBits();
  const int span = dest->getRowSpan();
  const int destW = dest->getWidth();
  const int destH = dest->getHeight();
  int64_t x0 = x, y0 = y, width = w, height = h;
  if (x0 < 0) {
    width += x0;
    x0 = 0;
  }
  if (y0 < 0) {
    height += y0;
    y0 = 0;
  }
  if (x0 >= destW || alpha == 0.0f || !bits || span == 0 || width < 1 || height < 1 || y0 >= destH) return;
  if (width > destW - x0) width = destW - x0;
  if (height > destH - y0) height = destH - y0;

  const int64_t memoryRow = dest->isFlipped() ? destH - y0 - height : y0;
  LICE_pixel* p = LICE_MemoryPixel(bits, span, static_cast<int>(x0), static_cast<int>(memoryRow));
  const int fw = static_cast<int>(width);
  const int fh = static_cast<int>(height);
  const int ia = LICE_IntegerAlpha(alpha);
  ptrdiff_t step = span;
  auto run = [&](auto op) { FillRows<typename decltype(op)::type>(p, fw, fh, step, color, ia); };

  const int modeByte = mode & LICE_BLIT_MODE_MASK;
  if (modeByte == LICE_BLIT_MODE_COPY) {
    if (fw >= 4) {
      FillWide(p, fw, fh, span, color, ia);
      return;
    }
    // Narrow fills (the columns under a curve) would be mostly per-row
    // overhead there. Neighbouring columns share their cache lines, and a
    // column taller than the cache has lost its first rows by its end: odd
    // columns go bottom-up, so each starts on the rows the last one left
    // in the cache. No pixel is written twice, so the order changes nothing.
    if ((x0 & 1) != 0 && fh > 1) {
      p += static_cast<ptrdiff_t>(fh - 1) * span;
      step = -static_cast<ptrdiff_t>(span);
    }
    switch (ia) {
      case 256: run(LICE_OpTag<LICE_StoreWord>()); break;
      case 192: run(LICE_OpTag<LICE_ThreeQuarterWord>()); break;
      case 128: run(LICE_OpTag<LICE_HalfWord>()); break;
      case 64: run(LICE_OpTag<LICE_QuarterWord>()); break;
      default:
        if (ia >= 1) run(LICE_OpTag<LICE_CopyCombiner>());
        break;
    }
    return;
  }
  if (ia == 0) return;
  LICE_WithBlendCombiner(modeByte, run);
}
