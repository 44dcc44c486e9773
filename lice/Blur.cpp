// A 3 x 3 box blur on whole words: each byte of a pixel is divided by its
// weight (1/2 the pixel itself, 1/8 or 1/4 each neighbour) with per-byte
// masks and the parts added, so no channel is unpacked and none overflows.

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "lice/LICE_DrawSupport.h"
#include "lice/lice.h"

namespace {

inline LICE_pixel Half(LICE_pixel v) { return (v >> 1) & 0x7f7f7f7fu; }
inline LICE_pixel Quarter(LICE_pixel v) { return (v >> 2) & 0x3f3f3f3fu; }
inline LICE_pixel Eighth(LICE_pixel v) { return (v >> 3) & 0x1f1f1f1fu; }

// First or last row: one neighbouring row n, weighted 1/4.
void BlurEdgeRow(LICE_pixel* o, const LICE_pixel* p, const LICE_pixel* n, int w) {
  o[0] = Half(p[0]) + Quarter(p[1]) + Quarter(n[0]);
  for (int x = 1; x < w - 1; ++x) o[x] = Eighth(p[x - 1]) + Half(p[x]) + Eighth(p[x + 1]) + Quarter(n[x]);
  o[w - 1] = Quarter(p[w - 2]) + Half(p[w - 1]) + Quarter(n[w - 1]);
}

// Inner rows: rows u above and b below, 1/8 each.
void BlurInnerRow(LICE_pixel* o, const LICE_pixel* p, const LICE_pixel* u, const LICE_pixel* b, int w) {
  o[0] = Half(p[0]) + Quarter(p[1]) + Eighth(u[0]) + Eighth(b[0]);
  for (int x = 1; x < w - 1; ++x) {
    o[x] = Eighth(p[x - 1]) + Half(p[x]) + Eighth(p[x + 1]) + Eighth(u[x]) + Eighth(b[x]);
  }
  o[w - 1] = Quarter(p[w - 2]) + Half(p[w - 1]) + Eighth(u[w - 1]) + Eighth(b[w - 1]);
}

}  // namespace

void LICE_BlurRect(LICE_IBitmap* dest, LICE_IBitmap* src, int dstX, int dstY, int srcX, int srcY, int srcW,
                   int srcH) {
  if (!dest || !src) return;
  const int sw = src->getWidth();
  const int sh = src->getHeight();
  const int destW = dest->getWidth();
  const int destH = dest->getHeight();

  // Unlike a blit, a negative source corner does not move the destination.
  int64_t left = srcX < 0 ? 0 : srcX;
  int64_t top = srcY < 0 ? 0 : srcY;
  int64_t right = static_cast<int64_t>(srcX) + srcW;
  int64_t bottom = static_cast<int64_t>(srcY) + srcH;
  if (right > sw) right = sw;
  if (bottom > sh) bottom = sh;
  int64_t x = dstX, y = dstY;
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
  if (right <= left + 1 || bottom <= top + 1) return;

  LICE_pixel* srcBits = src->getBits();
  LICE_pixel* destBits = dest->getBits();
  if (!srcBits || !destBits) return;
  const int w = static_cast<int>(right - left);
  const int h = static_cast<int>(bottom - top);
  const LICE_RowWalk from = LICE_LogicalRows(srcBits, src->getRowSpan(), sh, src->isFlipped(),
                                             static_cast<int>(left), static_cast<int>(top));
  const LICE_RowWalk to = LICE_LogicalRows(destBits, dest->getRowSpan(), destH, dest->isFlipped(),
                                           static_cast<int>(x), static_cast<int>(y));

  // In place, each row is saved before it is overwritten: the next row
  // reads the original as its upper neighbour, and the row itself is read
  // from the copy while its output lands on it. The two halves alternate.
  LICE_pixel localSave[2048];
  LICE_pixel* save = nullptr;
  LICE_pixel* heapSave = nullptr;
  if (dest == src) {
    if (w <= 1024) {
      save = localSave;
    } else {
      heapSave = static_cast<LICE_pixel*>(std::malloc(static_cast<size_t>(w) * 2 * sizeof(LICE_pixel)));
      save = heapSave;  // without it, the blur runs on what is already blurred
    }
  }

  for (int row = 0; row < h; ++row) {
    const LICE_pixel* p = from.start + row * from.step;
    LICE_pixel* o = to.start + row * to.step;
    const LICE_pixel* above = row > 0 ? from.start + (row - 1) * from.step : nullptr;
    if (save) {
      LICE_pixel* half = save + (row & 1) * w;
      std::memcpy(half, p, static_cast<size_t>(w) * sizeof(LICE_pixel));
      p = half;
      if (row > 0 && row < h - 1) above = save + ((row + 1) & 1) * w;
    }
    if (row == 0) {
      BlurEdgeRow(o, p, from.start + from.step, w);
    } else if (row == h - 1) {
      // The upper neighbour comes from the bitmap: in place it is already
      // blurred, so the last row comes out a little softer.
      BlurEdgeRow(o, p, above, w);
    } else {
      BlurInnerRow(o, p, above, from.start + (row + 1) * from.step, w);
    }
  }
  std::free(heapSave);
}
