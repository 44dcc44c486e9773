// Lines between fractional end points. With antialiasing all floating-point
// work happens once per line; the walk itself is integer: a 16.16 minor
// position that splits the alpha between the two pixels straddling the
// exact line at every whole major position.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <utility>

#include "lice/LICE_DrawSupport.h"
#include "lice/LineClip.h"
#include "lice/lice.h"

namespace {

template <class Op>
void SubpixelLineAA(LICE_pixel* p, int n, int frac, int slope16, ptrdiff_t majorStep, ptrdiff_t minorStep,
                    LICE_pixel color, int ia) {
  if (n < 0) return;
  int err = frac;
  for (int i = 0; i <= n; ++i) {
    const int f = err >> 8;
    Op::Apply(p, color, ((255 - f) * ia) >> 8);
    Op::Apply(p + minorStep, color, (f * ia) >> 8);
    err += slope16;
    if (err >= 65536) {
      err -= 65536;
      p += minorStep;
    }
    p += majorStep;
  }
}

int TruncateCoordinate(float v) {
  if (v >= 2147483647.0f) return INT32_MAX;
  if (v <= -2147483648.0f) return INT32_MIN;
  return static_cast<int>(v);
}

// The clipper keeps both pixels of every pair inside, up to the rounding of
// single-precision arithmetic; steps that rounding would carry past an edge
// are dropped, so that no pixel outside the bitmap is ever touched.
int StepsInside(int n, int majorFirst, int majorSize, int minorFirst, int minorSize, bool minorForward, int frac,
                int slope16) {
  if (n < 0 || majorFirst < 0 || majorFirst >= majorSize) return -1;
  if (n > majorSize - 1 - majorFirst) n = majorSize - 1 - majorFirst;
  // The minor position may move by at most room whole pixels.
  const int64_t room = minorForward ? static_cast<int64_t>(minorSize) - 2 - minorFirst
                                    : static_cast<int64_t>(minorFirst) - 1;
  if (room < 0 || (minorForward ? minorFirst < 0 : minorFirst >= minorSize)) return -1;
  if (slope16 > 0) {
    const int64_t fit = ((room + 1) * 65536 - 1 - frac) / slope16;
    if (fit < n) n = static_cast<int>(fit);
  }
  return n;
}

}  // namespace

void LICE_DrawLineFloat(LICE_IBitmap* dest, float x1, float y1, float x2, float y2, LICE_pixel color, float alpha,
                        int mode, bool aa) {
  if (!dest) return;
  if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2)) return;
  if (!aa) {
    LICE_DrawLine(dest, TruncateCoordinate(x1), TruncateCoordinate(y1), TruncateCoordinate(x2),
                  TruncateCoordinate(y2), color, alpha, mode, false);
    return;
  }
  const int w = dest->getWidth();
  const int h = dest->getHeight();
  if (dest->isFlipped()) {
    y1 = static_cast<float>(h - 1) - y1;
    y2 = static_cast<float>(h - 1) - y2;
  }
  if (!ClipLineFloat(&x1, &y1, &x2, &y2, w, h)) return;
  if (x1 == x2 && y1 == y2) return;
  LICE_pixel* bits = dest->getBits();
  if (!bits) return;
  const int span = dest->getRowSpan();

  // The walk runs from the end with the smaller major coordinate.
  const bool xMajor = std::fabs(x2 - x1) > std::fabs(y2 - y1);
  const ptrdiff_t majorStep = xMajor ? 1 : span;
  const ptrdiff_t minorStep = xMajor ? span : 1;
  float startMajor = xMajor ? x1 : y1, startMinor = xMajor ? y1 : x1;
  float endMajor = xMajor ? x2 : y2, endMinor = xMajor ? y2 : x2;
  if (endMajor < startMajor) {
    std::swap(startMajor, endMajor);
    std::swap(startMinor, endMinor);
  }
  const float majorDelta = endMajor - startMajor;
  const float minorDelta = endMinor - startMinor;
  const bool minorForward = minorDelta >= 0.0f;
  const ptrdiff_t signedMinorStep = minorForward ? minorStep : -minorStep;

  const float startC = std::ceil(startMajor);
  const float endF = std::floor(endMajor);
  const float slope = minorDelta / majorDelta;
  const float m0 = (startC - startMajor) * slope + startMinor;  // exact minor at the first whole major
  int frac = static_cast<int>((m0 - std::floor(m0)) * 65536.0f);
  // Walking toward smaller minor positions starts on the upper pixel of the
  // pair, so its share is the mirrored fraction.
  if (!minorForward) frac = 65535 - frac;
  const int majorFirst = static_cast<int>(startC);
  const int minorFirst = static_cast<int>(m0) + (minorForward ? 0 : 1);
  const int slope16 = static_cast<int>(std::fabs(slope) * 65536.0);
  const int n = StepsInside(static_cast<int>(static_cast<double>(endF) - static_cast<double>(startC)), majorFirst,
                            xMajor ? w : h, minorFirst, xMajor ? h : w, minorForward, frac, slope16);
  if (n < 0) return;

  const int ia = LICE_IntegerAlphaSingle(alpha);
  const int modeByte = mode & LICE_BLIT_MODE_MASK;
  if (ia == 0 || (modeByte == LICE_BLIT_MODE_COPY && ia < 0)) return;
  LICE_pixel* p = xMajor ? LICE_MemoryPixel(bits, span, majorFirst, minorFirst)
                         : LICE_MemoryPixel(bits, span, minorFirst, majorFirst);
  auto run = [&](auto op) {
    SubpixelLineAA<typename decltype(op)::type>(p, n, frac, slope16, majorStep, signedMinorStep, color, ia);
  };
  if (modeByte == LICE_BLIT_MODE_COPY) {
    run(LICE_OpTag<LICE_CopyCombiner>());
  } else {
    LICE_WithBlendCombiner(modeByte, run);
  }
}
