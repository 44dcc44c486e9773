#include "rtas/library/CPluginControl_Linear.h"

#include <cmath>
#include <limits>

#include "rtas/library/ControlValue.h"

CPluginControl_Linear::CPluginControl_Linear(uint32_t id, const char* name, double min, double max, double step,
                                             double defaultValue, bool automatable, const SPrefixRecord* firstPrefix,
                                             const SPrefixRecord* lastPrefix)
    : CPluginControl_Continuous(id, name, min, max, defaultValue, automatable, firstPrefix, lastPrefix),
      mNumSteps(StepCount(min, max, step)) {
  SetValue(CPluginControl_Linear::GetDefaultValue());
}

int32_t CPluginControl_Linear::StepCount(double min, double max, double step) {
  constexpr int32_t kMost = std::numeric_limits<int32_t>::max();
  const double steps = (max - min) / step + 1.0;
  if (step == 0.0 || !std::isfinite(steps) || steps >= kMost) return kMost;
  if (steps < 1.0) return 1;
  return static_cast<int32_t>(steps);
}

int32_t CPluginControl_Linear::DoubleToValue(double x) const { return DoubleToControlValue(x, GetMin(), GetMax()); }

double CPluginControl_Linear::ValueToDouble(int32_t value) const {
  return ControlValueToDouble(value, GetMin(), GetMax());
}
