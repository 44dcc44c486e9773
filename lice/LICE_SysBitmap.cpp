#include "lice/LICE_SysBitmap.h"

#include <climits>
#include <cstdint>

#include "lice/DrawContext.h"

LICE_SysBitmap::LICE_SysBitmap(int width, int height) { resize(width, height); }

LICE_SysBitmap::~LICE_SysBitmap() { DeleteDrawContext(mContext); }

bool LICE_SysBitmap::resize(int width, int height) {
  if (width == mWidth && height == mHeight) return false;
  mWidth = width;
  mHeight = height;
  // A negative size must not keep pixels under a negative width, hence > 0
  // rather than a test against zero alone.
  if (width > 0 && height > 0 && mAllocWidth >= width && mAllocHeight >= height && mBits) return true;

  DeleteDrawContext(mContext);
  mContext = nullptr;
  mBits = nullptr;
  const int64_t allocWidth = (static_cast<int64_t>(width) + 3) & ~static_cast<int64_t>(3);
  if (allocWidth < 1 || height < 1) {
    mAllocWidth = static_cast<int>(allocWidth);
    mAllocHeight = height;
    return false;
  }
  if (allocWidth * height * 4 <= INT_MAX) mContext = CreateMemContext(static_cast<int>(allocWidth), height);
  if (!mContext) {
    // Out of memory, or more than INT_MAX bytes (which no drawing
    // arithmetic is built for): an empty bitmap.
    mWidth = 0;
    mHeight = 0;
    mAllocWidth = 0;
    mAllocHeight = 0;
    return true;
  }
  mAllocWidth = static_cast<int>(allocWidth);
  mAllocHeight = height;
  mBits = static_cast<LICE_pixel*>(GetMemContextBits(mContext));
  return true;
}
