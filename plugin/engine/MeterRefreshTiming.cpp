#include "plugin/engine/MeterRefreshTiming.h"

#include <algorithm>

#include "plugin/engine/SampleCount.h"

void MeterRefreshTiming::Setup(double sampleRate, double meterRefreshMs, double oneShotMs) {
  // Below 60 Hz the interval would truncate to 0 and divide by zero.
  mMeterRefreshInterval = std::max<int32_t>(1, TruncatedSampleCount(meterRefreshMs * 0.001 * sampleRate));
  mMeterRefreshCounter = 0;
  mOneShotSamples = TruncatedSampleCount(0.001 * oneShotMs * sampleRate);
  mOneShotCountdown = 0;
  mOneShotDone = true;
}

void MeterRefreshTiming::Advance(int nFrames) {
  if (nFrames < 0) nFrames = 0;
  const int64_t counter = static_cast<int64_t>(mMeterRefreshCounter) + nFrames;
  if (counter >= mMeterRefreshInterval) {
    mMeterRefreshCounter = static_cast<int32_t>(counter % mMeterRefreshInterval);
    mMeterRefreshDue.store(true, std::memory_order_relaxed);
  } else {
    mMeterRefreshCounter = static_cast<int32_t>(counter);
  }
  if (!mOneShotDone) {
    mOneShotCountdown -= std::min(nFrames, mOneShotCountdown);
    if (mOneShotCountdown <= 0) {
      mOneShotCountdown = 0;
      mOneShotDone = true;
      mOneShotExpired.store(true, std::memory_order_relaxed);
    }
  }
}

void MeterRefreshTiming::ArmOneShot() {
  mOneShotCountdown = mOneShotSamples;
  mOneShotDone = false;
}

void MeterRefreshTiming::FlagRefresh() {
  mMeterRefreshDue.store(true, std::memory_order_relaxed);
  mOneShotExpired.store(true, std::memory_order_relaxed);
}
