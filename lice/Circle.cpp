// Filled discs. Both drawers scan one octant and write each pixel of the
// disc (and of its rim) exactly once: column runs cover the pixels nearer
// the vertical axis than the diagonals, row runs the rest, which matters
// for every mode that is not idempotent. The drawers address memory rows;
// the centre is flipped beforehand for a bottom-up bitmap.

#include <cmath>
#include <cstddef>

#include "lice/LICE_DrawSupport.h"
#include "lice/lice.h"

namespace {

struct ClipRect {
  int left, top, right, bottom;  // right and bottom exclusive
};

// The writers of one per-pixel operation. With clipNeeded false the caller
// has shown the whole disc lies inside and every test is skipped.
template <class Op>
struct DiscWriter {
  LICE_pixel* mBits;
  int mSpan;
  ClipRect mClip;
  bool mClipNeeded;
  LICE_pixel mColor;

  void ClippedPixel(int x, int y, int alpha) const {
    if (mClipNeeded && (x < mClip.left || x >= mClip.right || y < mClip.top || y >= mClip.bottom)) return;
    Op::Apply(LICE_MemoryPixel(mBits, mSpan, x, y), mColor, alpha);
  }
  void ClippedRow(int y, int xlo, int xhi, int alpha) const {
    if (mClipNeeded) {
      if (y < mClip.top || y >= mClip.bottom) return;
      if (xlo < mClip.left) xlo = mClip.left;
      if (xhi > mClip.right - 1) xhi = mClip.right - 1;
    }
    LICE_pixel* p = LICE_MemoryPixel(mBits, mSpan, 0, y);
    for (int x = xlo; x <= xhi; ++x) Op::Apply(p + x, mColor, alpha);
  }
  void ClippedColumn(int x, int ylo, int yhi, int alpha) const {
    if (mClipNeeded) {
      if (x < mClip.left || x >= mClip.right) return;
      if (ylo < mClip.top) ylo = mClip.top;
      if (yhi > mClip.bottom - 1) yhi = mClip.bottom - 1;
    }
    if (ylo > yhi) return;
    LICE_pixel* p = LICE_MemoryPixel(mBits, mSpan, x, ylo);
    for (int y = ylo; y <= yhi; ++y, p += mSpan) Op::Apply(p, mColor, alpha);
  }

  // The vertical and horizontal diameters.
  void Cross(int cx, int cy, int r, int alpha) const {
    ClippedColumn(cx, cy - r, cy - 1, alpha);
    ClippedColumn(cx, cy + 1, cy + r, alpha);
    ClippedRow(cy, cx - r, cx + r, alpha);
  }
  // The eight runs of one step x of the octant scan, y its outer extent.
  void EightRuns(int cx, int cy, int x, int y, int alpha) const {
    ClippedColumn(cx - x, cy - y, cy - x - 1, alpha);
    ClippedColumn(cx - x, cy + x + 1, cy + y, alpha);
    ClippedRow(cy - x, cx - y, cx - x, alpha);
    ClippedRow(cy - x, cx + x, cx + y, alpha);
    ClippedRow(cy + x, cx - y, cx - x, alpha);
    ClippedRow(cy + x, cx + x, cx + y, alpha);
    ClippedColumn(cx + x, cy - y, cy - x - 1, alpha);
    ClippedColumn(cx + x, cy + x + 1, cy + y, alpha);
  }
};

// Hard edge: a midpoint scan of the rounded radius.
template <class Op>
void FillDisc(const DiscWriter<Op>& out, float cx, float cy, float r, int ia) {
  const int icx = static_cast<int>(cx + 0.5f);
  const int icy = static_cast<int>(cy + 0.5f);
  const int ir = static_cast<int>(r + 0.5f);
  out.Cross(icx, icy, ir, ia);
  if (ir < 2) return;
  int y = ir;
  int err = -ir;
  for (int x = 1;; ++x) {
    int t = x;
    if (err >= 0) {
      t = x + 1 - y;
      --y;
    }
    err += 2 * t + 1;
    out.EightRuns(icx, icy, x, y, ia);
    if (!(x + 1 < y)) break;
  }
}

// Antialiased: rows from the square root, and one rim pixel beyond each run
// end carrying the run's fractional coverage.
template <class Op>
void FillDiscAA(const DiscWriter<Op>& out, float cx, float cy, float r, int ia) {
  const int icx = static_cast<int>(cx + 0.5f);
  const int icy = static_cast<int>(cy + 0.5f);
  const int ir = static_cast<int>(r);
  const int axisRim = static_cast<int>((static_cast<double>(r) - std::floor(r)) * ia);
  out.ClippedPixel(icx, icy - ir - 1, axisRim);
  out.ClippedPixel(icx, icy + ir + 1, axisRim);
  out.ClippedPixel(icx - ir - 1, icy, axisRim);
  out.ClippedPixel(icx + ir + 1, icy, axisRim);
  out.Cross(icx, icy, ir, ia);

  const float rr = r * r;
  double yf = std::sqrt(static_cast<double>(rr) - 1.0);
  if (!(yf + 0.5 >= 1.0)) return;  // also the undefined root of rr < 1
  int lim = static_cast<int>(yf + 0.5);
  for (int x = 1;; ++x) {
    const int yi = static_cast<int>(yf);
    const int rim = static_cast<int>((yf - std::floor(yf)) * ia);
    out.ClippedPixel(icx - x, icy - yi - 1, rim);
    out.ClippedPixel(icx - x, icy + yi + 1, rim);
    out.ClippedPixel(icx + x, icy - yi - 1, rim);
    out.ClippedPixel(icx + x, icy + yi + 1, rim);
    if (x != lim) {
      out.ClippedPixel(icx - yi - 1, icy - x, rim);
      out.ClippedPixel(icx + yi + 1, icy - x, rim);
      out.ClippedPixel(icx - yi - 1, icy + x, rim);
      out.ClippedPixel(icx + yi + 1, icy + x, rim);
    }
    out.EightRuns(icx, icy, x, yi, ia);
    // The square in 64 bits: a 32-bit one overflows past x = 46340.
    const int64_t next = static_cast<int64_t>(x + 1) * (x + 1);
    yf = std::sqrt(static_cast<double>(rr) - static_cast<double>(next));
    if (!(yf + 0.5 >= 0.0)) break;  // undefined root
    lim = static_cast<int>(yf + 0.5);
    if (!(x < lim)) break;
  }
}

}  // namespace

void LICE_FillCircle(LICE_IBitmap* dest, float cx, float cy, float r, LICE_pixel color, float alpha, int mode,
                     bool aa) {
  if (!dest) return;
  const int w = dest->getWidth();
  const int h = dest->getHeight();
  if (dest->isFlipped()) cy = static_cast<float>(h - 1) - cy;
  float weight = alpha;
  if (mode & LICE_BLIT_USE_ALPHA) weight *= static_cast<float>(LICE_GETA(color)) / 255.0f;
  const int ia = LICE_IntegerAlphaSingle(weight);
  if (ia == 0) return;
  if (w <= 0 || h <= 0 || !(r >= 0.0f)) return;
  // Beyond these the 32-bit run arithmetic would overflow. A centre that far
  // out is rejected below anyway; a radius of more than 2^24 pixels, larger
  // than any bitmap, is refused.
  if (!(std::fabs(cx) < 1.0e9f) || !(std::fabs(cy) < 1.0e9f) || !(r <= 16777216.0f)) return;

  const int icx = static_cast<int>(cx);
  const int icy = static_cast<int>(cy);
  const int ir = static_cast<int>(r);
  if (icx + ir < -2 || icy + ir < -2 || icx - ir > w + 2 || icy - ir > h + 2) return;

  LICE_pixel* bits = dest->getBits();
  if (!bits) return;
  const bool clipNeeded =
      !(cx - r - 2 >= 0 && cy - r - 2 >= 0 && static_cast<float>(w) > cx + r + 2 && static_cast<float>(h) > cy + r + 2);
  const ClipRect clip = {0, 0, w, h};
  const int span = dest->getRowSpan();

  // The dispatch: a mode above 5 draws nothing; 256 and 128 have their own
  // writers only without antialiasing, where no pixel has a partial alpha.
  const int modeByte = mode & LICE_BLIT_MODE_MASK;
  auto run = [&](auto op) {
    using Op = typename decltype(op)::type;
    const DiscWriter<Op> out = {bits, span, clip, clipNeeded, color};
    if (aa) {
      FillDiscAA(out, cx, cy, r, ia);
    } else {
      FillDisc(out, cx, cy, r, ia);
    }
  };
  if (modeByte == LICE_BLIT_MODE_COPY) {
    if (!aa && ia == 256) {
      run(LICE_OpTag<LICE_StoreWord>());
    } else if (!aa && ia == 128) {
      run(LICE_OpTag<LICE_AverageBytes>());
    } else if (ia >= 1) {
      run(LICE_OpTag<LICE_CopyCombiner>());
    }
    return;
  }
  LICE_WithBlendCombiner(modeByte, run);
}
