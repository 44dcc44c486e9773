#pragma once

#include "dsp/filters/PoleZeroLayout.h"

namespace Dsp {

// Digital low-pass to band-pass transform (Constantinides) applied to an
// analogue low-pass after a unit bilinear transform: each analogue point
// gives two digital points, the roots of a quadratic. The result has
// |H(w)| = |H_analogue(j b (cos w - a) / sin w)|.
class BandPassMapping {
 public:
  BandPassMapping(double sampleRate, double centerFrequency, double width);

  // Replaces the digital layout's entries: every analogue entry gives two.
  void transform(const PoleZeroLayout& analog, PoleZeroLayout& digital) const;
  // Infinity gives -1 and +1.
  void map(const Complex& c, Complex& p1, Complex& p2) const;

  double wH;
  double wL;
  double a;  // cos of the centre, in the transform's sense
  double b;  // 1 / tan of half the width
  double a2;
  double b2;
  double ab;
  double ab_2;
};

}  // namespace Dsp
