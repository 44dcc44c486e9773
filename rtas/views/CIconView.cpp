#include "rtas/views/CIconView.h"

#include "rtas/views/ViewResources.h"

namespace {

constexpr OSType kIconType = 0x49434F4E;  // 'ICON'

}  // namespace

CIconView::~CIconView() { DisposeResourceHandle(mIcon); }

void CIconView::SetIconID(int32_t id) {
  if (id == mIconID) return;
  DisposeResourceHandle(mIcon);
  mIcon = nullptr;
  mIconID = id;
  if (id != -1) mIcon = ReadDetachedResource(kIconType, static_cast<int16_t>(id));
}

void CIconView::DrawContent(const Rect& r) {
  (void)r;
  if (mIcon) PlotIcon(&Frame(), mIcon);
}
