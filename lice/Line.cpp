// Integer lines: clipped once, sorted into horizontal, vertical, 45-degree
// and sloped shapes, each drawn by a routine instantiated per per-pixel
// operation. Lines ignore the source-alpha and filter bits.

#include <cstddef>
#include <cstdlib>

#include "lice/LICE_DrawSupport.h"
#include "lice/LineClip.h"
#include "lice/PixelRows.h"
#include "lice/lice.h"

namespace {

// The grid's long lines run through the row and column loops.
template <class Op>
void HorzLine(LICE_pixel* p, int count, LICE_pixel color, int ia) {
  LICE_RowOp<Op>(p, count, color, ia);
}

template <class Op>
void VertLine(LICE_pixel* p, ptrdiff_t span, int count, LICE_pixel color, int ia) {
  LICE_ColumnOp<Op>(p, span, count, color, ia);
}

template <class Op>
void DiagLine(LICE_pixel* p, int n, ptrdiff_t xstep, ptrdiff_t ystep, LICE_pixel color, int ia) {
  const ptrdiff_t step = xstep + ystep;
  for (int i = 0; i <= n; ++i, p += step) Op::Apply(p, color, ia);
}

// The n + 1 diagonal pixels, and between each two of them the pixel beside
// the first along x and the one beside it along y. The sides stay inside
// the line's bounding box and none is written twice.
template <class MainOp, class SideOp>
void DiagLineWithSides(LICE_pixel* p, int n, ptrdiff_t xstep, ptrdiff_t ystep, LICE_pixel color, int mainAlpha,
                       int sideAlpha) {
  MainOp::Apply(p, color, mainAlpha);
  for (int i = 0; i < n; ++i) {
    SideOp::Apply(p + xstep, color, sideAlpha);
    SideOp::Apply(p + ystep, color, sideAlpha);
    p += xstep + ystep;
    MainOp::Apply(p, color, mainAlpha);
  }
}

template <class Op>
void DiagLineAA(LICE_pixel* p, int n, ptrdiff_t xstep, ptrdiff_t ystep, LICE_pixel color, int ia) {
  DiagLineWithSides<Op, Op>(p, n, xstep, ystep, color, (3 * ia) / 4, ia / 4);
}

// Drawn from both ends toward the middle, so swapping the end points draws
// the same pixels. Each major position gets one pixel, rounded to the
// nearest minor position (err crosses half a pixel).
template <class Op>
void SlopedLine(LICE_pixel* start, LICE_pixel* end, int slope, ptrdiff_t majorStep, int majorLength,
                ptrdiff_t minorStep, LICE_pixel color, int ia) {
  const int pairs = (majorLength + 1) / 2;
  int err = 0;
  for (int i = 0; i < pairs; ++i) {
    Op::Apply(start, color, ia);
    Op::Apply(end, color, ia);
    err += slope;
    if (err >= 32768) {
      start += minorStep;
      end -= minorStep;
      err -= 65536;
    }
    start += majorStep;
    end -= majorStep;
  }
  if ((majorLength & 1) == 0) Op::Apply(start, color, ia);
}

// The end points at full alpha; every interior major position splits the
// alpha between the two pixels that straddle the exact line.
template <class Op>
void SlopedLineAA(LICE_pixel* start, LICE_pixel* end, int slope, ptrdiff_t majorStep, int majorLength,
                  ptrdiff_t minorStep, LICE_pixel color, int ia) {
  Op::Apply(start, color, ia);
  Op::Apply(end, color, ia);
  const int pairs = (majorLength + 1) / 2;
  LICE_pixel* q0 = start + majorStep;
  LICE_pixel* q1 = end - majorStep;
  int err = slope;
  for (int i = 1; i < pairs; ++i) {
    const int f = err >> 8;
    const int a1 = ((255 - f) * ia) >> 8;
    const int a2 = (f * ia) >> 8;
    Op::Apply(q0, color, a1);
    Op::Apply(q0 + minorStep, color, a2);
    Op::Apply(q1, color, a1);
    Op::Apply(q1 - minorStep, color, a2);
    err += slope;
    if (err >= 65536) {
      err -= 65536;
      q0 += minorStep;
      q1 -= minorStep;
    }
    q0 += majorStep;
    q1 -= majorStep;
  }
  if ((majorLength & 1) == 0) {
    const int f = err >> 8;
    Op::Apply(q0, color, ((255 - f) * ia) >> 8);
    Op::Apply(q0 + minorStep, color, (f * ia) >> 8);
  }
}

// Copy without antialiasing: the byte average at 128, a plain store at 256,
// the copy combiner for other positive alphas. Modes 1 to 5 take any
// non-zero alpha, negative included.
template <class F>
void WithLineOp(int modeByte, int ia, F&& run) {
  if (ia == 0) return;
  if (modeByte == LICE_BLIT_MODE_COPY) {
    if (ia == 128) {
      run(LICE_OpTag<LICE_AverageBytes>());
    } else if (ia == 256) {
      run(LICE_OpTag<LICE_StoreWord>());
    } else if (ia > 0) {
      run(LICE_OpTag<LICE_CopyCombiner>());
    }
    return;
  }
  LICE_WithBlendCombiner(modeByte, run);
}

// Antialiased pixels carry partial alphas: copy is always the combiner.
template <class F>
void WithAntialiasedLineOp(int modeByte, int ia, F&& run) {
  if (ia == 0) return;
  if (modeByte == LICE_BLIT_MODE_COPY) {
    if (ia > 0) run(LICE_OpTag<LICE_CopyCombiner>());
    return;
  }
  LICE_WithBlendCombiner(modeByte, run);
}

// Horizontal and vertical copies compare the float alpha itself with the
// four fractions that have whole-word shortcuts. True when one was taken.
template <class F>
bool WithExactAlphaCopy(int modeByte, float alpha, F&& run) {
  if (modeByte != LICE_BLIT_MODE_COPY) return false;
  if (alpha == 1.0f) {
    run(LICE_OpTag<LICE_StoreWord>());
  } else if (alpha == 0.5f) {
    run(LICE_OpTag<LICE_HalfWord>());
  } else if (alpha == 0.25f) {
    run(LICE_OpTag<LICE_QuarterWord>());
  } else if (alpha == 0.75f) {
    run(LICE_OpTag<LICE_ThreeQuarterWord>());
  } else {
    return false;
  }
  return true;
}

}  // namespace

void LICE_DrawLine(LICE_IBitmap* dest, int x1, int y1, int x2, int y2, LICE_pixel color, float alpha, int mode,
                   bool aa) {
  if (!dest) return;
  const int w = dest->getWidth();
  const int h = dest->getHeight();
  if (dest->isFlipped()) {
    y1 = LICE_SaturateInt(static_cast<int64_t>(h) - 1 - y1);
    y2 = LICE_SaturateInt(static_cast<int64_t>(h) - 1 - y2);
  }
  // The curves' many short lines mostly lie inside: no clipping to do.
  const auto inside = [w, h](int x, int y) {
    return static_cast<unsigned>(x) < static_cast<unsigned>(w) && static_cast<unsigned>(y) < static_cast<unsigned>(h);
  };
  if (!(inside(x1, y1) && inside(x2, y2)) && !ClipLine(&x1, &y1, &x2, &y2, w, h)) return;
  LICE_pixel* bits = dest->getBits();
  if (!bits) return;
  const int span = dest->getRowSpan();
  const int modeByte = mode & LICE_BLIT_MODE_MASK;

  const int ia = LICE_IntegerAlphaSingle(alpha);
  if (y1 == y2) {
    const int xa = x1 < x2 ? x1 : x2;
    const int count = (x1 < x2 ? x2 : x1) - xa + 1;
    LICE_pixel* p = LICE_MemoryPixel(bits, span, xa, y1);
    auto run = [&](auto op) { HorzLine<typename decltype(op)::type>(p, count, color, ia); };
    if (!WithExactAlphaCopy(modeByte, alpha, run)) WithLineOp(modeByte, ia, run);
    return;
  }
  if (x1 == x2) {
    const int ya = y1 < y2 ? y1 : y2;
    const int count = (y1 < y2 ? y2 : y1) - ya + 1;
    LICE_pixel* p = LICE_MemoryPixel(bits, span, x1, ya);
    auto run = [&](auto op) { VertLine<typename decltype(op)::type>(p, span, count, color, ia); };
    if (!WithExactAlphaCopy(modeByte, alpha, run)) WithLineOp(modeByte, ia, run);
    return;
  }

  const int dx = x2 - x1;
  const int dy = y2 - y1;
  LICE_pixel* p1 = LICE_MemoryPixel(bits, span, x1, y1);
  if (std::abs(dx) == std::abs(dy)) {
    const int n = std::abs(dx);
    const ptrdiff_t xstep = dx > 0 ? 1 : -1;
    const ptrdiff_t ystep = dy > 0 ? span : -static_cast<ptrdiff_t>(span);
    if (modeByte == LICE_BLIT_MODE_COPY && alpha == 1.0f) {
      if (aa) {
        DiagLineWithSides<LICE_ThreeQuarterWord, LICE_QuarterWord>(p1, n, xstep, ystep, color, 0, 0);
      } else {
        DiagLine<LICE_StoreWord>(p1, n, xstep, ystep, color, 256);
      }
      return;
    }
    if (aa) {
      WithAntialiasedLineOp(modeByte, ia, [&](auto op) {
        DiagLineAA<typename decltype(op)::type>(p1, n, xstep, ystep, color, ia);
      });
    } else {
      WithLineOp(modeByte, ia,
                 [&](auto op) { DiagLine<typename decltype(op)::type>(p1, n, xstep, ystep, color, ia); });
    }
    return;
  }

  // Sloped: start at the end with the smaller major coordinate and step the
  // minor axis toward the other.
  const bool xMajor = std::abs(dx) > std::abs(dy);
  ptrdiff_t majorStep = xMajor ? 1 : span;
  ptrdiff_t minorStep = xMajor ? span : 1;
  int majorDelta = xMajor ? dx : dy;
  int minorDelta = xMajor ? dy : dx;
  LICE_pixel* start = p1;
  LICE_pixel* end = LICE_MemoryPixel(bits, span, x2, y2);
  if (majorDelta < 0) {
    majorDelta = -majorDelta;
    minorDelta = -minorDelta;
    start = end;
    end = p1;
  }
  if (minorDelta < 0) {
    minorDelta = -minorDelta;
    minorStep = -minorStep;
  }
  const int slope = static_cast<int>(static_cast<double>(minorDelta) / static_cast<double>(majorDelta) * 65536.0);
  if (aa) {
    WithAntialiasedLineOp(modeByte, ia, [&](auto op) {
      SlopedLineAA<typename decltype(op)::type>(start, end, slope, majorStep, majorDelta, minorStep, color, ia);
    });
  } else {
    WithLineOp(modeByte, ia, [&](auto op) {
      SlopedLine<typename decltype(op)::type>(start, end, slope, majorStep, majorDelta, minorStep, color, ia);
    });
  }
}
