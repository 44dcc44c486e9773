#pragma once

#include <cmath>

#include "dsp/filters/Cascade.h"
#include "dsp/filters/PoleZeroLayout.h"

namespace Dsp {
namespace Butterworth {

// The part every Butterworth design shares: the cascade, the digital layout
// and the analogue prototype, with their arrays inside the object so a design
// never allocates. Not copyable: the cascade and layouts point into it.
template <class Prototype, int MaxStages, int MaxAnalogPoles, int MaxDigitalPoles>
class DesignStorage {
 public:
  static constexpr int kMaxStages = MaxStages;
  static constexpr int kMaxAnalogPoles = MaxAnalogPoles;
  static constexpr int kMaxDigitalPoles = MaxDigitalPoles;

  DesignStorage() {
    cascade.setStageStorage(MaxStages, stageArray);
    digital.setStorage(MaxDigitalPoles, digitalEntries);
    analog.setStorage(MaxAnalogPoles, analogEntries);
  }
  DesignStorage(const DesignStorage&) = delete;
  DesignStorage& operator=(const DesignStorage&) = delete;

  const Cascade& getCascade() const { return cascade; }
  const PoleZeroLayout& getDigitalLayout() const { return digital; }
  const Prototype& getPrototype() const { return analog; }

  // Orders outside 1..maxOrder would overrun the fixed arrays or, at 0,
  // leave stale stages running; they are clamped.
  static int ClampOrder(int order, int maxOrder) {
    return order < 1 ? 1 : (order > maxOrder ? maxOrder : order);
  }
  // The order parameter is a double truncated toward zero; NaN and values
  // beyond int range are clamped before any conversion.
  static int OrderFromParam(double value, int maxOrder) {
    if (!(value >= 1.0)) return 1;
    if (value >= maxOrder) return maxOrder;
    return static_cast<int>(std::trunc(value));
  }

 protected:
  Cascade cascade;
  PoleZeroLayout digital;
  Prototype analog;
  BiquadStage stageArray[MaxStages]{};
  PoleZeroEntry analogEntries[(MaxAnalogPoles + 1) / 2]{};
  PoleZeroEntry digitalEntries[(MaxDigitalPoles + 1) / 2]{};
};

}  // namespace Butterworth
}  // namespace Dsp
