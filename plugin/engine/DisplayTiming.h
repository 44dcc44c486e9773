#pragma once

#include <atomic>

// Counts processed samples for the editor: a meter refresh about every
// 16.7 ms and a one-shot countdown (1 s) that the parameter code arms. The
// two flags are set on the audio thread and cleared by the GUI idle hook
// without the plug-in's lock, hence atomics (lock-free bytes).
class DisplayTiming {
 public:
  static constexpr double kMeterRefreshMs = 16.666666666666668;
  static constexpr double kOneShotMs = 1000.0;

  // New intervals for a sample rate; counters back at 0, no countdown.
  void Init(double sampleRate, double meterRefreshMs = kMeterRefreshMs, double oneShotMs = kOneShotMs);
  void ArmOneShot();
  void Advance(int nFrames);

  // Test-and-clear, for the GUI idle hook.
  bool TakeMeterRefreshDue() { return mMeterRefreshDue.exchange(false, std::memory_order_relaxed); }
  bool TakeOneShotExpired() { return mOneShotExpired.exchange(false, std::memory_order_relaxed); }
  // Set by the parameter code so that the readouts redraw after a change.
  void MarkMeterRefreshDue() { mMeterRefreshDue.store(true, std::memory_order_relaxed); }
  void MarkOneShotExpired() { mOneShotExpired.store(true, std::memory_order_relaxed); }

  int GetMeterRefreshInterval() const { return mMeterRefreshInterval; }
  int GetMeterRefreshCounter() const { return mMeterRefreshCounter; }
  int GetOneShotCountdown() const { return mOneShotCountdown; }
  bool IsOneShotDone() const { return mOneShotDone; }

 private:
  int mMeterRefreshInterval = 1;
  int mMeterRefreshCounter = 0;
  int mOneShotSamples = 0;
  int mOneShotCountdown = 0;
  bool mOneShotDone = true;
  std::atomic<bool> mMeterRefreshDue{false};
  std::atomic<bool> mOneShotExpired{false};
};
