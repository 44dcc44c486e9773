#pragma once

// Row loops of the operations the editor runs on every frame, written a few
// pixels at a time where the processor allows it. Each gives exactly the
// bits of its per-pixel combiner in LICE_Combine.h.

#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "lice/LICE_Combine.h"
#include "lice/LICE_Pixel.h"

// Asks for the pixel rows pixels on (a column's pixel that many steps of
// step ahead) to be brought in for writing: a row apart is beyond what the
// processor fetches ahead by itself. The address is only a hint, never
// dereferenced, and may lie outside the bitmap.
inline void LICE_PrefetchAhead(const LICE_pixel* p, ptrdiff_t step, int rows) {
  __builtin_prefetch(reinterpret_cast<const void*>(reinterpret_cast<uintptr_t>(p) +
                                                   static_cast<uintptr_t>(step * rows) * sizeof(LICE_pixel)),
                     1);
}

// Every pixel becomes color.
void LICE_RowStore(LICE_pixel* dest, int w, LICE_pixel color);

// The whole-word shortcuts with a constant source: a quarter, half or three
// quarters of color over the destination.
void LICE_RowQuarter(LICE_pixel* dest, int w, LICE_pixel color);
void LICE_RowHalf(LICE_pixel* dest, int w, LICE_pixel color);
void LICE_RowThreeQuarter(LICE_pixel* dest, int w, LICE_pixel color);

// The copy combiner with a constant source at integer alpha 1..255.
void LICE_RowCopyBlend(LICE_pixel* dest, int w, LICE_pixel color, int alpha);

// The shortcuts and the copy blend down a column of n pixels, step pixels
// apart (the columns under a curve, vertical lines).
void LICE_ColumnQuarter(LICE_pixel* dest, ptrdiff_t step, int n, LICE_pixel color);
void LICE_ColumnHalf(LICE_pixel* dest, ptrdiff_t step, int n, LICE_pixel color);
void LICE_ColumnThreeQuarter(LICE_pixel* dest, ptrdiff_t step, int n, LICE_pixel color);
void LICE_ColumnCopyBlend(LICE_pixel* dest, ptrdiff_t step, int n, LICE_pixel color, int alpha);

// The source-alpha copy at integer alpha 256, source and destination not
// overlapping: opaque pixels are stored, transparent ones skipped, the rest
// blended.
void LICE_RowCopySourceAlpha256(LICE_pixel* dest, const LICE_pixel* src, int w);

// The source-alpha copy at integer alpha 1..255, no overlap.
void LICE_RowCopySourceAlpha(LICE_pixel* dest, const LICE_pixel* src, int w, int alpha);

// A per-pixel operation of LICE_Combine.h with a constant colour along a
// row of n pixels, through the row loops above where one gives its bits.
template <class Op>
inline void LICE_RowOp(LICE_pixel* p, int n, LICE_pixel color, int alpha) {
  if constexpr (std::is_same_v<Op, LICE_StoreWord>) {
    LICE_RowStore(p, n, color);
  } else if constexpr (std::is_same_v<Op, LICE_QuarterWord>) {
    LICE_RowQuarter(p, n, color);
  } else if constexpr (std::is_same_v<Op, LICE_HalfWord>) {
    LICE_RowHalf(p, n, color);
  } else if constexpr (std::is_same_v<Op, LICE_ThreeQuarterWord>) {
    LICE_RowThreeQuarter(p, n, color);
  } else {
    if constexpr (std::is_same_v<Op, LICE_CopyCombiner>) {
      if (alpha >= 1 && alpha <= 255) return LICE_RowCopyBlend(p, n, color, alpha);
    }
    for (int i = 0; i < n; ++i) Op::Apply(p + i, color, alpha);
  }
}

// The same down a column of n pixels, step pixels apart.
template <class Op>
inline void LICE_ColumnOp(LICE_pixel* p, ptrdiff_t step, int n, LICE_pixel color, int alpha) {
  if constexpr (std::is_same_v<Op, LICE_QuarterWord>) {
    LICE_ColumnQuarter(p, step, n, color);
  } else if constexpr (std::is_same_v<Op, LICE_HalfWord>) {
    LICE_ColumnHalf(p, step, n, color);
  } else if constexpr (std::is_same_v<Op, LICE_ThreeQuarterWord>) {
    LICE_ColumnThreeQuarter(p, step, n, color);
  } else {
    if constexpr (std::is_same_v<Op, LICE_CopyCombiner>) {
      if (alpha >= 1 && alpha <= 255) return LICE_ColumnCopyBlend(p, step, n, color, alpha);
    }
    for (int i = 0; i < n; ++i, p += step) {
      LICE_PrefetchAhead(p, step, 16);
      Op::Apply(p, color, alpha);
    }
  }
}
