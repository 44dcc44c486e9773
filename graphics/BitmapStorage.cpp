#include "graphics/BitmapStorage.h"

#include "lice/lice.h"

LICE_IBitmap* BitmapStorage::Find(int resourceID) {
  WDL_MutexLock lock(&mMutex);
  for (int i = 0; i < mKeys.GetSize(); ++i) {
    const Key* key = mKeys.Get(i);
    if (key->mResourceID == resourceID && key->mBitmap) return key->mBitmap;
  }
  return nullptr;
}

LICE_IBitmap* BitmapStorage::Find(int resourceID, int width, int height) {
  WDL_MutexLock lock(&mMutex);
  for (int i = 0; i < mKeys.GetSize(); ++i) {
    const Key* key = mKeys.Get(i);
    if (key->mResourceID == resourceID && key->mBitmap && key->mBitmap->getWidth() == width &&
        key->mBitmap->getHeight() == height) {
      return key->mBitmap;
    }
  }
  return nullptr;
}

LICE_IBitmap* BitmapStorage::Add(LICE_IBitmap* bitmap, int resourceID) {
  if (!bitmap) return nullptr;
  WDL_MutexLock lock(&mMutex);
  Key* key = new Key{resourceID, bitmap};
  if (!mKeys.Add(key)) {
    delete key;
    delete bitmap;
    return nullptr;
  }
  return bitmap;
}

void BitmapStorage::RemoveAll() {
  WDL_MutexLock lock(&mMutex);
  for (int i = mKeys.GetSize() - 1; i >= 0; --i) {
    Key* key = mKeys.Get(i);
    delete key->mBitmap;
    delete key;
  }
  mKeys.Empty();
}

int BitmapStorage::NBitmaps() {
  WDL_MutexLock lock(&mMutex);
  return mKeys.GetSize();
}
