#include "dsp/filters/Cascade.h"

#include <algorithm>
#include <cmath>

namespace Dsp {

namespace {
constexpr double kTwoPi = 6.283185307179586;
}

void Cascade::setStageStorage(int maxStageCount, BiquadStage* stageArray) {
  maxStages = stageArray ? std::max(maxStageCount, 0) : 0;
  stages = stageArray;
  numStages = 0;
}

void Cascade::setLayout(const PoleZeroLayout& layout) {
  numStages = std::min(layout.getNumEntries(), maxStages);
  for (int i = 0; i < numStages; ++i) {
    const PoleZeroEntry& entry = layout[i];
    if (entry.isFirstOrder()) {
      stages[i].setFirstOrder(entry.pole1, entry.zero1);
    } else {
      stages[i].setSecondOrder(entry.pole1, entry.zero1, entry.pole2, entry.zero2);
    }
  }
  if (numStages < 1) return;
  const double magnitude = std::abs(response(layout.getNormalW() / kTwoPi));
  // A response of 0 or infinity at the normalisation point cannot be
  // normalised; scaling by inf or NaN would only poison the numerator.
  if (magnitude > 0.0 && std::isfinite(magnitude)) {
    stages[0].scaleNumerator(layout.getNormalGain() / magnitude);
  }
}

Complex Cascade::response(double normalizedFrequency) const {
  const double w = kTwoPi * normalizedFrequency;
  const Complex z1(std::cos(w), std::sin(-w));
  const Complex z2(std::cos(-2.0 * w), std::sin(-2.0 * w));
  Complex numerator(1.0, 0.0);
  Complex denominator(1.0, 0.0);
  for (int i = 0; i < numStages; ++i) {
    const BiquadStage& s = stages[i];
    numerator *= s.b0 + s.b1 * z1 + s.b2 * z2;
    denominator *= 1.0 + s.a1 * z1 + s.a2 * z2;
  }
  return numerator / denominator;
}

}  // namespace Dsp
