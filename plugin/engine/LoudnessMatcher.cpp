#include "plugin/engine/LoudnessMatcher.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <limits>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "dsp/Levels.h"

namespace {

double TimeConstantSeconds(int mode) {
  switch (mode) {
    case LoudnessMatcher::kModeFast:
      return 0.6;
    case LoudnessMatcher::kModeSlow:
      return 3.0;
    default:
      return 0.3;
  }
}

// A NaN or infinite sample would stick in the envelope for good and hold the
// gain at 0 until the next set-up; such a frame counts as silence instead.
double FiniteEnergy(double energy) { return std::isfinite(energy) ? energy : 0.0; }

}  // namespace

double LoudnessMatcher::Envelope::Follow(double energy) {
  if (energy > peak) peak = energy;
  const double coefficient = energy <= envelope ? fall : rise;
  envelope = energy + (envelope - energy) * coefficient;
  return std::log(std::sqrt(envelope));
}

void LoudnessMatcher::ReserveDelay(int maxDelaySamples) {
  if (maxDelaySamples > mInputDelay.GetCapacity()) mInputDelay.SetCapacity(maxDelaySamples);
}

void LoudnessMatcher::SetLoudnessMatchMode(int mode, int delaySamples, double sampleRate) {
  mMode = mode;
  const double coefficient = Levels::TimeConstantCoefficient(TimeConstantSeconds(mode), sampleRate);
  for (Envelope* e : {&mInput, &mOutput}) {
    e->rise = e->fall = coefficient;
    e->envelope = e->peak = 0.0;
  }
  const int length = delaySamples > 0 ? delaySamples : 0;
  // Under the same latency and rate the output goes on playing the input
  // the ring holds: emptying it would compare that output with silence,
  // a 12 dB cut for a latency's time and a slow recovery after, each time
  // the match is turned on or set again (a preset or a state load). A new
  // latency or rate comes with a restarted signal chain, so the old input
  // is dropped then (SetLength empties the ring when the length changes).
  const bool sameInput = length == mInputDelay.GetLength() && sampleRate == mSampleRate;
  // The ring keeps its largest capacity: a latency that moves back and forth
  // between filter modes then costs no allocation after the first time.
  if (length > mInputDelay.GetCapacity()) {
    mInputDelay.SetCapacity(length);
  } else if (!sameInput) {
    mInputDelay.Clear();
  }
  mInputDelay.SetLength(length);
  mSampleRate = sampleRate;
}

void LoudnessMatcher::KeepInputHistory(const double* inL, const double* inR, int n) {
  if (mInputDelay.GetLength() == 0) return;
  constexpr int kChunk = 256;
  double energy[kChunk];
  for (int offset = 0; offset < n; offset += kChunk) {
    const int k = std::min(kChunk, n - offset);
    int i = 0;
#if defined(__SSE2__)
    // The same products, sum and test two frames a step: an infinite or NaN
    // sum fails the compare and its mask makes it 0.
    const __m128d largest = _mm_set1_pd(std::numeric_limits<double>::max());
    for (; i + 2 <= k; i += 2) {
      const __m128d l = _mm_loadu_pd(inL + offset + i);
      const __m128d r = inR ? _mm_loadu_pd(inR + offset + i) : _mm_setzero_pd();
      const __m128d e = _mm_add_pd(_mm_mul_pd(l, l), _mm_mul_pd(r, r));
      _mm_storeu_pd(energy + i, _mm_and_pd(e, _mm_cmple_pd(e, largest)));
    }
#endif
    for (; i < k; ++i) {
      const double l = inL[offset + i];
      const double r = inR ? inR[offset + i] : 0.0;
      energy[i] = FiniteEnergy(l * l + r * r);
    }
    mInputDelay.Write(energy, k);
  }
}

double LoudnessMatcher::GetLoudnessMatchGain(double inL, double inR, double outL, double outR) {
  if (mMode == kModeOff) {
    KeepInputHistory(&inL, &inR, 1);
    return 1.0;
  }
  const double delayedIn = std::fabs(mInputDelay.Push(FiniteEnergy(inL * inL + inR * inR)));
  const double a = mInput.Follow(delayedIn);
  const double b = mOutput.Follow(std::fabs(FiniteEnergy(outL * outL + outR * outR)));
  double d = kLevelScale * a - kLevelScale * b;
  // Both envelopes silent: -inf minus -inf.
  if (std::isnan(d)) return 0.0;
  if (d < -kMaxGainDb) d = -kMaxGainDb;
  if (d > kMaxGainDb) d = kMaxGainDb;
  return std::exp(d * Levels::kDbToLog);
}

bool LoudnessMatcher::GetLoudnessMatchGains(const double* inL, const double* inR, const double* outL,
                                            const double* outR, double* gains, int n) {
  if (mMode == kModeOff) {
    KeepInputHistory(inL, inR, n);
    return false;
  }
  for (int i = 0; i < n; ++i) {
    gains[i] = GetLoudnessMatchGain(inL[i], inR ? inR[i] : 0.0, outL[i], outR ? outR[i] : 0.0);
  }
  return true;
}
