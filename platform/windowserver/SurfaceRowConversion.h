#pragma once

#include <cstdint>

// A window's pixels (bytes X, R, G, B) as the words of an X visual.
namespace platform {

struct VisualLayout {
  int redShift = 16, greenShift = 8, blueShift = 0;  // of 8-bit channels in the word
  bool littleEndian = true;                          // of this machine, where the words are written
};

// Converts n pixels into the visual's words over the old ones, storing only
// those that differ; answers the first and last column that changed (a few
// more where several are compared at once), or first > last for none.
// allowAvx2 false keeps to the SSE2 and plain loops.
void ConvertSurfaceRow(const VisualLayout& layout, const uint8_t* in, uint32_t* out, int n, int* first, int* last,
                       bool allowAvx2 = true);

}  // namespace platform
