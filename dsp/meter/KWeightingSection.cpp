#include "dsp/meter/KWeightingSection.h"

#include <cmath>

namespace {
// pi times the analogue corner frequencies (1681.97 Hz and 38.135 Hz).
constexpr double kPreFilterPiHz = 5284.078578647624;
constexpr double kHighPassPiHz = 119.80611514558424;
}  // namespace

void KWeightingSection::Clear() {
  x1 = x2 = input = y1 = y2 = output = lastOutput = 0.0;
}

void KWeightingSection::DesignPreFilter(double sampleRateHz) {
  sampleRate = sampleRateHz;
  centreHz = 1681.974450955532;
  q = 0.70717523695542;
  vh = 1.58486470113086;
  vb = 1.25872093023256;
  unity = 1.0;
  divisor = 1.0;
  k = std::tan(kPreFilterPiHz / sampleRateHz);
  k2 = k * k;
  a0 = k2 + k / q + 1.0;
  a1 = 2.0 * (k2 - 1.0) / a0;
  a2 = (k2 - k / q + 1.0) / a0;
  b0 = (k2 + vb * k / q + vh) / a0;
  b1 = 2.0 * (k2 - vh) / a0;
  b2 = (k2 - vb * k / q + vh) / a0;
  Clear();
}

void KWeightingSection::DesignHighPass(double sampleRateHz) {
  sampleRate = sampleRateHz;
  centreHz = 38.13547087611304;
  q = 0.50032703732504;
  vh = 1.00499489871469;
  vb = 0.0;
  unity = 0.0;
  divisor = 1.0;
  k = std::tan(kHighPassPiHz / sampleRateHz);
  k2 = k * k;
  a0 = k2 + k / q + 1.0;
  a1 = 2.0 * (k2 - 1.0) / a0;
  a2 = (k2 - k / q + 1.0) / a0;
  b0 = vh / a0;
  b1 = -2.0 * vh / a0;
  b2 = vh / a0;
  Clear();
}
