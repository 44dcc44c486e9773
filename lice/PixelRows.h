#pragma once

// Row loops of the operations the editor runs on every frame, written a few
// pixels at a time where the processor allows it. Each gives exactly the
// bits of its per-pixel combiner in LICE_Combine.h.

#include <cstddef>
#include <cstdint>

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
// The same down a column of n pixels, step pixels apart.
void LICE_ColumnCopyBlend(LICE_pixel* dest, ptrdiff_t step, int n, LICE_pixel color, int alpha);

// The source-alpha copy at integer alpha 256, source and destination not
// overlapping: opaque pixels are stored, transparent ones skipped, the rest
// blended.
void LICE_RowCopySourceAlpha256(LICE_pixel* dest, const LICE_pixel* src, int w);

// The source-alpha copy at integer alpha 1..255, no overlap.
void LICE_RowCopySourceAlpha(LICE_pixel* dest, const LICE_pixel* src, int w, int alpha);
