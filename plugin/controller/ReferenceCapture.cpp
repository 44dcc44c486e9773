#include "plugin/controller/ReferenceCapture.h"

#include <algorithm>
#include <cmath>

#include "framework/containers/WDL_Mutex.h"
#include "plugin/controller/ReferenceGrid.h"

bool ReferenceCapture::Set(const double* frequencies, const double* magnitudes, int count) {
  if (count != GetCount() || !frequencies || !magnitudes) return false;
  for (int i = 0; i < count; ++i) {
    if (!std::isfinite(frequencies[i]) || !std::isfinite(magnitudes[i])) return false;
  }
  std::copy(frequencies, frequencies + count, mFrequencies.begin());
  std::copy(magnitudes, magnitudes + count, mMagnitudes.begin());
  return true;
}

void ReferenceCapture::LayOnGrid(double* curve, int curveCount, double sampleRate) const {
  LayReferenceOnGrid(mFrequencies.data(), mMagnitudes.data(), GetCount(), sampleRate * 0.5, curve, curveCount);
}

void ReferenceCapture::Commit(const ReferenceCapture& fresh, WDL_Mutex* mutex, double* curve, int curveCount,
                              double sampleRate) {
  WDL_MutexLock lock(mutex);
  if (&fresh != this) {
    mFrequencies = fresh.mFrequencies;
    mMagnitudes = fresh.mMagnitudes;
  }
  if (curve) LayOnGrid(curve, curveCount, sampleRate);
}
