#pragma once

#include "dsp/filters/PoleZeroEntry.h"

namespace Dsp {

// One second-order section, H(z) = (b0 + b1 z^-1 + b2 z^-2) / (1 + a1 z^-1 + a2 z^-2).
// a0 is always 1: the other coefficients are stored already divided by it.
// The member order is part of the object layout and is kept as it is.
struct BiquadStage {
  double a0 = 1.0;
  double a1 = 0.0;
  double a2 = 0.0;
  double b1 = 0.0;
  double b2 = 0.0;
  double b0 = 1.0;

  // Real parts only. The numerator is 1 - zero z^-1, with the zero where the
  // design put it: -zero + z^-1 has the same magnitude but turns the pass
  // band of an odd-order high-pass (zero at DC) upside down.
  void setFirstOrder(const Complex& pole, const Complex& zero);
  // A pole (zero) with imaginary part other than 0 is taken as one of a
  // conjugate pair; otherwise both poles (zeros) are real.
  void setSecondOrder(const Complex& pole1, const Complex& zero1, const Complex& pole2,
                      const Complex& zero2);
  void scaleNumerator(double factor);
};

}  // namespace Dsp
