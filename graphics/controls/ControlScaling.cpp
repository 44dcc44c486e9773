#include "graphics/controls/ControlScaling.h"

#include <climits>
#include <cmath>

namespace ControlScaling {

int TruncToInt(double v) {
  if (std::isnan(v)) return 0;
  if (v >= static_cast<double>(INT_MAX)) return INT_MAX;
  if (v <= static_cast<double>(INT_MIN)) return INT_MIN;
  return static_cast<int>(v);
}

IRECT ScaledRECT(const IRECT& unscaled, double scaleX, double scaleY) {
  return IRECT(TruncToInt(unscaled.L * scaleX), TruncToInt(unscaled.T * scaleY), TruncToInt(unscaled.R * scaleX),
               TruncToInt(unscaled.B * scaleY));
}

IText ScaledText(const IText& unscaled, double scaleY) {
  return ResizedText(unscaled, TruncToInt(unscaled.mSize * scaleY));
}

IText ResizedText(const IText& text, int size) {
  IText resized = text;
  resized.mSize = size;
  resized.mCached = nullptr;
  return resized;
}

}  // namespace ControlScaling
