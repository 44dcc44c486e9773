#pragma once

#include "dsp/filters/BiquadStage.h"

namespace Dsp {

// Direct Form II state of one stage: the last two intermediate values.
// Unlike the equaliser's own sections, nothing is added against denormals
// here; callers that need it feed their own offset.
class DirectFormII {
 public:
  void reset() {
    w1 = 0.0;
    w2 = 0.0;
  }

  double process1(double x, const BiquadStage& s) {
    const double w = x - s.a1 * w1 - s.a2 * w2;
    const double y = s.b0 * w + s.b1 * w1 + s.b2 * w2;
    w2 = w1;
    w1 = w;
    return y;
  }

  double w1 = 0.0;
  double w2 = 0.0;
};

}  // namespace Dsp
