#include "plugin/engine/BandListen.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.141592653589793;

void DesignSection(ListenSection& s, double frequencyHz, double gainDb, double rate) {
  s.d = 0.999 * BandListen::kWidth + 0.001;
  s.k = 1.0 / std::tan(kPi * frequencyHz / rate);
  s.norm = (s.k + s.d) * s.k + 1.0;
  s.a1 = 2.0 * (1.0 - s.k * s.k) / s.norm;
  s.a2 = ((s.k - s.d) * s.k + 1.0) / s.norm;
  s.b0 = s.d * s.k / s.norm;
  s.gain = std::pow(10.0, gainDb / 20.0);
}

}  // namespace

void BandListen::Init(double processRate) {
  for (auto& channel : mSections) {
    for (ListenSection& s : channel) s = ListenSection();
  }
  mActive = false;
  Design(kStartFrequencyHz, 0.0, processRate);
}

void BandListen::SetActive(bool active) {
  if (active && !mActive) {
    for (auto& channel : mSections) {
      for (ListenSection& s : channel) s.s1 = s.s2 = 0.0;
    }
  }
  mActive = active;
}

void BandListen::Design(double frequencyHz, double gainDb, double processRate) {
  mFrequencyHz = frequencyHz;
  mGainDb = gainDb;
  if (!(processRate > 0.0)) return;
  // 0.499 of the rate keeps the prewarp positive; a NaN frequency lands on 1 Hz.
  const double f = std::clamp(std::isnan(frequencyHz) ? 1.0 : frequencyHz, 1.0, 0.499 * processRate);
  for (auto& channel : mSections) {
    for (ListenSection& s : channel) DesignSection(s, f, gainDb, processRate);
  }
}

void BandListen::ProcessBlock(int channel, const double* in, double* out, int n) {
  ListenSection first = mSections[channel & 1][0];
  ListenSection second = mSections[channel & 1][1];
  for (int i = 0; i < n; ++i) out[i] = second.Process(first.Process(in[i]));
  mSections[channel & 1][0] = first;
  mSections[channel & 1][1] = second;
}
