#pragma once

#include <cstdint>

#include "platform/quickdraw/QuickDraw.h"

// One 'PICT' of the bundle, detached from the resource map so that closing
// the map leaves it alone, with the number of views that show it.
class CCachedPicture {
 public:
  CCachedPicture() = default;
  virtual ~CCachedPicture();
  CCachedPicture(const CCachedPicture&) = delete;
  CCachedPicture& operator=(const CCachedPicture&) = delete;

  // Replaces the held picture; a missing resource leaves none (id -1).
  void Load(int16_t id);
  virtual void Draw(const Rect& r);
  int16_t GetID() const { return mID; }
  PicHandle GetPicture() const { return mPicture; }
  int16_t AddUser() { return ++mUsers; }
  // The count after releasing; a count below 1 is left as it is.
  int16_t ReleaseUser();
  int16_t Users() const { return mUsers; }

 private:
  void Dispose();

  PicHandle mPicture = nullptr;
  int16_t mID = -1;
  int16_t mUsers = 0;
};
