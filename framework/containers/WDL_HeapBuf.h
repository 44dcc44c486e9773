#pragma once

#include <cstddef>

// A growable raw byte block. Growth is geometric so that appending one item
// at a time costs amortised constant time; shrinking happens only when the
// caller allows it and the new size is well below the block.
class WDL_HeapBuf {
 public:
  explicit WDL_HeapBuf(int granularity = 4096, int minimumAllocation = 0);
  ~WDL_HeapBuf();

  WDL_HeapBuf(const WDL_HeapBuf& other);
  WDL_HeapBuf& operator=(const WDL_HeapBuf& other);
  WDL_HeapBuf(WDL_HeapBuf&& other) noexcept;
  WDL_HeapBuf& operator=(WDL_HeapBuf&& other) noexcept;

  // Returns the buffer, or null when newSize is 0. When memory cannot be
  // had the block and size stay as they were and the old buffer is
  // returned: callers test GetSize() after growing.
  void* Resize(int newSize, bool allowShrink = true);

  void* Get() const { return mSize ? mBuf : nullptr; }
  int GetSize() const { return mSize; }
  int GetGranularity() const { return mGranularity; }
  int GetAllocated() const { return mAllocated; }

 private:
  void* mBuf = nullptr;
  int mGranularity;
  int mAllocated = 0;
  int mSize = 0;
  int mMinimumAllocation;
};
