#include "dsp/filters/HighPassMapping.h"

#include <cmath>

namespace Dsp {

namespace {
constexpr double kPi = 3.141592653589793;
}

HighPassMapping::HighPassMapping(double fc) : f(1.0 / std::tan(kPi * fc)) {}

Complex HighPassMapping::map(const Complex& c) const {
  if (IsInfinity(c)) return Complex(1.0, 0.0);
  return -(1.0 + f * c) / (1.0 - f * c);
}

void HighPassMapping::transform(const PoleZeroLayout& analog, PoleZeroLayout& digital) const {
  digital.reset();
  for (int i = 0; i < analog.getNumEntries(); ++i) {
    const PoleZeroEntry& entry = analog[i];
    if (analog.isOddEntry(i)) {
      digital.add(map(entry.pole1), map(entry.zero1));
    } else {
      digital.addPoleZeroConjugatePairs(map(entry.pole1), map(entry.zero1));
    }
  }
  digital.setNormal(kPi - analog.getNormalW(), analog.getNormalGain());
}

}  // namespace Dsp
