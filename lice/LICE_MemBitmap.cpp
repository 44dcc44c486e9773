#include "lice/LICE_MemBitmap.h"

#include <climits>
#include <cstdint>
#include <cstdlib>

LICE_MemBitmap::LICE_MemBitmap(int width, int height, unsigned int rowAlignment) {
  if (rowAlignment >= 2) {
    const unsigned int lowest = rowAlignment & (~rowAlignment + 1);
    mRowAlignMask = (lowest > 16 ? 16 : lowest) - 1;
  }
  if (width > 0 && height > 0) resize(width, height);
}

LICE_MemBitmap::~LICE_MemBitmap() { std::free(mStorage); }

LICE_pixel* LICE_MemBitmap::getBits() {
  if (!mStorage) return nullptr;
  const uintptr_t aligned = (reinterpret_cast<uintptr_t>(mStorage) + 63) & ~static_cast<uintptr_t>(63);
  return reinterpret_cast<LICE_pixel*>(aligned);
}

void LICE_MemBitmap::Release() {
  std::free(mStorage);
  mStorage = nullptr;
  mAllocatedBytes = 0;
  mWidth = 0;
  mHeight = 0;
}

bool LICE_MemBitmap::resize(int width, int height) {
  if (width == mWidth && height == mHeight) return false;
  mWidth = width;
  mHeight = height;
  // In 64 bits: a 32-bit product wraps for large sizes and could pass for a
  // small block. Anything above INT_MAX bytes is treated as out of memory.
  const int64_t span = (static_cast<int64_t>(width) + mRowAlignMask) & ~static_cast<int64_t>(mRowAlignMask);
  const int64_t needed = span * height * 4;
  if (width < 1 || height < 1 || needed <= 0 || needed > INT_MAX) {
    Release();
    return true;
  }
  if (mStorage && needed <= mAllocatedBytes) return true;
  if (mStorage) {
    const int64_t grown = needed + needed / 4;
    const int allocated = static_cast<int>(grown > INT_MAX ? INT_MAX : grown);
    void* block = std::realloc(mStorage, static_cast<size_t>(allocated) + 63);
    if (block) {
      mStorage = block;
      mAllocatedBytes = allocated;
      return true;
    }
    std::free(mStorage);
    mStorage = nullptr;
  }
  // A fresh block gets no growth margin.
  mStorage = std::malloc(static_cast<size_t>(needed) + 63);
  if (!mStorage) {
    Release();
    return true;
  }
  mAllocatedBytes = static_cast<int>(needed);
  return true;
}
