#pragma once

#include <cstdint>
#include <limits>

// Sample counts come from a host rate times a time in seconds. A NaN or an
// absurd product must not reach a float-to-int conversion, which is
// undefined outside the int range: negatives and NaN give 0, anything past
// the int range its maximum. Otherwise the count is truncated.
inline int32_t TruncatedSampleCount(double samples) {
  if (!(samples > 0.0)) return 0;
  if (samples >= 2147483647.0) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(samples);
}
