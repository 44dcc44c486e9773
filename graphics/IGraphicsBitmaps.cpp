#include "graphics/IGraphics.h"
#include "lice/lice.h"

// The drawing surface and the two bitmap caches.

void IGraphics::PrepDraw() {
  // A second attach or a resize must not leak the surface it replaces.
  DeleteDrawBitmaps();
  mDrawBitmap = new LICE_SysBitmap(mWidth, mHeight);
  mTmpBitmap = new LICE_MemBitmap(0, 0, 4);
}

void IGraphics::DeleteDrawBitmaps() {
  delete mDrawBitmap;
  mDrawBitmap = nullptr;
  delete mTmpBitmap;
  mTmpBitmap = nullptr;
}

IBitmap IGraphics::LoadBitmap(int resourceID, const char* fileName, int nStates, bool framesAreHorizontal) {
  LICE_IBitmap* pixels = nullptr;
  {
    // Held from the look-up to the insertion, so two callers cannot load
    // and store one identifier twice.
    WDL_MutexLock lock(mLoadedBitmaps.GetMutex());
    pixels = mLoadedBitmaps.Find(resourceID);
    // A failed load is not cached: a later call tries the resource again.
    if (!pixels) pixels = mLoadedBitmaps.Add(LoadResourceBitmap(resourceID, fileName), resourceID);
  }
  IBitmap bitmap;
  if (pixels) {
    bitmap.mW = pixels->getWidth();
    bitmap.mH = pixels->getHeight();
    bitmap.mData = pixels;
  }
  // At least one frame: frame offsets divide by the count.
  bitmap.mN = nStates > 1 ? nStates : 1;
  bitmap.mFramesAreHorizontal = framesAreHorizontal;
  bitmap.mResourceID = resourceID;
  bitmap.mScaleX = mBitmapScaleX;
  bitmap.mScaleY = mBitmapScaleY;
  return bitmap;
}

IBitmap IGraphics::ScaleBitmap(const IBitmap* source, int width, int height) {
  IBitmap bitmap;
  if (!source) return bitmap;
  bitmap.mN = source->mN;
  bitmap.mFramesAreHorizontal = source->mFramesAreHorizontal;
  bitmap.mResourceID = source->mResourceID;
  bitmap.mScaleX = mBitmapScaleX;
  bitmap.mScaleY = mBitmapScaleY;
  // A missing image stays missing at every size; so does one whose pixels
  // could not be decoded (asking for them decodes a deferred image), where
  // a copy would hold whatever its new block held.
  if (!source->mData || width <= 0 || height <= 0 || !source->mData->getBits()) return bitmap;

  LICE_IBitmap* pixels = nullptr;
  {
    WDL_MutexLock lock(mScaledBitmaps.GetMutex());
    // Keyed by size as well: one image is shown at several sizes.
    pixels = mScaledBitmaps.Find(source->mResourceID, width, height);
    if (!pixels) {
      LICE_MemBitmap* scaled = new LICE_MemBitmap(width, height, 4);
      if (scaled->getWidth() != width || scaled->getHeight() != height) {
        delete scaled;
        return bitmap;
      }
      LICE_IBitmap* src = source->mData;
      LICE_ScaledBlit(scaled, src, 0, 0, width, height, 0.0f, 0.0f, static_cast<float>(src->getWidth()),
                      static_cast<float>(src->getHeight()), 1.0f, LICE_BLIT_FILTER_BILINEAR);
      pixels = mScaledBitmaps.Add(scaled, source->mResourceID);
    }
  }
  if (pixels) {
    bitmap.mW = pixels->getWidth();
    bitmap.mH = pixels->getHeight();
    bitmap.mData = pixels;
  }
  return bitmap;
}

void IGraphics::ClearScaledBitmapCache() { mScaledBitmaps.RemoveAll(); }
