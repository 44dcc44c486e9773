#pragma once

namespace Dsp {

// Edges of a band design in radians per sample. The edges lie geometrically
// around the centre, at centre / (1 + 1/width) and centre x (1 + 1/width);
// in hertz they are kept within 1 Hz .. fs - 1 Hz, in radians within
// 1e-8 .. pi - 0.001, so the band transforms never meet a tangent at pi/2.
struct BandEdges {
  double wL;
  double wH;
};

BandEdges ComputeBandEdges(double sampleRate, double centerFrequency, double width);

}  // namespace Dsp
