#pragma once

#include "lice/LICE_IBitmap.h"

// A bitmap whose pixels live in a heap block of its own. Rows start on a
// 64-byte boundary and are padded to the row alignment; the block grows
// with 25 % headroom and never shrinks while the bitmap holds pixels, so
// repeated resizing seldom reallocates. Pixel contents after a resize are
// not defined: callers redraw.
class LICE_MemBitmap : public LICE_IBitmap {
 public:
  // rowAlignment counts pixels: 0 or 1 pads nothing, otherwise its lowest
  // set bit is used (12 counts as 4), at most 16.
  LICE_MemBitmap(int width = 0, int height = 0, unsigned int rowAlignment = 4);
  ~LICE_MemBitmap() override;

  LICE_MemBitmap(const LICE_MemBitmap&) = delete;
  LICE_MemBitmap& operator=(const LICE_MemBitmap&) = delete;

  LICE_pixel* getBits() override;
  int getWidth() const override { return mWidth; }
  int getHeight() const override { return mHeight; }
  int getRowSpan() const override { return static_cast<int>((mWidth + mRowAlignMask) & ~mRowAlignMask); }
  bool isFlipped() const override { return false; }
  // A size that is not positive, or whose pixels would exceed INT_MAX bytes,
  // or whose memory cannot be had leaves the bitmap 0 x 0 without storage.
  bool resize(int width, int height) override;
  DrawContext* getDC() override { return nullptr; }
  int Extended(int, void*) override { return 0; }

  // Pixel bytes the block holds, not counting its 63 bytes of alignment slack.
  int GetAllocatedBytes() const { return mAllocatedBytes; }

 private:
  void Release();

  void* mStorage = nullptr;  // from the C allocator; null exactly when empty
  int mWidth = 0;
  int mHeight = 0;
  int mAllocatedBytes = 0;
  unsigned int mRowAlignMask = 0;  // 0 or 2^k - 1, at most 15
};
