#pragma once

#include <cstdint>

// The last stage of a converter whose ratio is not a power of two: each
// output is a 30-tap windowed-sinc interpolation of the input at an
// arbitrary fractional position, with taps from the shared FracDelayTable.
// It adds no latency: the first output lies `startOffset` samples after the
// first input sample.
struct FracInterpolator {
  // A 512-sample ring followed by its mirror, so any 30-tap window starting
  // in 0..511 is contiguous.
  double ring[1024];
  double stepNumerator;    // input rate at the interpolator
  double stepDenominator;  // output rate
  double startOffset;
  int32_t fill;      // samples written past the window start, minus 14
  int32_t writePos;  // 0..511
  int32_t readPos;   // 0..511, start of the read window
  int32_t outCount;  // outputs since the last re-basing
  int32_t lastWhole;
  double frac;
  double base;
  const double* table;
};

namespace FracInterp {
constexpr int kRingSize = 512;
// Samples the read window keeps before the interpolation point.
constexpr int kLead = 14;
constexpr int kStartReadPos = kRingSize - kLead;  // 498
// Outputs between re-basings of the position, so that positions are always
// computed from at most about a thousand steps rather than accumulated.
constexpr int kRebaseAfter = 1001;
}  // namespace FracInterp

// Sets the interpolator up at the given step (input samples per output
// sample = numerator / denominator) and start offset, at its start position.
void InitFracInterpolator(FracInterpolator* state, double stepNumerator, double stepDenominator,
                          double startOffset);

// Back to the start position with a silent history; the step is kept.
void ResetFracInterpolator(FracInterpolator* state);

// Consumes all `count` input samples and returns the outputs written to
// `out`. `out` may be `in` when the step is at least 1: each input chunk is
// copied into the ring before the outputs it allows are written.
int32_t InterpolateFractional(FracInterpolator* state, const double* in, double* out,
                              int32_t count);
