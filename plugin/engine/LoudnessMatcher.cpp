#include "plugin/engine/LoudnessMatcher.h"

#include <cmath>
#include <initializer_list>

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
  // The ring keeps its largest capacity: a latency that moves back and forth
  // between filter modes then costs no allocation after the first time.
  if (length > mInputDelay.GetCapacity()) {
    mInputDelay.SetCapacity(length);
  } else {
    mInputDelay.Clear();
  }
  mInputDelay.SetLength(length);
}

double LoudnessMatcher::GetLoudnessMatchGain(double inL, double inR, double outL, double outR) {
  if (mMode == kModeOff) return 1.0;
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
  if (mMode == kModeOff) return false;
  for (int i = 0; i < n; ++i) {
    gains[i] = GetLoudnessMatchGain(inL[i], inR ? inR[i] : 0.0, outL[i], outR ? outR[i] : 0.0);
  }
  return true;
}
