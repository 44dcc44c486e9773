#pragma once

#include "dsp/filters/PoleZeroLayout.h"

namespace Dsp {

// Bilinear transform of an analogue low-pass (cut-off 1 rad/s) to a digital
// low-pass of cut-off fc cycles per sample: s is prewarped by f = tan(pi fc).
class LowPassMapping {
 public:
  explicit LowPassMapping(double fc);

  // Replaces the digital layout's entries; the normalisation point is copied.
  void transform(const PoleZeroLayout& analog, PoleZeroLayout& digital) const;
  // Infinity maps to -1 (Nyquist), otherwise (1 + f c) / (1 - f c).
  Complex map(const Complex& c) const;

  double f;
};

}  // namespace Dsp
