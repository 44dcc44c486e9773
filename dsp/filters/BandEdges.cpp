#include "dsp/filters/BandEdges.h"

#include <algorithm>
#include <cmath>

namespace Dsp {

namespace {
constexpr double kTwoPi = 6.283185307179586;
constexpr double kHighestEdge = 3.1405926535897932;  // pi - 0.001
}

BandEdges ComputeBandEdges(double sampleRate, double centerFrequency, double width) {
  const double l1 = std::log10(centerFrequency);
  const double l2 = std::log10(centerFrequency / width + centerFrequency);
  const double d = l2 - l1;
  double low = std::pow(10.0, l1 - d);
  if (low < 1.0) low = 1.0;
  const double high = std::min(std::pow(10.0, d + l1), sampleRate - 1.0);
  BandEdges edges{kTwoPi * low / sampleRate, kTwoPi * high / sampleRate};
  if (edges.wL < 1e-8) edges.wL = 1e-8;
  if (edges.wH > kHighestEdge) edges.wH = kHighestEdge;
  return edges;
}

}  // namespace Dsp
