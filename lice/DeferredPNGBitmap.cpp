#include "lice/DeferredPNGBitmap.h"

#include "lice/lice.h"

DeferredPNGBitmap* DeferredPNGBitmap::Open(const std::string& path) {
  int width = 0, height = 0;
  if (!LICE_ReadPNGSize(path.c_str(), &width, &height)) return nullptr;
  return new DeferredPNGBitmap(path, width, height);
}

bool DeferredPNGBitmap::IsDecoded() const { return mDecoded.load(std::memory_order_acquire); }

LICE_MemBitmap& DeferredPNGBitmap::Decoded() const {
  std::call_once(mDecodeOnce, [this] {
    // The file may have changed since its header was read: whatever the
    // decoder leaves is kept only when it is the whole image, of the size
    // the header gave. Callers read that size before the pixels.
    if (!LICE_LoadPNG(mPath.c_str(), &mPixels) || mPixels.getWidth() != mWidth || mPixels.getHeight() != mHeight) {
      mPixels.resize(0, 0);
    }
    mDecoded.store(true, std::memory_order_release);
  });
  return mPixels;
}
