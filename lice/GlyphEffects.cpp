#include "lice/GlyphEffects.h"

namespace {

constexpr int kThreshold = 130;

}  // namespace

void RotateCoverage(const unsigned char* image, int width, int height, bool counterClockwise,
                    unsigned char* out) {
  // The result has `width` rows of `height` columns.
  for (int r = 0; r < width; ++r) {
    for (int c = 0; c < height; ++c) {
      const int oldRow = counterClockwise ? c : height - 1 - c;
      const int oldCol = counterClockwise ? width - 1 - r : r;
      out[r * height + c] = image[oldRow * width + oldCol];
    }
  }
}

void ThresholdCoverage(unsigned char* image, int count) {
  for (int i = 0; i < count; ++i) image[i] = image[i] > kThreshold ? 255 : 0;
}

void AddShadow(unsigned char* image, int width, int height) {
  ThresholdCoverage(image, width * height);
  for (int r = 0; r < height; ++r) {
    for (int c = 0; c < width; ++c) {
      unsigned char* p = image + r * width + c;
      if (*p) continue;
      const bool left = c > 0 && p[-1] == 255;
      const bool upper = r > 0 && p[-width] == 255;
      const bool upperLeft = r > 0 && c > 0 && p[-width - 1] == 255;
      if (left || upper || upperLeft) *p = kEffectCoverage;
    }
  }
}

void AddOutline(unsigned char* image, int width, int height) {
  ThresholdCoverage(image, width * height);
  for (int r = 0; r < height; ++r) {
    for (int c = 0; c < width; ++c) {
      unsigned char* p = image + r * width + c;
      if (*p) continue;
      const bool left = c > 0 && p[-1] == 255;
      const bool right = c + 1 < width && p[1] == 255;
      const bool upper = r > 0 && p[-width] == 255;
      const bool lower = r + 1 < height && p[width] == 255;
      if (left || right || upper || lower) *p = kEffectCoverage;
    }
  }
}
