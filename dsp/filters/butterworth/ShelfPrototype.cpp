#include "dsp/filters/butterworth/ShelfPrototype.h"

#include <cmath>

namespace Dsp {
namespace Butterworth {

namespace {
constexpr double kPi = 3.141592653589793;
}

ShelfPrototype::ShelfPrototype() { setNormal(kPi, 1.0); }

void ShelfPrototype::design(int order, double gainDb) {
  if (order == cachedOrder && gainDb == cachedGainDb) return;
  cachedOrder = order;
  cachedGainDb = gainDb;
  reset();
  const double gain = std::pow(10.0, gainDb / 20.0);
  const double r = std::pow(gain, 1.0 / (2.0 * order));
  const double n2 = 2.0 * order;
  for (int k = 1; k <= order / 2; ++k) {
    const double angle = (0.5 - (2 * k - 1) / n2) * kPi;
    const Complex direction(std::cos(angle), std::sin(angle));
    addPoleZeroConjugatePairs(-direction / r, -r * direction);
  }
  if (order & 1) add(Complex(-1.0 / r, 0.0), Complex(-r, 0.0));
}

}  // namespace Butterworth
}  // namespace Dsp
