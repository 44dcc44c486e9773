#include "plugin/engine/BiquadSection.h"

#include <algorithm>
#include <cmath>

void ClearBiquadState(BiquadSection& s) { s.x1 = s.x2 = s.x0 = s.y1 = s.y2 = s.y0 = 0.0; }

void CopyBiquadDesign(const BiquadSection& from, BiquadSection& to) {
  to.a0 = from.a0;
  to.a1 = from.a1;
  to.a2 = from.a2;
  to.b0 = from.b0;
  to.b1 = from.b1;
  to.b2 = from.b2;
  to.a0n = from.a0n;
  to.a1n = from.a1n;
  to.a2n = from.a2n;
  to.b0n = from.b0n;
  to.b1n = from.b1n;
  to.b2n = from.b2n;
  to.kind = from.kind;
}

double GetBiquadResponseDB(const BiquadSection& s, double frequency, double sampleRate) {
  constexpr double kPi = 3.141592653589793;
  const double f = s.kind == kSectionLowPass1Twice ? frequency * 0.5 : frequency;
  // |b0 + b1 z^-1 + b2 z^-2|^2 on the unit circle written with
  // phi = 4 sin^2(w/2), so no complex arithmetic is needed.
  const double sn = std::sin(f / (0.5 * sampleRate) * kPi * 0.5);
  const double phi = 4.0 * sn * sn;
  const double n = (s.b0 * s.b2 * phi - (4.0 * s.b0 * s.b2 + (s.b0 + s.b2) * s.b1)) * phi +
                   (s.b0 + s.b1 + s.b2) * (s.b0 + s.b1 + s.b2);
  const double d = (s.a0 * s.a2 * phi - (4.0 * s.a0 * s.a2 + (s.a0 + s.a2) * s.a1)) * phi +
                   (s.a0 + s.a1 + s.a2) * (s.a0 + s.a1 + s.a2);
  return 10.0 * std::log10(std::max(1e-24, n)) - 10.0 * std::log10(std::max(1e-24, d));
}
