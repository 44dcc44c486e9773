#pragma once

#include "framework/containers/WDL_HeapBuf.h"

// A typed array over WDL_HeapBuf. Elements are raw memory: T must be
// trivially copyable, and new elements are not initialised.
template <class T>
class WDL_TypedBuf {
 public:
  explicit WDL_TypedBuf(int granularity = 4096) : mHeap(granularity) {}

  T* Resize(int count, bool allowShrink = true) {
    if (count < 0) count = 0;
    if (static_cast<long long>(count) * sizeof(T) > 0x7fffffffLL) return Get();
    return static_cast<T*>(mHeap.Resize(count * static_cast<int>(sizeof(T)), allowShrink));
  }
  T* Get() const { return static_cast<T*>(mHeap.Get()); }
  int GetSize() const { return mHeap.GetSize() / static_cast<int>(sizeof(T)); }

 private:
  WDL_HeapBuf mHeap;
};
