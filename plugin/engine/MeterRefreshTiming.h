#pragma once

#include <atomic>
#include <cstdint>

// When the editor's meters are redrawn, and the one-shot countdown that the
// analyser reset starts. The block path advances both by its frame count;
// the GUI idle hook takes the two flags without a lock.
class MeterRefreshTiming {
 public:
  // Interval (int)(refreshMs x 0.001 x rate), at least 1 sample because it
  // is a divisor; one-shot length (int)(0.001 x oneShotMs x rate). Both
  // counters restart at 0 and no countdown runs. The flags are left alone.
  void Setup(double sampleRate, double meterRefreshMs, double oneShotMs);

  // One block of nFrames samples, while the display refresh is not
  // suspended: sets the meter flag each time the interval is reached and
  // the one-shot flag when a running countdown runs out.
  void Advance(int nFrames);

  // Starts the countdown from its full length.
  void ArmOneShot();

  // Raise both flags, so the editor redraws its readouts at the next tick.
  void FlagRefresh();

  // GUI thread: true once per raised flag.
  bool TakeMeterRefreshDue() { return mMeterRefreshDue.exchange(false, std::memory_order_relaxed); }
  bool TakeOneShotExpired() { return mOneShotExpired.exchange(false, std::memory_order_relaxed); }

  int32_t MeterRefreshInterval() const { return mMeterRefreshInterval; }
  int32_t MeterRefreshCounter() const { return mMeterRefreshCounter; }
  int32_t OneShotSamples() const { return mOneShotSamples; }
  int32_t OneShotCountdown() const { return mOneShotCountdown; }
  bool OneShotDone() const { return mOneShotDone; }

 private:
  int32_t mMeterRefreshInterval = 1;
  int32_t mMeterRefreshCounter = 0;
  int32_t mOneShotSamples = 0;
  int32_t mOneShotCountdown = 0;
  bool mOneShotDone = true;
  std::atomic<bool> mMeterRefreshDue{false};
  std::atomic<bool> mOneShotExpired{false};
};
