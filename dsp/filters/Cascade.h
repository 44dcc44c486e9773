#pragma once

#include "dsp/filters/BiquadStage.h"
#include "dsp/filters/PoleZeroLayout.h"

namespace Dsp {

// A chain of biquad stages built from a pole/zero layout. The stage array
// belongs to the design object that holds the cascade.
class Cascade {
 public:
  Cascade() = default;
  Cascade(const Cascade&) = delete;
  Cascade& operator=(const Cascade&) = delete;

  // Attaches the stage array and empties the cascade.
  void setStageStorage(int maxStageCount, BiquadStage* stageArray);
  // One stage per layout entry (at most the capacity), then stage 0's
  // numerator is scaled so that the magnitude at the layout's normalisation
  // point is its normalGain. Only the magnitude is corrected: a negative
  // real response stays negative.
  void setLayout(const PoleZeroLayout& layout);
  // The complex response at a normalised frequency (cycles per sample),
  // with z^-1 = e^(-jw). 1 when no stage is in use.
  Complex response(double normalizedFrequency) const;

  int getNumStages() const { return numStages; }
  int getMaxStages() const { return maxStages; }
  const BiquadStage& operator[](int index) const { return stages[index]; }

 private:
  int numStages = 0;
  int maxStages = 0;
  BiquadStage* stages = nullptr;
};

}  // namespace Dsp
