#include <algorithm>

#include "plugin/controller/Brimlow.h"
#include "plugin/engine/ParamIndex.h"

namespace {

constexpr int kNumCurves = 5;  // All, Left, Right, Mid, Side: the channel modes

bool IsCurve(int chMode) { return chMode >= 0 && chMode < kNumCurves; }

}  // namespace

void Brimlow::SyncCurveSelection(int band) {
  ParamMirrors& m = mMirrors;
  if (band < -1 || band >= kNumBands) return;
  if (m.showOnlySelectedCurve && band >= 0 && !m.bandActive[band]) return;

  std::fill(m.showCurve, m.showCurve + kNumCurves, 0);
  if (m.showOnlySelectedCurve) {
    if (band >= 0 && IsCurve(m.bandChMode[band])) m.showCurve[m.bandChMode[band]] = 1;
  } else {
    for (int b = 0; b < kNumBands; ++b) {
      if (m.bandActive[b] && IsCurve(m.bandChMode[b])) m.showCurve[m.bandChMode[b]] = 1;
    }
  }
  // The parameters follow for host and controls; their nested changes do
  // not reach the dispatch, which is why the mirrors were written above.
  for (int curve = 0; curve < kNumCurves; ++curve) SetParameterForUser(kParamShowCurveAll + curve, m.showCurve[curve]);
  CopyCurveFlagsToScope();
}

void Brimlow::ClearCurveSelection() {
  std::fill(mMirrors.showCurve, mMirrors.showCurve + kNumCurves, 0);
  for (int curve = 0; curve < kNumCurves; ++curve) SetParameterForUser(kParamShowCurveAll + curve, 0.0);
  CopyCurveFlagsToScope();
}
