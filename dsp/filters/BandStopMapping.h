#pragma once

#include "dsp/filters/PoleZeroLayout.h"

namespace Dsp {

// Digital low-pass to band-stop transform applied to an analogue low-pass
// after a unit bilinear transform. The result has
// |H(w)| = |H_analogue(j b sin w / (cos w - a))|.
class BandStopMapping {
 public:
  BandStopMapping(double sampleRate, double centerFrequency, double width);

  // Replaces the digital layout's entries: every analogue entry gives two.
  // Normalised at pi when the centre in hertz is below 0.25, else at DC.
  void transform(const PoleZeroLayout& analog, PoleZeroLayout& digital) const;
  void map(const Complex& c, Complex& p1, Complex& p2) const;

  double centerFrequency;
  double wH;
  double wL;
  double a;
  double b;  // tan of half the width
  double a2;
  double b2;
};

}  // namespace Dsp
