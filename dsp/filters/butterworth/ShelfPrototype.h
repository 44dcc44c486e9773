#pragma once

#include "dsp/filters/PoleZeroLayout.h"

namespace Dsp {
namespace Butterworth {

// Analogue Butterworth low shelf: gain G = 10^(gainDb/20) at DC and 1 at
// infinity, half the gain in dB at 1 rad/s. Poles are the Butterworth poles
// divided by r = G^(1/(2N)), zeros the same directions times r, so that
// |H(jw)|^2 = G (G + w^2N) / (1 + G w^2N). Normalised at infinity (pi once
// mapped) with gain 1.
class ShelfPrototype : public PoleZeroLayout {
 public:
  ShelfPrototype();

  // Does nothing when both order and gain are unchanged.
  void design(int order, double gainDb);

  int getCachedOrder() const { return cachedOrder; }
  double getCachedGainDb() const { return cachedGainDb; }

 private:
  int cachedOrder = -1;
  double cachedGainDb = 0.0;
};

}  // namespace Butterworth
}  // namespace Dsp
