#include "rtas/views/CPlugInView.h"

#include "rtas/views/CViewGroupServices.h"
#include "rtas/views/ViewOverlay.h"
#include "rtas/views/ViewResources.h"

namespace {

bool Contains(const Rect& outer, const Rect& inner) {
  return outer.top <= inner.top && outer.left <= inner.left && outer.bottom >= inner.bottom &&
         outer.right >= inner.right;
}

}  // namespace

CPlugInView::CPlugInView() : mID(FourCC("NONE")) {}

CPlugInView::~CPlugInView() {
  ViewOverlay::Forget(this);
  // A view deleted while in a tree leaves it cleanly: no parent keeps a
  // link to it and no root keeps a focus inside it.
  if (mParent) {
    CPlugInView* root = GetRootView();
    if (root->mFocusView && IsInSubtree(root->mFocusView)) root->mFocusView = nullptr;
    mParent->UnlinkChild(this);
  }
  while (mFirstChild) {
    CPlugInView* child = mFirstChild;
    mFirstChild = child->mNextSibling;
    child->mParent = nullptr;
    child->mNextSibling = nullptr;
    delete child;
  }
  while (mFocusDepth > 0) DisposeRgn(mFocusStack[--mFocusDepth].savedClip);
}

bool CPlugInView::IsInSubtree(const CPlugInView* view) const {
  for (; view; view = view->mParent) {
    if (view == this) return true;
  }
  return false;
}

void CPlugInView::UnlinkChild(CPlugInView* child) {
  for (CPlugInView** link = &mFirstChild; *link; link = &(*link)->mNextSibling) {
    if (*link == child) {
      *link = child->mNextSibling;
      child->mNextSibling = nullptr;
      child->mParent = nullptr;
      return;
    }
  }
}

CPlugInView* CPlugInView::GetRootView() {
  CPlugInView* view = this;
  while (view->mParent) view = view->mParent;
  return view;
}

void CPlugInView::Realize() { RealizeIfRoot(); }

void CPlugInView::SetItem(const ViewItem* item) { (void)item; }

void CPlugInView::AddChild(CPlugInView* view, bool nest) {
  if (!view) return;
  if (nest) {
    for (CPlugInView* child = mFirstChild; child; child = child->mNextSibling) {
      if (Contains(child->mFrame, view->mFrame)) {
        child->AddChild(view, true);
        return;
      }
    }
  }
  if (mFirstChild) {
    mFirstChild->AppendSibling(view);
  } else {
    mFirstChild = view;
    view->SetParentView(this);
    view->mNextSibling = nullptr;
  }
}

void CPlugInView::AppendSibling(CPlugInView* view) {
  if (!view) return;
  view->SetParentView(mParent);
  CPlugInView* last = this;
  while (last->mNextSibling) last = last->mNextSibling;
  last->mNextSibling = view;
  view->mNextSibling = nullptr;
}

void CPlugInView::SetParentView(CPlugInView* view) { mParent = view; }

CPlugInView* CPlugInView::FindViewAt(Point pt) {
  if (!PtInRect(pt, &mFrame)) return nullptr;
  for (CPlugInView* child = mFirstChild; child; child = child->mNextSibling) {
    if (PtInRect(pt, &child->mFrame)) return child->FindViewAt(pt);
  }
  return this;
}

void CPlugInView::ChildMoved(CPlugInView* child) { (void)child; }

void CPlugInView::DeactivateView() {
  mActive = false;
  for (CPlugInView* child = mFirstChild; child; child = child->mNextSibling) child->DeactivateView();
}

void CPlugInView::ActivateView() {
  mActive = true;
  for (CPlugInView* child = mFirstChild; child; child = child->mNextSibling) child->ActivateView();
}

void CPlugInView::AttachPort(GrafPtr port) {
  mPort = port;
  if (port) {
    Rect bounds;
    GetPortBounds(port, &bounds);
    mOrigin = Point{bounds.top, bounds.left};
  } else if (mFocusView) {
    CPlugInView* focus = mFocusView;
    if (focus != this) focus->AttachPort(nullptr);
    focus->EndEdit(false);
    mFocusView = nullptr;
  }
  for (CPlugInView* child = mFirstChild; child; child = child->mNextSibling) child->AttachPort(port);
}

void CPlugInView::GetFrameRect(Rect* frame) {
  if (frame) *frame = mFrame;
}

void CPlugInView::ShowView() {
  if (mFrame.left < 8192) return;
  InvalidateFrame();
  OffsetBy(static_cast<int16_t>(-kHideOffset), 0);
  InvalidateFrame();
}

void CPlugInView::HideView() {
  if (mFrame.left >= 8192) return;
  InvalidateFrame();
  OffsetBy(kHideOffset, 0);
  InvalidateFrame();
}

void CPlugInView::KeyChar(int16_t character, bool* handled) {
  (void)character;
  if (handled) *handled = false;
}

void CPlugInView::EndEdit(bool accept) { (void)accept; }

void CPlugInView::BeginEdit() {}

bool CPlugInView::CanTakeFocus() { return false; }

void CPlugInView::IdleView(const EventRecord* event) {
  for (CPlugInView* child = mFirstChild; child; child = child->mNextSibling) child->IdleView(event);
  YieldViewGroupLock();
}

void CPlugInView::SetHilite(bool hilite) {
  if (mHilited == hilite) return;
  mHilited = hilite;
  DrawRect(nullptr);
}

void CPlugInView::SetEnabled(bool enabled) { mEnabled = enabled; }

bool CPlugInView::IsEnabled() { return mEnabled; }

void CPlugInView::OffsetBy(int16_t dh, int16_t dv) {
  OffsetRect(&mFrame, dh, dv);
  for (CPlugInView* child = mFirstChild; child; child = child->mNextSibling) child->OffsetBy(dh, dv);
}

void CPlugInView::GetForeColor(RGBColor* color) {
  if (!color) return;
  *color = mHilited ? RGBColor{0x0000, 0x6666, 0xFFFF} : mForeColor;
}

void CPlugInView::GetBackColor(RGBColor* color) {
  if (!color) return;
  if (mParent) mParent->GetBackColor(color); else *color = mBackColor;
}

void CPlugInView::SetForeColor(const RGBColor& color) { mForeColor = color; }

void CPlugInView::SetBackColor(const RGBColor& color) { mBackColor = color; }

PixPatHandle CPlugInView::GetBackPixPat() { return mParent ? mParent->GetBackPixPat() : nullptr; }

void CPlugInView::GetControlIndex(int32_t* index) {
  if (index) *index = 0;
}

bool CPlugInView::IsProcessControl() { return false; }

bool CPlugInView::HasControlHighlight() { return mParent ? mParent->HasControlHighlight() : false; }

void CPlugInView::GetControlHighlight(uint16_t* color, int16_t* second, std::string* text) {
  if (mParent) {
    mParent->GetControlHighlight(color, second, text);
    return;
  }
  if (second) *second = 0;
  if (text) text->clear();
}

PixPatHandle CPlugInView::LoadPixPat(int16_t resourceId) { return LoadBundlePixPat(resourceId); }

void CPlugInView::RealizeIfRoot() {
  if (!mParent) RealizeTree();
}

void CPlugInView::RealizeTree() {
  for (CPlugInView* child = mFirstChild; child; child = child->mNextSibling) child->RealizeTree();
}

void CPlugInView::UnrealizeTree() {
  for (CPlugInView* child = mFirstChild; child; child = child->mNextSibling) child->UnrealizeTree();
}

CPlugInView* CPlugInView::FindViewByID(uint32_t id) {
  if (id == FourCC("NONE")) return nullptr;
  for (CPlugInView* child = mFirstChild; child; child = child->mNextSibling) {
    if (child->mID == id) return child;
  }
  for (CPlugInView* child = mFirstChild; child; child = child->mNextSibling) {
    if (CPlugInView* found = child->FindViewByID(id)) return found;
  }
  return nullptr;
}
