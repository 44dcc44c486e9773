#pragma once

#include "dsp/filters/PoleZeroLayout.h"

namespace Dsp {

// Bilinear transform of an analogue low-pass (cut-off 1 rad/s) to a digital
// high-pass of cut-off fc cycles per sample (s -> f / s with f = 1 / tan(pi fc)).
class HighPassMapping {
 public:
  explicit HighPassMapping(double fc);

  // Replaces the digital layout's entries; DC and Nyquist swap, so the
  // normalisation frequency becomes pi minus the analogue one.
  void transform(const PoleZeroLayout& analog, PoleZeroLayout& digital) const;
  // Infinity maps to +1 (DC), otherwise -(1 + f c) / (1 - f c).
  Complex map(const Complex& c) const;

  double f;
};

}  // namespace Dsp
