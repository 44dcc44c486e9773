#pragma once

#include "platform/quickdraw/QuickDraw.h"

// The seven palettes of bevelled plates: c2 is the face, c0 and c1 the lit
// edges, c3 to c5 the shaded ones (swapped for an inverse plate).
struct PlatePalette {
  static constexpr int kCount = 7;
  RGBColor c[6];

  // Indexes outside 0 to 6 give palette 0: a description may carry any
  // integer there.
  static const PlatePalette& Get(int index);
};
