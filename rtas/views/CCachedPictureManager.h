#pragma once

#include <cstdint>
#include <memory>
#include <vector>

class CCachedPicture;

// Shares one loaded picture per resource id among the views that show it.
// A picture made by GetPicture carries id -1 until the caller loads it.
class CCachedPictureManager {
 public:
  CCachedPictureManager() = default;
  virtual ~CCachedPictureManager();
  CCachedPictureManager(const CCachedPictureManager&) = delete;
  CCachedPictureManager& operator=(const CCachedPictureManager&) = delete;

  // The listed picture with that id, with one more user; or a new empty
  // picture with one user.
  virtual CCachedPicture* GetPicture(int16_t id);
  // Drops one user; the last one deletes the picture. Pictures not listed
  // are left alone.
  virtual void ReleasePicture(CCachedPicture* picture);
  virtual int CountPictures();

 private:
  std::unique_ptr<std::vector<CCachedPicture*>> mPictures;
};
