#pragma once

#include "lice/LICE_Pixel.h"

struct DrawContext;

// What every drawing operation sees of a bitmap: raw rows of pixels, their
// span and their order. Row y of a flipped bitmap is stored at memory row
// height - 1 - y; every operation maps rows by that rule, so a bottom-up
// platform surface draws the same picture as a top-down one.
class LICE_IBitmap {
 public:
  virtual ~LICE_IBitmap() = default;

  // First pixel of memory row 0, or null when the bitmap holds no pixels.
  virtual LICE_pixel* getBits() = 0;
  virtual int getWidth() const = 0;
  virtual int getHeight() const = 0;
  // Distance between the starts of two memory rows, in pixels (at least the
  // width; the padding past a row is never drawn).
  virtual int getRowSpan() const = 0;
  virtual bool isFlipped() const = 0;
  // True when the requested size differed from the current one, even when
  // the memory could not be had (the bitmap is then 0 x 0).
  virtual bool resize(int width, int height) = 0;
  // The platform drawing context that holds the pixels, or null.
  virtual DrawContext* getDC() = 0;
  // No extension is supported by the bitmaps here; 0.
  virtual int Extended(int id, void* data) = 0;
};
