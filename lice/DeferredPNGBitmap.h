#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <utility>

#include "lice/LICE_IBitmap.h"
#include "lice/LICE_MemBitmap.h"

// A PNG file's image that knows its size from the header and decodes its
// pixels the first time they are asked for: a plug-in lays its editor out
// when it is made, and a host that never opens the editor should not pay
// for decoding the artwork. A body that fails to decode leaves the bitmap
// 0 x 0 without pixels, so it draws nothing.
class DeferredPNGBitmap final : public LICE_IBitmap {
 public:
  // Null when the file cannot be read or its header is not one
  // LICE_LoadPNG would take.
  static DeferredPNGBitmap* Open(const std::string& path);

  LICE_pixel* getBits() override { return Decoded().getBits(); }
  int getWidth() const override { return IsDecoded() ? mPixels.getWidth() : mWidth; }
  int getHeight() const override { return IsDecoded() ? mPixels.getHeight() : mHeight; }
  int getRowSpan() const override { return Decoded().getRowSpan(); }
  bool isFlipped() const override { return false; }
  bool resize(int width, int height) override { return Decoded().resize(width, height); }
  DrawContext* getDC() override { return nullptr; }
  int Extended(int, void*) override { return 0; }

  bool IsDecoded() const;

 private:
  DeferredPNGBitmap(std::string path, int width, int height)
      : mPath(std::move(path)), mWidth(width), mHeight(height) {}

  LICE_MemBitmap& Decoded() const;

  const std::string mPath;
  const int mWidth;
  const int mHeight;
  // Drawing may first reach the pixels from any thread that draws.
  mutable std::once_flag mDecodeOnce;
  mutable std::atomic<bool> mDecoded{false};
  mutable LICE_MemBitmap mPixels;
};
