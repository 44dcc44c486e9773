#pragma once

#include <cstddef>
#include <cstdint>

// Watches what goes into an integer WAV file: the samples beyond full
// scale (magnitude above 1.0), which the writer can only clip, and the
// largest magnitude met. NaN, which the writer turns into 0, counts as
// neither.
class ClipCounter {
 public:
  // channels[c][i] for c < channelCount, i < frames.
  void Add(const double* const* channels, int channelCount, size_t frames);

  uint64_t Clipped() const { return mClipped; }
  double Peak() const { return mPeak; }

 private:
  uint64_t mClipped = 0;
  double mPeak = 0.0;
};
