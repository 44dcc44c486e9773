// CPlugInView's drawing: focusing its port, the clip with any overlay held
// back, erasing, and moving with redraws.
#include "platform/hitoolbox/MacWindows.h"
#include "rtas/views/CPlugInView.h"
#include "rtas/library/CDAEError.h"
#include "rtas/library/ErrorThrowers.h"
#include "rtas/views/ViewOverlay.h"

namespace {

// The port's back pattern while a background is erased.
PixPatHandle gSavedBackPattern = nullptr;

}  // namespace

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
