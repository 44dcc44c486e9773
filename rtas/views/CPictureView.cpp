#include "rtas/views/CPictureView.h"

#include "rtas/views/CCachedPicture.h"
#include "rtas/views/CCachedPictureManager.h"
#include "rtas/views/DescriptionParser.h"
#include "rtas/library/CDAEError.h"
#include "rtas/library/ErrorThrowers.h"

namespace {

CCachedPictureManager* gManager = nullptr;
int gPictureViews = 0;

}  // namespace

CCachedPictureManager* CPictureView::PictureManager() { return gManager; }

CPictureView::CPictureView() {
  if (!gManager) gManager = new CCachedPictureManager;
  ++gPictureViews;
}

// The cache goes with the last picture view, not with the first view that
// leaves it empty: other views may still get pictures from it.
CPictureView::~CPictureView() {
  for (CCachedPicture*& picture : mPictures) {
    gManager->ReleasePicture(picture);
    picture = nullptr;
  }
  if (--gPictureViews == 0 && gManager->CountPictures() == 0) {
    delete gManager;
    gManager = nullptr;
  }
}

void CPictureView::SetPicture(int32_t state, int32_t id) {
  ThrowIfFalse(state >= 0 && state <= 2);
  CCachedPicture*& held = mPictures[state];
  const uint16_t resource = static_cast<uint16_t>(id);
  if (resource == kNoPicture) {
    gManager->ReleasePicture(held);
    held = nullptr;
  } else if (!held || held->GetID() != static_cast<int16_t>(resource)) {
    // A held picture may be shared under its id: load the new id into a
    // picture of its own rather than into the shared one.
    gManager->ReleasePicture(held);
    held = gManager->GetPicture(static_cast<int16_t>(resource));
    if (held->GetID() != static_cast<int16_t>(resource)) held->Load(static_cast<int16_t>(resource));
  }
  InvalidateFrame();
}

int32_t CPictureView::GetPictureID(int32_t state) {
  if (state < 0 || state > 2 || !mPictures[state]) return -1;
  return mPictures[state]->GetID();
}

CCachedPicture* CPictureView::GetCurrentPicture() {
  if (!IsEnabled() && mPictures[kDisabled]) return mPictures[kDisabled];
  if (IsHilited() && mPictures[kClicked]) return mPictures[kClicked];
  return mPictures[kNormal];
}

void CPictureView::DrawContent(const Rect& r) {
  (void)r;
  if (CCachedPicture* picture = GetCurrentPicture()) picture->Draw(Frame());
}

void CPictureView::SetEnabled(bool enabled) {
  const bool changed = enabled != IsEnabled();
  CCustomView::SetEnabled(enabled);
  if (changed) DrawRect(nullptr);
}

void CPictureView::ApplyDescription(DescriptionParser* parser) {
  CCustomView::ApplyDescription(parser);
  for (const DescriptionNode* n = parser->TakeGroup(); n; n = n->next) {
    ThrowIfFalse(n->kind == DescriptionNode::kKeyword);
    int32_t state;
    switch (n->value) {
      case kKeywordNormal: state = kNormal; break;
      case kKeywordClicked: state = kClicked; break;
      case kKeywordDisabled: state = kDisabled; break;
      default: throw CDAEError(-7400);
    }
    n = n->next;
    ThrowIfNil(n);
    if (n->kind == DescriptionNode::kString) continue;
    ThrowIfFalse(n->kind == DescriptionNode::kInteger);
    SetPicture(state, n->Integer());
  }
}
