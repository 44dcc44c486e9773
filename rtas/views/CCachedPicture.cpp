#include "rtas/views/CCachedPicture.h"

#include "rtas/views/ViewResources.h"

namespace {

constexpr OSType kPictType = 0x50494354;  // 'PICT'

}  // namespace

CCachedPicture::~CCachedPicture() { Dispose(); }

void CCachedPicture::Dispose() {
  DisposeResourceHandle(reinterpret_cast<Handle>(mPicture));
  mPicture = nullptr;
}

void CCachedPicture::Load(int16_t id) {
  Dispose();
  mPicture = reinterpret_cast<PicHandle>(ReadDetachedResource(kPictType, id));
  mID = mPicture ? id : static_cast<int16_t>(-1);
}

void CCachedPicture::Draw(const Rect& r) {
  if (mPicture) DrawPicture(mPicture, &r);
}

int16_t CCachedPicture::ReleaseUser() {
  if (mUsers < 1) return mUsers;
  return --mUsers;
}
