#include "rtas/views/CCachedPictureManager.h"

#include <algorithm>

#include "rtas/views/CCachedPicture.h"

CCachedPictureManager::~CCachedPictureManager() {
  if (!mPictures) return;
  for (CCachedPicture* picture : *mPictures) delete picture;
}

CCachedPicture* CCachedPictureManager::GetPicture(int16_t id) {
  if (!mPictures) mPictures = std::make_unique<std::vector<CCachedPicture*>>();
  for (CCachedPicture* picture : *mPictures) {
    if (picture->GetID() == id) {
      picture->AddUser();
      return picture;
    }
  }
  CCachedPicture* picture = new CCachedPicture;
  mPictures->push_back(picture);
  picture->AddUser();
  return picture;
}

void CCachedPictureManager::ReleasePicture(CCachedPicture* picture) {
  if (!mPictures || !picture) return;
  auto it = std::find(mPictures->begin(), mPictures->end(), picture);
  if (it == mPictures->end()) return;
  if (picture->ReleaseUser() > 0) return;
  mPictures->erase(it);
  delete picture;
}

int CCachedPictureManager::CountPictures() { return mPictures ? static_cast<int>(mPictures->size()) : 0; }
