#include "plugin/engine/ClipLamp.h"

#include <algorithm>

#include "dsp/Levels.h"
#include "plugin/engine/SampleCount.h"

void ClipLamp::SetTiming(double sampleRate) {
  mRiseCoeff = Levels::TimeConstantCoefficient(0.0, sampleRate);
  mFallCoeff = Levels::TimeConstantCoefficient(0.1, sampleRate);
  mHoldSamples = TruncatedSampleCount(3.0 * sampleRate);
}

void ClipLamp::Clear() {
  mLevel = 0.0;
  mValue.store(0.0, std::memory_order_relaxed);
  mPeak = 0.0;
  mCounter = 0;
  mState = kIdle;
}
