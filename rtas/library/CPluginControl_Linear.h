#pragma once

#include "rtas/library/CPluginControl_Continuous.h"

// A continuous range mapped linearly onto the host range, with a step
// count for control surfaces.
class CPluginControl_Linear : public CPluginControl_Continuous {
 public:
  CPluginControl_Linear(uint32_t id, const char* name, double min, double max, double step, double defaultValue,
                        bool automatable, const SPrefixRecord* firstPrefix, const SPrefixRecord* lastPrefix);

  // (max - min) / step + 1, truncated. A step of 0 (or one that gives no
  // finite count) leaves the range unstepped: as many steps as a count
  // holds.
  int32_t GetNumSteps() const override { return mNumSteps; }
  int32_t DoubleToValue(double x) const override;
  double ValueToDouble(int32_t value) const override;

 private:
  static int32_t StepCount(double min, double max, double step);

  int32_t mNumSteps;
};
