#include "framework/containers/WDL_HeapBuf.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <utility>

WDL_HeapBuf::WDL_HeapBuf(int granularity, int minimumAllocation)
    : mGranularity(std::max(granularity, 1)), mMinimumAllocation(std::max(minimumAllocation, 0)) {}

WDL_HeapBuf::~WDL_HeapBuf() { std::free(mBuf); }

WDL_HeapBuf::WDL_HeapBuf(const WDL_HeapBuf& other)
    : mGranularity(other.mGranularity), mMinimumAllocation(other.mMinimumAllocation) {
  if (other.mSize > 0 && Resize(other.mSize, false) && mSize == other.mSize) {
    std::memcpy(mBuf, other.mBuf, static_cast<size_t>(mSize));
  }
}

WDL_HeapBuf& WDL_HeapBuf::operator=(const WDL_HeapBuf& other) {
  if (this != &other) {
    Resize(other.mSize, false);
    if (mSize == other.mSize && mSize > 0) {
      std::memcpy(mBuf, other.mBuf, static_cast<size_t>(mSize));
    }
  }
  return *this;
}

WDL_HeapBuf::WDL_HeapBuf(WDL_HeapBuf&& other) noexcept
    : mBuf(std::exchange(other.mBuf, nullptr)),
      mGranularity(other.mGranularity),
      mAllocated(std::exchange(other.mAllocated, 0)),
      mSize(std::exchange(other.mSize, 0)),
      mMinimumAllocation(other.mMinimumAllocation) {}

WDL_HeapBuf& WDL_HeapBuf::operator=(WDL_HeapBuf&& other) noexcept {
  if (this != &other) {
    std::free(mBuf);
    mBuf = std::exchange(other.mBuf, nullptr);
    mGranularity = other.mGranularity;
    mAllocated = std::exchange(other.mAllocated, 0);
    mSize = std::exchange(other.mSize, 0);
    mMinimumAllocation = other.mMinimumAllocation;
  }
  return *this;
}

namespace {

// Block size for a request, in 64-bit so that sizes near INT_MAX cannot wrap.
int64_t BlockSizeFor(int64_t newSize, int64_t granularity) {
  if (newSize == 0) return 0;
  if (granularity >= 4096) {
    int64_t step = 4096;
    const int64_t coarse = std::max(newSize / 2, granularity) & ~int64_t{4095};
    if (coarse >= 4096) step = std::min<int64_t>(coarse, 4194304);
    // The 96-byte allowance keeps large blocks just under a multiple of 4096.
    return ((newSize + step + 96) & ~int64_t{4095}) - 96;
  }
  return newSize + std::max(newSize / 2, granularity);
}

}  // namespace

void* WDL_HeapBuf::Resize(int newSize, bool allowShrink) {
  if (newSize < 0) newSize = 0;
  if (newSize == mSize) return Get();

  int64_t shrinkBelow = 0;
  if (newSize < mSize && allowShrink) {
    shrinkBelow = std::max<int64_t>(
        std::min<int64_t>(int64_t{mAllocated} - 4 * int64_t{mGranularity}, mAllocated / 2), 1);
  }

  if (newSize > mAllocated || newSize < shrinkBelow) {
    int64_t newAlloc = std::max<int64_t>(BlockSizeFor(newSize, mGranularity), mMinimumAllocation);
    if (newAlloc > INT_MAX) newAlloc = newSize;  // no room for slack: exact fit

    if (newAlloc != mAllocated) {
      if (newAlloc < 1) {
        std::free(mBuf);
        mBuf = nullptr;
        mAllocated = 0;
        mSize = 0;
        return nullptr;
      }
      void* block = std::realloc(mBuf, static_cast<size_t>(newAlloc));
      if (!block) {
        block = std::malloc(static_cast<size_t>(newAlloc));
        if (block) {
          if (mBuf) std::memcpy(block, mBuf, static_cast<size_t>(std::min(newSize, mSize)));
          std::free(mBuf);
        }
      }
      if (!block) {
        // A shrink can keep the old block; a grow fails and leaves all as it was.
        if (newSize > mAllocated) return Get();
      } else {
        mBuf = block;
        mAllocated = static_cast<int>(newAlloc);
      }
    }
  }

  mSize = newSize;
  return Get();
}
