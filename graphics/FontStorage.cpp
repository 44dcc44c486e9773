#include "graphics/FontStorage.h"

#include <cstring>

#include "graphics/IText.h"
#include "lice/LICE_IFont.h"

namespace {

// Keys hold at most 31 characters of a face, as a terminated style does.
bool SameFace(const char* key, const char* face) { return std::strncmp(key, face, sizeof(IText::mFont) - 1) == 0; }

}  // namespace

LICE_IFont* FontStorage::Find(const IText& text) {
  WDL_MutexLock lock(&mMutex);
  for (int i = 0; i < mKeys.GetSize(); ++i) {
    const Key* key = mKeys.Get(i);
    if (key->mFont && key->mSize == text.mSize && key->mOrientation == text.mOrientation &&
        key->mStyle == text.mStyle && SameFace(key->mFace, text.mFont)) {
      return key->mFont;
    }
  }
  return nullptr;
}

LICE_IFont* FontStorage::Add(LICE_IFont* font, const IText& text) {
  if (!font) return nullptr;
  WDL_MutexLock lock(&mMutex);
  Key* key = new Key{text.mSize, text.mOrientation, text.mStyle, {}, font};
  // The style's face field may lack a terminator; the key's never does.
  std::memcpy(key->mFace, text.mFont, sizeof key->mFace);
  key->mFace[sizeof key->mFace - 1] = '\0';
  if (!mKeys.Add(key)) {
    delete key;
    delete font;
    return nullptr;
  }
  return font;
}

void FontStorage::RemoveAll() {
  WDL_MutexLock lock(&mMutex);
  for (int i = mKeys.GetSize() - 1; i >= 0; --i) {
    Key* key = mKeys.Get(i);
    delete key->mFont;
    delete key;
  }
  mKeys.Empty();
}

int FontStorage::NFonts() {
  WDL_MutexLock lock(&mMutex);
  return mKeys.GetSize();
}
