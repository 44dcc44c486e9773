// Rectangle fills: every row gets the same treatment, so a flipped bitmap is
// filled from its lowest memory row downwards like any other.

#include <cstdint>

#include "lice/LICE_DrawSupport.h"
#include "lice/PixelRows.h"
#include "lice/lice.h"

namespace {

template <class Op>
void FillRows(LICE_pixel* p, int w, int h, int span, LICE_pixel color, int alpha) {
  for (int y = 0; y < h; ++y, p += span) {
    for (int x = 0; x < w; ++x) Op::Apply(p + x, color, alpha);
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
  auto run = [&](auto op) { FillRows<typename decltype(op)::type>(p, fw, fh, span, color, ia); };

  const int modeByte = mode & LICE_BLIT_MODE_MASK;
  if (modeByte == LICE_BLIT_MODE_COPY) {
    auto rows = [&](auto row) {
      for (int r = 0; r < fh; ++r) row(p + static_cast<ptrdiff_t>(r) * span);
    };
    switch (ia) {
      case 256: rows([&](LICE_pixel* q) { LICE_RowStore(q, fw, color); }); break;
      case 192: rows([&](LICE_pixel* q) { LICE_RowThreeQuarter(q, fw, color); }); break;
      case 128: rows([&](LICE_pixel* q) { LICE_RowHalf(q, fw, color); }); break;
      case 64: rows([&](LICE_pixel* q) { LICE_RowQuarter(q, fw, color); }); break;
      default:
        if (ia >= 1 && ia <= 255) {
          rows([&](LICE_pixel* q) { LICE_RowCopyBlend(q, fw, color, ia); });
        } else if (ia >= 1) {
          run(LICE_OpTag<LICE_CopyCombiner>());
        }
        break;
    }
    return;
  }
  if (ia == 0) return;
  LICE_WithBlendCombiner(modeByte, run);
}
