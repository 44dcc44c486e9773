#include "dsp/filters/BandPassMapping.h"

#include <cmath>

#include "dsp/filters/BandEdges.h"

namespace Dsp {

BandPassMapping::BandPassMapping(double sampleRate, double centerFrequency, double width) {
  const BandEdges edges = ComputeBandEdges(sampleRate, centerFrequency, width);
  wL = edges.wL;
  wH = edges.wH;
  a = std::cos((wH + wL) * 0.5) / std::cos((wH - wL) * 0.5);
  b = 1.0 / std::tan((wH - wL) * 0.5);
  a2 = a * a;
  b2 = b * b;
  ab = a * b;
  ab_2 = 2.0 * ab;
}

void BandPassMapping::map(const Complex& c, Complex& p1, Complex& p2) const {
  if (IsInfinity(c)) {
    p1 = Complex(-1.0, 0.0);
    p2 = Complex(1.0, 0.0);
    return;
  }
  const Complex cp = (1.0 + c) / (1.0 - c);
  const double v = (a2 - 1.0) * b2;
  const Complex s = std::sqrt(4.0 * (v + 1.0) * cp * cp + 8.0 * (v - 1.0) * cp + 4.0 * (v + 1.0));
  const Complex d = 2.0 * (b + 1.0) + 2.0 * (b - 1.0) * cp;
  p1 = (ab_2 * (1.0 + cp) - s) / d;
  p2 = (ab_2 * (1.0 + cp) + s) / d;
}

void BandPassMapping::transform(const PoleZeroLayout& analog, PoleZeroLayout& digital) const {
  digital.reset();
  for (int i = 0; i < analog.getNumEntries(); ++i) {
    const PoleZeroEntry& entry = analog[i];
    Complex p1, p2, z1, z2;
    map(entry.pole1, p1, p2);
    map(entry.zero1, z1, z2);
    if (analog.isOddEntry(i)) {
      digital.add(p1, z1, p2, z2);
    } else {
      digital.addPoleZeroConjugatePairs(p1, z1);
      digital.addPoleZeroConjugatePairs(p2, z2);
    }
  }
  const double w0 = analog.getNormalW();
  digital.setNormal(2.0 * std::atan(std::sqrt(std::tan((wH + w0) * 0.5) * std::tan((w0 + wL) * 0.5))),
                    analog.getNormalGain());
}

}  // namespace Dsp
