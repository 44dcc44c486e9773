#include "dsp/resampler/FracInterpolator.h"

#include "dsp/resampler/FracDelayTable.h"

#include <algorithm>
#include <cstring>

void InitFracInterpolator(FracInterpolator* state, double stepNumerator, double stepDenominator,
                          double startOffset) {
  state->stepNumerator = stepNumerator;
  state->stepDenominator = stepDenominator;
  state->startOffset = startOffset;
  state->table = FracDelayTable::Shared();
  ResetFracInterpolator(state);
}

void ResetFracInterpolator(FracInterpolator* state) {
  // Entries 498..511 are the 14 samples before the first input.
  std::memset(state->ring, 0, sizeof(state->ring));
  state->fill = 0;
  state->writePos = 0;
  state->readPos = FracInterp::kStartReadPos;
  state->outCount = 0;
  state->lastWhole = 0;
  state->frac = state->startOffset;
  state->base = state->startOffset;
}

int32_t InterpolateFractional(FracInterpolator* state, const double* in, double* out,
                              int32_t count) {
  using namespace FracInterp;
  const double* table = state->table;
  int32_t written = 0;
  while (count > 0) {
    // At most 498 samples ahead of the read window: the ring never
    // overwrites a sample the window still needs.
    const int32_t chunk =
        std::min(std::min(kRingSize - state->writePos, count), kStartReadPos - state->fill);
    std::memcpy(state->ring + state->writePos, in, chunk * sizeof(double));
    std::memcpy(state->ring + state->writePos + kRingSize, in, chunk * sizeof(double));
    in += chunk;
    count -= chunk;
    state->writePos = (state->writePos + chunk) % kRingSize;
    state->fill += chunk;

    while (state->fill >= FracDelay::kTaps - kLead) {
      const double x = state->frac * FracDelay::kPhaseSteps;
      const int k = static_cast<int>(x);
      const double f = x - k;
      const double* row = table + k * FracDelay::kRowStride;
      const double* window = state->ring + state->readPos;
      double acc = 0.0;
      for (int t = 0; t < FracDelay::kTaps; ++t) {
        const double* c = row + 3 * t;
        acc += ((c[2] * f + c[1]) * f + c[0]) * window[t];
      }
      out[written++] = acc;

      ++state->outCount;
      const double position =
          state->outCount * state->stepNumerator / state->stepDenominator + state->base;
      const int32_t whole = static_cast<int32_t>(position);
      const int32_t advance = whole - state->lastWhole;
      state->lastWhole = whole;
      state->frac = position - whole;
      state->readPos = (state->readPos + advance) % kRingSize;
      state->fill -= advance;
    }
  }
  if (state->outCount >= kRebaseAfter) {
    state->outCount = 0;
    state->lastWhole = 0;
    state->base = state->frac;
  }
  return written;
}
