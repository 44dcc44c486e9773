#include "framework/IPlugBase.h"
#include "graphics/IControl.h"
#include "graphics/IGraphics.h"

// Mouse, wheel, key and drop dispatch. A mouse-down captures the control
// under it until the mouse-up; a bound control's edit is bracketed by the
// host's begin and end notifications.

namespace {

// Platforms always pass modifiers; a missing record reads as no buttons.
IMouseMod* ModOrNone(IMouseMod* mod, IMouseMod& none) { return mod ? mod : &none; }

}  // namespace

int IGraphics::GetMouseControlIdx(int x, int y, bool mouseOver) const {
  // Last to first: later controls sit on top.
  for (int i = mControls.GetSize() - 1; i >= 0; --i) {
    const IControl* control = mControls.Get(i);
    if (control->IsHidden()) continue;
    if (control->IsGrayed() && !(mouseOver && control->GetMOWhenGrayed())) continue;
    if (control->IsHit(x, y)) return i;
  }
  return -1;
}

int IGraphics::CaptureOrHit(int x, int y) const {
  if (mMouseCapture >= 0 && mMouseCapture < mControls.GetSize()) return mMouseCapture;
  return GetMouseControlIdx(x, y);
}

void IGraphics::ReleaseMouseCapture() { mMouseCapture = mMouseX = mMouseY = -1; }

void IGraphics::OnMouseDown(int x, int y, IMouseMod* mod) {
  IMouseMod none;
  mod = ModOrNone(mod, none);
  mLastMouseMod = *mod;
  mMouseDown = true;
  ReleaseMouseCapture();
  const int c = GetMouseControlIdx(x, y);
  if (c < 0) return;
  mMouseCapture = c;
  mMouseX = x;
  mMouseY = y;
  IControl* control = mControls.Get(c);
  if (control->ParamIdx() >= 0) BeginParamEdit(control->ParamIdx());
  control->OnMouseDown(x, y, mod);
}

void IGraphics::OnMouseUp(int x, int y, IMouseMod* mod) {
  IMouseMod none;
  mod = ModOrNone(mod, none);
  mLastMouseMod = *mod;
  mMouseDown = false;
  const int c = CaptureOrHit(x, y);
  ReleaseMouseCapture();
  if (IControl* control = mControls.Get(c)) control->OnMouseUp(x, y, mod);
  // The edit that began, whatever control the mouse-up lands on: a popup
  // prompt may have released the capture, and a control taken by a
  // double-click was never announced. An open popup ends it itself.
  if (!mPopupOpen) EndParamEdit();
}

void IGraphics::OnMouseDrag(int x, int y, IMouseMod* mod) {
  IMouseMod none;
  mod = ModOrNone(mod, none);
  mLastMouseMod = *mod;
  mMouseDown = true;
  IControl* control = mControls.Get(mMouseCapture);
  if (!control || (x == mMouseX && y == mMouseY)) return;
  const int dx = x - mMouseX;
  const int dy = y - mMouseY;
  mMouseX = x;
  mMouseY = y;
  control->OnMouseDrag(x, y, dx, dy, mod);
}

bool IGraphics::OnMouseDblClick(int x, int y, IMouseMod* mod) {
  IMouseMod none;
  mod = ModOrNone(mod, none);
  mLastMouseMod = *mod;
  ReleaseMouseCapture();
  const int c = GetMouseControlIdx(x, y);
  IControl* control = mControls.Get(c);
  if (!control) return false;
  if (!control->GetDblAsSingleClick()) {
    control->OnMouseDblClick(x, y, mod);
    return false;
  }
  mMouseCapture = c;
  mMouseX = x;
  mMouseY = y;
  control->OnMouseDown(x, y, mod);
  return true;
}

void IGraphics::OnMouseWheel(int x, int y, IMouseMod* mod, int d) {
  IMouseMod none;
  mod = ModOrNone(mod, none);
  mod->W = true;
  mLastMouseMod = *mod;
  if (IControl* control = mControls.Get(CaptureOrHit(x, y))) control->OnMouseWheel(x, y, mod, d);
  // A handler may have cleared it on the shared record.
  mod->W = true;
}

bool IGraphics::OnMouseOver(int x, int y, IMouseMod* mod) {
  IMouseMod none;
  mod = ModOrNone(mod, none);
  mLastMouseMod = *mod;
  if (!mHandleMouseOver) return false;
  const int c = (mMouseCapture >= 0 && mMouseCapture < mControls.GetSize()) ? mMouseCapture
                                                                             : GetMouseControlIdx(x, y, true);
  IControl* control = mControls.Get(c);
  if (control) {
    mMouseX = x;
    mMouseY = y;
    control->OnMouseOver(x, y, mod);
  }
  // Over no control (off the editor, or in a gap) is out of the last one
  // too: its hover drawing would otherwise stay until the mouse came back.
  if (mMouseOver != c) {
    if (IControl* previous = mControls.Get(mMouseOver)) previous->OnMouseOut();
  }
  mMouseOver = control ? c : -1;
  return true;
}

bool IGraphics::OnKeyDown(int x, int y, int key) {
  if (mKeyFocus) return mKeyFocus->OnKeyDown(x, y, key);
  const int c = CaptureOrHit(x, y);
  // The background passes keys on to the catcher.
  if (c <= 0) return mKeyCatcher ? mKeyCatcher->OnKeyDown(x, y, key) : false;
  return mControls.Get(c)->OnKeyDown(x, y, key);
}

void IGraphics::OnDrop(const char* path, int x, int y) {
  if (!mAcceptDrops) return;
  const int c = CaptureOrHit(x, y);
  if (c > 0) mControls.Get(c)->OnDrop(path);
}

int IGraphics::FindParamIdxAtPoint(int x, int y) {
  const int c = CaptureOrHit(x, y);
  mLastParamIdxAtPoint = c > 0 ? mControls.Get(c)->ParamIdx() : -1;
  return mLastParamIdxAtPoint;
}

int IGraphics::TakeParamIdxAtPoint() {
  const int paramIdx = mLastParamIdxAtPoint;
  mLastParamIdxAtPoint = -1;
  return paramIdx;
}
