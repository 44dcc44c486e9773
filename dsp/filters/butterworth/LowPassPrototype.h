#pragma once

#include "dsp/filters/PoleZeroLayout.h"

namespace Dsp {
namespace Butterworth {

// Analogue Butterworth low-pass of cut-off 1 rad/s: poles on the unit
// circle of the left half-plane, all zeros at infinity. Normalised to gain 1
// at DC. The layout is kept between designs of the same order, so a change
// of frequency or width alone does no trigonometry here.
class LowPassPrototype : public PoleZeroLayout {
 public:
  LowPassPrototype();

  // order within 1 .. the layout's capacity; does nothing when unchanged.
  void design(int order);

  int getCachedOrder() const { return cachedOrder; }

 private:
  int cachedOrder = -1;
};

}  // namespace Butterworth
}  // namespace Dsp
