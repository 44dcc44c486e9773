#include "dsp/filters/BandStopMapping.h"

#include <cmath>

#include "dsp/filters/BandEdges.h"

namespace Dsp {

namespace {
constexpr double kPi = 3.141592653589793;
}

BandStopMapping::BandStopMapping(double sampleRate, double centre, double width)
    : centerFrequency(centre) {
  const BandEdges edges = ComputeBandEdges(sampleRate, centre, width);
  wL = edges.wL;
  wH = edges.wH;
  a = std::cos((wH + wL) * 0.5) / std::cos((wH - wL) * 0.5);
  b = std::tan((wH - wL) * 0.5);
  a2 = a * a;
  b2 = b * b;
}

void BandStopMapping::map(const Complex& c, Complex& p1, Complex& p2) const {
  const Complex cp = IsInfinity(c) ? Complex(-1.0, 0.0) : (1.0 + c) / (1.0 - c);
  const Complex s = std::sqrt(4.0 * (a2 + b2 - 1.0) * cp * cp + 8.0 * (b2 - a2 + 1.0) * cp +
                              4.0 * (a2 + b2 - 1.0));
  const Complex d = (1.0 + b) + (b - 1.0) * cp;
  p1 = (a * (1.0 - cp) + s * 0.5) / d;
  p2 = (a * (1.0 - cp) - s * 0.5) / d;
}

void BandStopMapping::transform(const PoleZeroLayout& analog, PoleZeroLayout& digital) const {
  digital.reset();
  for (int i = 0; i < analog.getNumEntries(); ++i) {
    const PoleZeroEntry& entry = analog[i];
    Complex p1, p2, z1, z2;
    map(entry.pole1, p1, p2);
    map(entry.zero1, z1, z2);
    if (analog.isOddEntry(i)) {
      digital.add(p1, z1, p2, z2);
    } else {
      // Coinciding roots (a zero discriminant) are treated as a conjugate
      // pair, like every other pair of band-stop zeros.
      if (z2 == z1) z2 = std::conj(z1);
      digital.addPoleZeroConjugatePairs(p1, z1);
      digital.addPoleZeroConjugatePairs(p2, z2);
    }
  }
  // The threshold is compared with hertz, so in practice the band-stop is
  // normalised at DC, which is always in its pass band.
  digital.setNormal(centerFrequency < 0.25 ? kPi : 0.0, analog.getNormalGain());
}

}  // namespace Dsp
