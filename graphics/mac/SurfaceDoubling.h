#pragma once

#include <cstdint>

// The editor's surface at twice its resolution, for screens of two device
// pixels a point: every pixel becomes a 2 x 2 block.

// Pixels a row of the doubled image: 2 x width + 3 rounded down to a
// multiple of 4, which always holds the 2 x width pixels.
inline int DoubledRowSpan(int width) { return (2 * width + 3) & ~3; }

// src: width x height pixels, srcRowSpan a row; dst: 2 x height rows of
// dstRowSpan pixels.
void DoubleSurface(const uint32_t* src, int width, int height, int srcRowSpan, uint32_t* dst, int dstRowSpan);
