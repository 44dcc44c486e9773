#pragma once

#include "lice/LICE_IBitmap.h"

// A bitmap whose pixels live in a memory drawing context, so that platform
// text drawing renders into the same pixels the library blends and the
// window layer can present them. The context's width is rounded up to a
// multiple of 4 pixels and is the row span; the context is kept while a new
// size fits inside it.
class LICE_SysBitmap : public LICE_IBitmap {
 public:
  LICE_SysBitmap(int width = 0, int height = 0);
  ~LICE_SysBitmap() override;

  LICE_SysBitmap(const LICE_SysBitmap&) = delete;
  LICE_SysBitmap& operator=(const LICE_SysBitmap&) = delete;

  LICE_pixel* getBits() override { return mBits; }
  int getWidth() const override { return mWidth; }
  int getHeight() const override { return mHeight; }
  int getRowSpan() const override { return mAllocWidth; }
  bool isFlipped() const override { return false; }
  // A zero or negative size drops the context and answers false, keeping
  // the requested size with null bits; a context that cannot be had (or
  // would exceed INT_MAX bytes) leaves the bitmap 0 x 0 and answers true.
  bool resize(int width, int height) override;
  DrawContext* getDC() override { return mContext; }
  int Extended(int, void*) override { return 0; }

 private:
  int mWidth = 0;
  int mHeight = 0;
  DrawContext* mContext = nullptr;  // owned
  LICE_pixel* mBits = nullptr;      // the context's pixels
  int mAllocWidth = 0;
  int mAllocHeight = 0;
};
