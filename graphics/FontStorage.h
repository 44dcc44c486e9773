#pragma once

#include "framework/containers/WDL_Mutex.h"
#include "framework/containers/WDL_PtrList.h"

class LICE_IFont;
struct IText;

// A cache of owned fonts keyed by a text style's size, orientation, style
// and face (compared exactly). Locking as in BitmapStorage.
class FontStorage {
 public:
  FontStorage() = default;
  ~FontStorage() { RemoveAll(); }
  FontStorage(const FontStorage&) = delete;
  FontStorage& operator=(const FontStorage&) = delete;

  LICE_IFont* Find(const IText& text);
  // Takes the font. Null (and the font deleted) when the list cannot grow.
  LICE_IFont* Add(LICE_IFont* font, const IText& text);
  void RemoveAll();
  int NFonts();

  WDL_Mutex* GetMutex() { return &mMutex; }

 private:
  struct Key {
    int mSize;
    int mOrientation;
    int mStyle;
    char mFace[32];
    LICE_IFont* mFont;
  };

  WDL_PtrList<Key> mKeys;
  WDL_Mutex mMutex;
};
