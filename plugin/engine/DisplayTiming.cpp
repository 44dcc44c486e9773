#include "plugin/engine/DisplayTiming.h"

#include <algorithm>

void DisplayTiming::Init(double sampleRate, double meterRefreshMs, double oneShotMs) {
  // The interval divides the counter: below 60 Hz it would truncate to 0.
  mMeterRefreshInterval = std::max(static_cast<int>(meterRefreshMs * 0.001 * sampleRate), 1);
  mMeterRefreshCounter = 0;
  mOneShotSamples = static_cast<int>(0.001 * oneShotMs * sampleRate);
  mOneShotCountdown = 0;
  mOneShotDone = true;
}

void DisplayTiming::ArmOneShot() {
  mOneShotCountdown = mOneShotSamples;
  mOneShotDone = false;
}

void DisplayTiming::Advance(int nFrames) {
  if (nFrames < 0) nFrames = 0;
  mMeterRefreshCounter += nFrames;
  if (mMeterRefreshCounter >= mMeterRefreshInterval) {
    mMeterRefreshCounter %= mMeterRefreshInterval;
    mMeterRefreshDue.store(true, std::memory_order_relaxed);
  }
  if (!mOneShotDone) {
    mOneShotCountdown -= nFrames;
    if (mOneShotCountdown <= 0) {
      mOneShotCountdown = 0;
      mOneShotDone = true;
      mOneShotExpired.store(true, std::memory_order_relaxed);
    }
  }
}
