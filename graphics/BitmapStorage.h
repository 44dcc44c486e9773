#pragma once

#include "framework/containers/WDL_Mutex.h"
#include "framework/containers/WDL_PtrList.h"

class LICE_IBitmap;

// A cache of owned bitmaps keyed by resource identifier (and, for scaled
// copies, by the bitmap's own size). Lookups and insertions take the
// cache's recursive mutex; a caller that looks up, makes and inserts holds
// it across the three through GetMutex so that two callers cannot store
// two bitmaps for one key.
class BitmapStorage {
 public:
  BitmapStorage() = default;
  ~BitmapStorage() { RemoveAll(); }
  BitmapStorage(const BitmapStorage&) = delete;
  BitmapStorage& operator=(const BitmapStorage&) = delete;

  // The first bitmap stored for the identifier, or null.
  LICE_IBitmap* Find(int resourceID);
  // The bitmap stored for the identifier at exactly this size, or null.
  LICE_IBitmap* Find(int resourceID, int width, int height);
  // Takes the bitmap. Null (and the bitmap deleted) when the list cannot grow.
  LICE_IBitmap* Add(LICE_IBitmap* bitmap, int resourceID);
  // Deletes every bitmap.
  void RemoveAll();
  int NBitmaps();

  WDL_Mutex* GetMutex() { return &mMutex; }

 private:
  struct Key {
    int mResourceID;
    LICE_IBitmap* mBitmap;
  };

  WDL_PtrList<Key> mKeys;
  WDL_Mutex mMutex;
};
