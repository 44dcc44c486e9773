#pragma once

// What the drawing operations share besides the combiners: the integer
// alpha, flipped-row addressing and the choice of a combiner by blend mode,
// made once per call so that each loop is instantiated per operation.

#include <cmath>
#include <cstddef>
#include <cstdint>

#include "lice/LICE_Combine.h"
#include "lice/LICE_IBitmap.h"

// Callers pass 0..1 and the arithmetic above 256 is left as it falls, but
// the integer alpha is held within +-4096 (a weight of +-16) so that no
// combiner product can overflow 32 bits; NaN gives 0 and draws nothing.
inline int LICE_SaturateAlpha(double scaled) {
  if (!(scaled > -4096.0)) return scaled < 0.0 ? -4096 : 0;
  if (scaled > 4096.0) return 4096;
  return static_cast<int>(scaled);
}
// trunc(alpha * 256) with the product in double precision (blits, fills).
inline int LICE_IntegerAlpha(float alpha) { return LICE_SaturateAlpha(static_cast<double>(alpha) * 256.0); }
// The same in single precision (lines, circles, polygons).
inline int LICE_IntegerAlphaSingle(float alpha) { return LICE_SaturateAlpha(alpha * 256.0f); }

inline int LICE_SaturateInt(int64_t v) {
  return v > INT32_MAX ? INT32_MAX : (v < INT32_MIN ? INT32_MIN : static_cast<int>(v));
}

// Logical pixel (x, y) of a bitmap and the signed step, in pixels, to
// logical row y + 1 (negative for a bitmap stored bottom-up).
struct LICE_RowWalk {
  LICE_pixel* start;
  ptrdiff_t step;
};
inline LICE_RowWalk LICE_LogicalRows(LICE_pixel* bits, int span, int height, bool flipped, int x, int y) {
  if (flipped) {
    return {bits + static_cast<ptrdiff_t>(height - 1 - y) * span + x, -static_cast<ptrdiff_t>(span)};
  }
  return {bits + static_cast<ptrdiff_t>(y) * span + x, static_cast<ptrdiff_t>(span)};
}
// Memory pixel (x, y), no flipping (the shapes flip their coordinates first).
inline LICE_pixel* LICE_MemoryPixel(LICE_pixel* bits, int span, int x, int y) {
  return bits + static_cast<ptrdiff_t>(y) * span + x;
}

// A per-pixel operation passed to a generic lambda, whose body then
// instantiates its loop for that operation.
template <class Op>
struct LICE_OpTag {
  using type = Op;
};

// Calls f(LICE_OpTag<combiner>()) for the plain combiner of blend modes 1 to
// 5; false (and no call) for any other mode byte.
template <class F>
inline bool LICE_WithBlendCombiner(int modeByte, F&& f) {
  switch (modeByte) {
    case LICE_BLIT_MODE_ADD: f(LICE_OpTag<LICE_AddCombiner>()); return true;
    case LICE_BLIT_MODE_DODGE: f(LICE_OpTag<LICE_DodgeCombiner>()); return true;
    case LICE_BLIT_MODE_MUL: f(LICE_OpTag<LICE_MultiplyCombiner>()); return true;
    case LICE_BLIT_MODE_OVERLAY: f(LICE_OpTag<LICE_OverlayCombiner>()); return true;
    case LICE_BLIT_MODE_HSVADJ: f(LICE_OpTag<LICE_HSVCombiner>()); return true;
    default: return false;
  }
}

// The same for the source-alpha combiners of modes 1 to 5.
template <class F>
inline bool LICE_WithSourceAlphaBlendCombiner(int modeByte, F&& f) {
  switch (modeByte) {
    case LICE_BLIT_MODE_ADD: f(LICE_OpTag<LICE_SourceAlphaCombiner<LICE_AddCombiner, true>>()); return true;
    case LICE_BLIT_MODE_DODGE: f(LICE_OpTag<LICE_SourceAlphaCombiner<LICE_DodgeCombiner, true>>()); return true;
    case LICE_BLIT_MODE_MUL: f(LICE_OpTag<LICE_SourceAlphaCombiner<LICE_MultiplyCombiner, true>>()); return true;
    case LICE_BLIT_MODE_OVERLAY: f(LICE_OpTag<LICE_SourceAlphaCombiner<LICE_OverlayCombiner, false>>()); return true;
    case LICE_BLIT_MODE_HSVADJ: f(LICE_OpTag<LICE_SourceAlphaCombiner<LICE_HSVCombiner, false>>()); return true;
    default: return false;
  }
}
