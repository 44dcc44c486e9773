#pragma once

#include "dsp/resampler/LowPassKernel.h"
#include "framework/containers/WDL_Mutex.h"

#include <cstdint>

// Returns the kernel for the key with one more reference, designing it on a
// miss. Thread-safe; the design runs under the cache mutex.
LowPassKernel* GetCachedLowPassFilter(double cutoff, double transitionPercent,
                                      double attenuationDb, int32_t variant,
                                      const double* correction);

// Drops one reference; the kernel stays cached. Thread-safe.
void ReleaseLowPassKernel(LowPassKernel* kernel);

// Process-wide kernels in most-recently-used order, behind their own
// recursive mutex. Past kMaxUnused entries a miss evicts the least recently
// used kernel if nothing holds it; a held tail moves to the head instead, so
// the list may grow while kernels are in use.
class LowPassKernelCache {
 public:
  static constexpr int kMaxEntries = 96;

  // The cache, or null once it has been torn down at exit; made on first
  // use (a function-local static).
  static LowPassKernelCache* Live();

  LowPassKernel* Get(double cutoff, double transitionPercent, double attenuationDb,
                     int32_t variant, const double* correction);
  void Release(LowPassKernel* kernel);

  int EntryCount();
  // True when a kernel with this key is cached (no reference taken).
  bool Contains(double cutoff, double transitionPercent, double attenuationDb, int32_t variant);

  // Frees every kernel nobody holds. Kernels still held leave the list and
  // are freed by their last release (the cache is gone by then).
  ~LowPassKernelCache();

 private:
  LowPassKernelCache();
  LowPassKernelCache(const LowPassKernelCache&) = delete;
  LowPassKernelCache& operator=(const LowPassKernelCache&) = delete;

  WDL_Mutex mMutex;
  LowPassKernel* mHead = nullptr;
  int mCount = 0;
};
