#include "tools/ClipCounter.h"

#include <cmath>

void ClipCounter::Add(const double* const* channels, int channelCount, size_t frames) {
  for (int c = 0; c < channelCount; ++c) {
    const double* in = channels[c];
    for (size_t i = 0; i < frames; ++i) {
      const double magnitude = std::fabs(in[i]);
      // Comparisons with NaN are false: it is neither counted nor a peak.
      if (magnitude > 1.0) ++mClipped;
      if (magnitude > mPeak) mPeak = magnitude;
    }
  }
}
