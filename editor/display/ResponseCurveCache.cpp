#include "editor/display/ResponseCurveCache.h"

void ResponseCurveCache::SetState(const std::vector<double>& state, Evaluator evaluator, void* context) {
  if (state == mState && evaluator == mEvaluator && context == mContext) return;
  mState = state;
  mEvaluator = evaluator;
  mContext = context;
  for (Curve& c : mCurves) c.valid = false;
}

void ResponseCurveCache::Clear() {
  for (Curve& c : mCurves) c.valid = false;
}

int ResponseCurveCache::SlotOf(int channel, int band) {
  if (band >= 0 && band < 12 && channel == 0) return band;
  if (band == -1 && channel >= 0 && channel < 5) return 12 + channel;
  return -1;
}
