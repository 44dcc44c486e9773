#pragma once

#include "framework/containers/WDL_Mutex.h"

#include <cstdint>

// The tables of one real-FFT size (see RealFFTWithTables). Pooled and
// handed to one user at a time, so the tables built in it are reused by the
// next taker of that size.
struct FFTWorkArea {
  int32_t log2Size;
  int32_t size;         // 2^log2Size
  double inverseScale;  // 2/size: the round-trip factor of the real FFT
  FFTWorkArea* next;
  int32_t* ip;
  double* w;
  // The reordering of the size's n/2 complex points, made with the area, so
  // no transform of this size counts it out again.
  int32_t* bitReverse;
};

// Takes a work area of size 2^log2Size (0..30), making one when the pool
// has none of that size. Thread-safe.
FFTWorkArea* AcquireFFTWorkArea(int32_t log2Size);
// Gives a work area back to the pool. Thread-safe.
void ReleaseFFTWorkArea(FFTWorkArea* area);

// Process-wide free lists by size, behind their own recursive mutex. A
// kernel design takes this mutex while it holds the kernel cache's; nothing
// takes them the other way round.
class FFTWorkAreaPool {
 public:
  static constexpr int kSizes = 31;

  // The pool, or null once it has been torn down at exit; made on first use
  // (a function-local static), so no load order can find it unmade.
  static FFTWorkAreaPool* Live();

  FFTWorkArea* Acquire(int32_t log2Size);
  void Release(FFTWorkArea* area);
  int CountFree(int32_t log2Size);

  // Frees every pooled work area. Areas still held stay with their holders,
  // who free them on release (the pool is gone).
  ~FFTWorkAreaPool();

  static FFTWorkArea* NewWorkArea(int32_t log2Size);
  static void DeleteWorkArea(FFTWorkArea* area);

 private:
  FFTWorkAreaPool() = default;
  FFTWorkAreaPool(const FFTWorkAreaPool&) = delete;
  FFTWorkAreaPool& operator=(const FFTWorkAreaPool&) = delete;

  WDL_Mutex mMutex;
  FFTWorkArea* mFree[kSizes] = {};
};
