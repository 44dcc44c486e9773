#include "rtas/views/CPlugInView.h"

#include "platform/carbon/Window.h"
#include "rtas/views/CViewGroupServices.h"
#include "rtas/views/ViewLibraryShim.h"
#include "rtas/views/ViewOverlay.h"
#include "rtas/views/ViewResources.h"

namespace {

// The port's back pattern while a background is erased.
PixPatHandle gSavedBackPattern = nullptr;

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

void CPlugInView::DrawTree(const Rect& r) {
  DrawContent(r);
  for (CPlugInView* child = mFirstChild; child; child = child->mNextSibling) {
    Rect part;
    if (SectRect(&child->mFrame, &r, &part)) child->DrawTree(part);
  }
}

void CPlugInView::DrawRect(const Rect* r) {
  if (!mPort) return;
  Rect target;
  GetVisibleRect(&target);
  if (r && !SectRect(&target, r, &target)) return;
  if (EmptyRect(&target)) return;
  CViewFocus focus(this, &target);
  DrawTree(target);
}

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

void CPlugInView::ApplyBackPattern() {
  PixPatHandle pattern = GetBackPixPat();
  if (!pattern) {
    Pattern white;
    BackPat(GetQDGlobalsWhite(&white));
    return;
  }
  // Only the outermost erase saves: a nested one would lose the port's own
  // pattern.
  if (!gSavedBackPattern) {
    gSavedBackPattern = NewPixPat();
    GetPortBackPixPat(mPort, gSavedBackPattern);
  }
  SetPortBackPixPat(mPort, pattern);
}

void CPlugInView::RestoreBackPattern() {
  if (!gSavedBackPattern) return;
  SetPortBackPixPat(mPort, gSavedBackPattern);
  DisposePixPat(gSavedBackPattern);
  gSavedBackPattern = nullptr;
}

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

void CPlugInView::EraseBackground(const Rect& r) {
  if (mParent || !mPort) return;
  RGBColor savedBack;
  ::GetBackColor(&savedBack);
  RGBColor back;
  GetBackColor(&back);
  RGBBackColor(&back);
  ApplyBackPattern();
  Rect area;
  if (SectRect(&r, &mFrame, &area)) EraseRect(&area);
  RestoreBackPattern();
  RGBBackColor(&savedBack);
}

void CPlugInView::DrawContent(const Rect& r) { EraseBackground(r); }

void CPlugInView::GetVisibleRect(Rect* visible) {
  Rect r;
  if (!SectRect(&mFrame, &mLimit, &r)) {
    *visible = Rect{0, 0, 0, 0};
    return;
  }
  if (mParent) {
    Rect outer;
    mParent->GetVisibleRect(&outer);
    SectRect(&r, &outer, &r);
  }
  *visible = r;
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

void CPlugInView::FocusView(const Rect* r) {
  ThrowIfNil(mPort);
  ThrowIfFalse(mFocusDepth < kMaxFocusDepth);
  GrafPtr saved = GetPort();
  SetPort(mPort);
  PenMode(patCopy);
  TextMode(patCopy);
  Rect bounds;
  GetPortBounds(mPort, &bounds);
  FocusEntry& entry = mFocusStack[mFocusDepth++];
  entry.savedPort = saved;
  entry.savedOrigin = Point{bounds.top, bounds.left};
  entry.savedClip = NewRgn();
  GetClip(entry.savedClip);
  SetOrigin(mOrigin.h, mOrigin.v);

  Rect clip;
  GetVisibleRect(&clip);
  if (r) SectRect(&clip, r, &clip);
  GrafPtr overlayPort = ViewOverlay::Port();
  if (!overlayPort || overlayPort == mPort) {
    ClipRect(&clip);
    return;
  }
  Rect overlay = ViewOverlay::GlobalRect();
  Point topLeft{overlay.top, overlay.left};
  Point bottomRight{overlay.bottom, overlay.right};
  GlobalToLocal(&topLeft);
  GlobalToLocal(&bottomRight);
  overlay = Rect{topLeft.v, topLeft.h, bottomRight.v, bottomRight.h};
  Rect meet;
  if (!SectRect(&overlay, &clip, &meet)) {
    ClipRect(&clip);
    return;
  }
  RgnHandle clipRgn = NewRgn();
  RgnHandle overlayRgn = NewRgn();
  RectRgn(clipRgn, &clip);
  RectRgn(overlayRgn, &overlay);
  DiffRgn(clipRgn, overlayRgn, clipRgn);
  SetClip(clipRgn);
  DisposeRgn(clipRgn);
  DisposeRgn(overlayRgn);
  try {
    ViewOverlay::HoldBack(this, clip);
  } catch (...) {
    // The caller sees a failed focus, so it must not stay pushed.
    UnfocusView();
    throw;
  }
}

void CPlugInView::UnfocusView() {
  ThrowIfFalse(mFocusDepth >= 1);
  FocusEntry& entry = mFocusStack[--mFocusDepth];
  SetOrigin(entry.savedOrigin.h, entry.savedOrigin.v);
  SetClip(entry.savedClip);
  DisposeRgn(entry.savedClip);
  SetPort(entry.savedPort);
}

void CPlugInView::InvalidateFrame() {
  if (!mPort) return;
  CViewFocus focus(this, nullptr);
  InvalWindowRect(GetWindowFromPort(mPort), &mFrame);
}

void CPlugInView::MoveViewTo(int16_t h, int16_t v) {
  if (mFrame.left == h && mFrame.top == v) return;
  InvalidateFrame();
  OffsetBy(static_cast<int16_t>(h - mFrame.left), static_cast<int16_t>(v - mFrame.top));
  InvalidateFrame();
}

void CPlugInView::MoveViewBy(int16_t dh, int16_t dv) {
  if (dh == 0 && dv == 0) return;
  InvalidateFrame();
  OffsetBy(dh, dv);
  InvalidateFrame();
}

void CPlugInView::MoveWithRedraw(int16_t dh, int16_t dv) {
  if (!mPort) {
    OffsetBy(dh, dv);
    return;
  }
  if (dh == 0 && dv == 0) return;
  CViewFocus focus(this, nullptr);
  const Rect old = mFrame;
  OffsetBy(dh, dv);
  DrawRect(&mFrame);
  CPlugInView* root = GetRootView();
  Rect overlap;
  if (!SectRect(&old, &mFrame, &overlap)) {
    root->DrawRect(&old);
    return;
  }
  // What the view uncovered: a band across the old frame on the side it
  // left vertically, and a band beside it on the side it left horizontally.
  if (dv != 0) {
    const Rect band = dv > 0 ? Rect{old.top, old.left, mFrame.top, old.right}
                             : Rect{mFrame.bottom, old.left, old.bottom, old.right};
    root->DrawRect(&band);
  }
  if (dh != 0) {
    const Rect band = dh > 0 ? Rect{overlap.top, old.left, overlap.bottom, mFrame.left}
                             : Rect{overlap.top, mFrame.right, overlap.bottom, old.right};
    root->DrawRect(&band);
  }
}

void CPlugInView::SetOverlayRect(GrafPtr port, const Rect* r) {
  if (port && r) {
    Point topLeft{r->top, r->left};
    Point bottomRight{r->bottom, r->right};
    LocalToGlobal(&topLeft);
    LocalToGlobal(&bottomRight);
    const Rect global{topLeft.v, topLeft.h, bottomRight.v, bottomRight.h};
    ViewOverlay::Set(port, &global);
  } else {
    ViewOverlay::Set(port, r);
  }
  if (!port) ViewOverlay::RedrawHeldBack();
}
