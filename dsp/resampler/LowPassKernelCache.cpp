#include "dsp/resampler/LowPassKernelCache.h"

#include "dsp/resampler/FFTWorkAreaPool.h"

#include <atomic>

namespace {

std::atomic<bool> sCacheTornDown{false};

bool SameKey(const LowPassKernel* k, double cutoff, double transitionPercent,
             double attenuationDb, int32_t variant) {
  return k->cutoff == cutoff && k->transitionPercent == transitionPercent &&
         k->attenuationDb == attenuationDb && k->variant == variant;
}

LowPassKernel* NewKernel(double cutoff, double transitionPercent, double attenuationDb,
                         int32_t variant, const double* correction) {
  LowPassKernel* k = new LowPassKernel();
  k->cutoff = cutoff;
  k->transitionPercent = transitionPercent;
  k->attenuationDb = attenuationDb;
  k->variant = variant;
  k->refCount = 1;
  DesignLowPassKernel(k, correction);
  return k;
}

}  // namespace

LowPassKernelCache::LowPassKernelCache() {
  // The pool is made first so that it outlives the cache at exit.
  FFTWorkAreaPool::Live();
}

LowPassKernelCache* LowPassKernelCache::Live() {
  if (sCacheTornDown.load(std::memory_order_acquire)) return nullptr;
  static LowPassKernelCache cache;
  return &cache;
}

LowPassKernelCache::~LowPassKernelCache() {
  WDL_MutexLock lock(&mMutex);
  sCacheTornDown.store(true, std::memory_order_release);
  while (mHead) {
    LowPassKernel* next = mHead->next;
    mHead->next = nullptr;
    if (mHead->refCount <= 0) DeleteLowPassKernel(mHead);
    mHead = next;
  }
  mCount = 0;
}

LowPassKernel* LowPassKernelCache::Get(double cutoff, double transitionPercent,
                                       double attenuationDb, int32_t variant,
                                       const double* correction) {
  WDL_MutexLock lock(&mMutex);
  LowPassKernel* prev = nullptr;
  for (LowPassKernel* k = mHead; k; prev = k, k = k->next) {
    if (SameKey(k, cutoff, transitionPercent, attenuationDb, variant)) {
      ++k->refCount;
      if (prev) {
        prev->next = k->next;
        k->next = mHead;
        mHead = k;
      }
      return k;
    }
  }

  if (mCount >= kMaxEntries && mHead) {
    LowPassKernel* beforeTail = nullptr;
    LowPassKernel* tail = mHead;
    while (tail->next) {
      beforeTail = tail;
      tail = tail->next;
    }
    if (beforeTail) {
      beforeTail->next = nullptr;
      if (tail->refCount <= 0) {
        DeleteLowPassKernel(tail);
        --mCount;
      } else {
        tail->next = mHead;
        mHead = tail;
      }
    } else if (tail->refCount <= 0) {
      DeleteLowPassKernel(tail);
      mHead = nullptr;
      --mCount;
    }
  }

  LowPassKernel* k = NewKernel(cutoff, transitionPercent, attenuationDb, variant, correction);
  ++mCount;
  k->next = mHead;
  mHead = k;
  return k;
}

void LowPassKernelCache::Release(LowPassKernel* kernel) {
  WDL_MutexLock lock(&mMutex);
  --kernel->refCount;
}

int LowPassKernelCache::EntryCount() {
  WDL_MutexLock lock(&mMutex);
  return mCount;
}

bool LowPassKernelCache::Contains(double cutoff, double transitionPercent, double attenuationDb,
                                  int32_t variant) {
  WDL_MutexLock lock(&mMutex);
  for (LowPassKernel* k = mHead; k; k = k->next) {
    if (SameKey(k, cutoff, transitionPercent, attenuationDb, variant)) return true;
  }
  return false;
}

LowPassKernel* GetCachedLowPassFilter(double cutoff, double transitionPercent,
                                      double attenuationDb, int32_t variant,
                                      const double* correction) {
  LowPassKernelCache* cache = LowPassKernelCache::Live();
  if (cache) return cache->Get(cutoff, transitionPercent, attenuationDb, variant, correction);
  // After teardown each caller gets a kernel of its own.
  return NewKernel(cutoff, transitionPercent, attenuationDb, variant, correction);
}

void ReleaseLowPassKernel(LowPassKernel* kernel) {
  if (!kernel) return;
  LowPassKernelCache* cache = LowPassKernelCache::Live();
  if (cache) {
    cache->Release(kernel);
  } else if (--kernel->refCount <= 0) {
    DeleteLowPassKernel(kernel);
  }
}
