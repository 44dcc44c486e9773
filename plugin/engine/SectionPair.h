#pragma once

// Two second-order sections side by side, one per lane: lane 0 belongs to
// the first channel of a pass (left or mid), lane 1 to the second (right or
// side). The band cascade packs its sections into these once per block, so
// the runners can step both lanes with one vector operation; a lane that
// carries no section has zero coefficients and its output is never read.
//
// The step is the band's own, operation for operation (see BiquadDetail::Step
// and ProcessBiquadSample): x = in + offset, then
//   y = ((b1 x1 + b0 x) + b2 x2) - a1 y1 - a2 y2 + offset,
// evaluated left to right, without fused multiply-adds.
struct alignas(16) SectionPair {
  double b0[2], b1[2], b2[2], a1[2], a2[2];
  double x1[2], x2[2], y1[2], y2[2];
};
