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

void ClipLamp::Advance(bool clipping) {
  const double target = clipping ? 1.0 : 0.0;
  double value = mLevel;
  mPeak = std::max(mPeak, target);
  if (clipping) {
    // Every clipping sample restarts the hold, not only the one that lit
    // the lamp: otherwise a lamp held at 1.0 by clipping that lasts a while
    // counts its hold from the first clip and goes dark early, or at once
    // when the clipping outlasted the hold.
    if (target > value) value = (value - target) * mRiseCoeff + target;
    mCounter = 0;
    mState = kHolding;
  } else if (mState == kFalling) {
    value = (value - target) * mFallCoeff + target;
  } else if (mState == kHolding) {
    // Compared before the increment: the lamp stays at its value for
    // exactly mHoldSamples samples after the last clip.
    const int32_t c = mCounter;
    if (c < mHoldSamples) mCounter = c + 1;
    if (c >= mHoldSamples) {
      mState = kFalling;
      value = (value - target) * mFallCoeff + target;
    }
  }
  mLevel = value;
}
