#pragma once

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <cstdint>

// The over lamp beside a level meter: lights at once when the meter reads
// above full scale, stays lit for a hold time after the last such reading,
// then fades. Stepped once per metered sample on the audio thread; the GUI
// reads Value() without a lock, which Step (or, after a block of Advance
// calls, Publish) brings up to date.
class ClipLamp {
 public:
  enum State : int32_t {
    kIdle = 0,
    kHolding = 1,
    kFalling = 4,
  };

  // Rise 10^(-1/(0 x rate)) = 0 (instant), fall with a 0.1 s time constant,
  // hold (int)(3 x rate) samples. Value and state are kept, so a rate
  // change does not blank a lit lamp.
  void SetTiming(double sampleRate);
  // Dark, idle, peak and counter 0.
  void Clear();

  void Step(bool clipping) {
    Advance(clipping);
    Publish();
  }
  // A step the GUI does not see until the next Publish. Inline: the meters
  // take one per metered frame.
  void Advance(bool clipping);
  // Advance of each of n readings (0 or 1: clipping), with the state held
  // in registers for the block.
  void AdvanceBlock(const unsigned char* clipping, int n);
  void Publish() { mValue.store(mLevel, std::memory_order_relaxed); }

  // 0 dark .. 1 lit.
  double Value() const { return mValue.load(std::memory_order_relaxed); }
  // 1 once the lamp has seen clipping since the last Clear.
  double Peak() const { return mPeak; }
  int32_t GetState() const { return mState; }
  // Idle and dark: a step without clipping changes nothing.
  bool IsIdle() const { return mState == kIdle && mLevel == 0.0; }
  int32_t HoldSamples() const { return mHoldSamples; }
  double FallCoeff() const { return mFallCoeff; }

 private:
  double mRiseCoeff = 0.0;
  double mFallCoeff = 0.0;
  int32_t mHoldSamples = 0;
  int32_t mCounter = 0;
  int32_t mState = kIdle;
  double mPeak = 0.0;
  double mLevel = 0.0;  // the audio thread's value
  // Written only by the audio thread (and by set-up under the plug mutex).
  std::atomic<double> mValue{0.0};
};

inline void ClipLamp::Advance(bool clipping) {
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

inline void ClipLamp::AdvanceBlock(const unsigned char* clipping, int n) {
  double value = mLevel, peak = mPeak;
  int32_t counter = mCounter, state = mState;
  const double rise = mRiseCoeff, fall = mFallCoeff;
  const int32_t hold = mHoldSamples;
  for (int i = 0; i < n; ++i) {
    // A run without clipping changes nothing but a hold's counter while the
    // lamp holds, is idle or has faded to +0: found by memchr, not stepped.
    if (!clipping[i] && (state == kIdle || (state == kHolding && counter < hold) ||
                         (state == kFalling && value == 0.0 && !std::signbit(value)))) {
      const void* next = std::memchr(clipping + i, 1, static_cast<size_t>(n - i));
      int run = next ? static_cast<int>(static_cast<const unsigned char*>(next) - clipping) - i : n - i;
      if (state == kHolding) {
        run = std::min(run, hold - counter);
        counter += run;
      }
      i += run - 1;
      continue;
    }
    // Advance, step for step.
    const bool clip = clipping[i] != 0;
    const double target = clip ? 1.0 : 0.0;
    peak = std::max(peak, target);
    if (clip) {
      if (target > value) value = (value - target) * rise + target;
      counter = 0;
      state = kHolding;
    } else if (state == kFalling) {
      value = (value - target) * fall + target;
    } else if (state == kHolding) {
      const int32_t c = counter;
      if (c < hold) counter = c + 1;
      if (c >= hold) {
        state = kFalling;
        value = (value - target) * fall + target;
      }
    }
  }
  mLevel = value;
  mPeak = peak;
  mCounter = counter;
  mState = state;
}
