#include "graphics/mac/SurfaceDoubling.h"

void DoubleSurface(const uint32_t* src, int width, int height, int srcRowSpan, uint32_t* dst, int dstRowSpan) {
  for (int y = 0; y < height; ++y) {
    const uint32_t* in = src + static_cast<long>(y) * srcRowSpan;
    uint32_t* top = dst + static_cast<long>(2 * y) * dstRowSpan;
    uint32_t* bottom = top + dstRowSpan;
    for (int x = 0; x < width; ++x) {
      top[2 * x] = top[2 * x + 1] = bottom[2 * x] = bottom[2 * x + 1] = in[x];
    }
  }
}
