#include "editor/display/ResponseCurveCache.h"

#include <cstring>

void ResponseCurveCache::SetState(const std::vector<double>& state) {
  // Bitwise: a NaN setting stays equal to itself, and -0 differs from +0 as
  // it may in what the evaluator makes of it.
  const bool same = mHasState && state.size() == mState.size() &&
                    (state.empty() || std::memcmp(state.data(), mState.data(), state.size() * sizeof(double)) == 0);
  if (same) return;
  mState = state;
  mHasState = true;
  for (Curve& c : mCurves) c.rowsKept = c.markerKept = false;
}

void ResponseCurveCache::Clear() {
  mHasState = false;
  for (Curve& c : mCurves) c.rowsKept = c.markerKept = false;
}

ResponseCurveCache::Curve& ResponseCurveCache::CurveOf(int channel, int band) {
  if (band >= 0 && band < 12 && channel == 0) return mCurves[band];
  if (band == -1 && channel >= 0 && channel < 5) return mCurves[12 + channel];
  return mUnkept;
}
