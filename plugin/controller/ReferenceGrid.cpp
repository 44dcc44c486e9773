#include "plugin/controller/ReferenceGrid.h"

#include <algorithm>

namespace {

constexpr double kLowestGridHz = 10.0;
constexpr double kHighestGridHz = 20000.0;

}  // namespace

void LayReferenceOnGrid(const double* frequencies, const double* magnitudes, int count, double halfBandHz,
                        double* curve, int curveCount) {
  if (!curve || curveCount <= 0) return;
  if (!frequencies || !magnitudes || count <= 0) {
    std::fill(curve, curve + curveCount, 0.0);
    return;
  }
  const double step = curveCount > 1 ? halfBandHz / (curveCount - 1) : 0.0;
  // above = the first point whose frequency lies above f. The grid
  // frequencies never fall, so neither does it: one pass over the points
  // serves the whole grid, whatever their order.
  int above = 0;
  for (int i = 0; i < curveCount; ++i) {
    double f = step * i;
    // Written so that a NaN half band lands on the low end, not in the scan.
    if (!(f >= kLowestGridHz)) {
      f = kLowestGridHz;
    } else if (f > kHighestGridHz) {
      f = kHighestGridHz;
    }
    while (above < count && frequencies[above] <= f) ++above;
    if (above == 0) {
      curve[i] = magnitudes[0];
    } else if (above == count) {
      curve[i] = magnitudes[count - 1];
    } else {
      // f0 <= f < f1, so the span is positive and t lies in [0, 1). This
      // form cannot give inf - inf for finite magnitudes.
      const double f0 = frequencies[above - 1];
      const double f1 = frequencies[above];
      const double t = (f - f0) / (f1 - f0);
      curve[i] = (1.0 - t) * magnitudes[above - 1] + t * magnitudes[above];
    }
  }
}
