#include "dsp/filters/butterworth/LowPassPrototype.h"

#include <cmath>

namespace Dsp {
namespace Butterworth {

namespace {
constexpr double kPi = 3.141592653589793;
}

LowPassPrototype::LowPassPrototype() { setNormal(0.0, 1.0); }

void LowPassPrototype::design(int order) {
  if (order == cachedOrder) return;
  cachedOrder = order;
  reset();
  const double n2 = 2.0 * order;
  for (int k = 1; k <= order / 2; ++k) {
    const double angle = kPi / 2 + (2 * k - 1) * kPi / n2;
    addPoleZeroConjugatePairs(Complex(std::cos(angle), std::sin(angle)), InfinityPoint());
  }
  if (order & 1) add(Complex(-1.0, 0.0), InfinityPoint());
}

}  // namespace Butterworth
}  // namespace Dsp
