#include "dsp/resampler/FFTWorkAreaPool.h"

#include "dsp/resampler/RealFFTWithTables.h"

#include <atomic>

namespace {
// Constant-initialised and trivially destroyed: valid before the pool is
// made and after it is gone.
std::atomic<bool> sPoolTornDown{false};
}  // namespace

FFTWorkAreaPool* FFTWorkAreaPool::Live() {
  if (sPoolTornDown.load(std::memory_order_acquire)) return nullptr;
  static FFTWorkAreaPool pool;
  return &pool;
}

FFTWorkAreaPool::~FFTWorkAreaPool() {
  sPoolTornDown.store(true, std::memory_order_release);
  WDL_MutexLock lock(&mMutex);
  for (FFTWorkArea*& head : mFree) {
    while (head) {
      FFTWorkArea* next = head->next;
      DeleteWorkArea(head);
      head = next;
    }
  }
}

FFTWorkArea* FFTWorkAreaPool::NewWorkArea(int32_t log2Size) {
  FFTWorkArea* area = new FFTWorkArea;
  area->log2Size = log2Size;
  area->size = 1 << log2Size;
  area->inverseScale = 2.0 / area->size;
  area->next = nullptr;
  // ip[0] = 0 marks the tables as not yet built.
  area->ip = new int32_t[RealFFTWorkAreaIpSize(area->size)]();
  area->w = new double[area->size / 2 + 1]();
  const int32_t points = area->size >= 2 ? area->size / 2 : 1;
  area->bitReverse = new int32_t[points];
  MakeBitReverseTable(points, area->bitReverse);
  return area;
}

void FFTWorkAreaPool::DeleteWorkArea(FFTWorkArea* area) {
  delete[] area->ip;
  delete[] area->w;
  delete[] area->bitReverse;
  delete area;
}

FFTWorkArea* FFTWorkAreaPool::Acquire(int32_t log2Size) {
  WDL_MutexLock lock(&mMutex);
  FFTWorkArea* area = mFree[log2Size];
  if (area) {
    mFree[log2Size] = area->next;
    area->next = nullptr;
    return area;
  }
  return NewWorkArea(log2Size);
}

void FFTWorkAreaPool::Release(FFTWorkArea* area) {
  WDL_MutexLock lock(&mMutex);
  area->next = mFree[area->log2Size];
  mFree[area->log2Size] = area;
}

int FFTWorkAreaPool::CountFree(int32_t log2Size) {
  WDL_MutexLock lock(&mMutex);
  int n = 0;
  for (FFTWorkArea* a = mFree[log2Size]; a; a = a->next) ++n;
  return n;
}

FFTWorkArea* AcquireFFTWorkArea(int32_t log2Size) {
  if (log2Size < 0 || log2Size >= FFTWorkAreaPool::kSizes) return nullptr;
  FFTWorkAreaPool* pool = FFTWorkAreaPool::Live();
  return pool ? pool->Acquire(log2Size) : FFTWorkAreaPool::NewWorkArea(log2Size);
}

void ReleaseFFTWorkArea(FFTWorkArea* area) {
  if (!area) return;
  FFTWorkAreaPool* pool = FFTWorkAreaPool::Live();
  if (pool) {
    pool->Release(area);
  } else {
    FFTWorkAreaPool::DeleteWorkArea(area);
  }
}
