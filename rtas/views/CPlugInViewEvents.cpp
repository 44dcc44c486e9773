// CPlugInView's mouse and key handling.
#include <algorithm>

#include "rtas/views/CPlugInView.h"
#include "rtas/views/CViewGroupServices.h"

int32_t CPlugInView::DoClick(const EventRecord* event) {
  if (!event) return 0;
  CViewFocus focus(this, nullptr);
  EventRecord local = *event;
  GlobalToLocal(&local.where);
  CPlugInView* target = FindViewAt(local.where);
  while (target && !target->IsEnabled()) target = target->GetParentView();
  CPlugInView* root = GetRootView();
  if (root->mFocusView && root->mFocusView != target) {
    CPlugInView* focused = root->mFocusView;
    root->mFocusView = nullptr;
    focused->EndEdit(false);
  }
  if (target) {
    if (target->CanTakeFocus() && mActive) root->mFocusView = target;
    target->HandleClick(&local);
  }
  return 0;
}

void CPlugInView::HandleClick(const EventRecord* event) {
  if (mDraggable) {
    SetHilite(true);
    if (mParent) mParent->DragChild(event, this);
    SetHilite(false);
  } else if (IsEnabled()) {
    TrackClick(event, event->message == kSyntheticClick);
  }
}

void CPlugInView::TrackClick(const EventRecord* event, bool synthetic) {
  (void)event;
  if (synthetic || !StillDown()) return;
  bool inside = false;
  do {
    Point mouse;
    GetMouse(&mouse);
    const bool now = PtInRect(mouse, &mFrame);
    if (now != inside) {
      inside = now;
      SetHilite(inside);
    }
    YieldViewGroupLock();
  } while (StillDown());
  SetHilite(false);
}

void CPlugInView::DragChild(const EventRecord* event, CPlugInView* child) {
  if (!child) return;
  Rect inner = mFrame;
  InsetRect(&inner, 1, 1);
  const Point start = event->where;
  const Rect& f = child->mFrame;
  // The mouse may go where the child, moved with it, still fits inside.
  const int left = start.h + inner.left - f.left;
  const int right = start.h + inner.right - f.right;
  const int top = start.v + inner.top - f.top;
  const int bottom = start.v + inner.bottom - f.bottom;
  // A child larger than the room left cannot move along that axis.
  Point last = start;
  child->mDragging = true;
  while (StillDown()) {
    Point mouse;
    GetMouse(&mouse);
    const Point p{static_cast<int16_t>(top > bottom ? last.v : std::clamp<int>(mouse.v, top, bottom)),
                  static_cast<int16_t>(left > right ? last.h : std::clamp<int>(mouse.h, left, right))};
    if (p != last) {
      child->MoveWithRedraw(static_cast<int16_t>(p.h - last.h), static_cast<int16_t>(p.v - last.v));
      ChildMoved(child);
      last = p;
    }
    YieldViewGroupLock();
  }
  child->mDragging = false;
}

CPlugInView* CPlugInView::NextTabCandidate(bool backwards) {
  CPlugInView* parent = mParent;
  if (!parent) return nullptr;
  auto eligible = [this](CPlugInView* v) { return v != this && v->CanTakeFocus() && v->IsEnabled(); };
  CPlugInView* before = nullptr;       // forwards: first eligible before; backwards: nearest before
  CPlugInView* after = nullptr;        // forwards: first eligible after; backwards: last after
  bool passed = false;
  for (CPlugInView* v = parent->mFirstChild; v; v = v->mNextSibling) {
    if (v == this) {
      passed = true;
      continue;
    }
    if (!eligible(v)) continue;
    if (!passed) {
      if (backwards || !before) before = v;
    } else {
      if (!backwards && !after) after = v;
      if (backwards) after = v;
    }
  }
  return backwards ? (before ? before : after) : (after ? after : before);
}

void CPlugInView::DoKey(const EventRecord* event, bool* handled) {
  if (handled) *handled = false;
  if (!event) return;
  CViewFocus focus(this, nullptr);
  CPlugInView* root = GetRootView();
  CPlugInView* focused = root->mFocusView;
  if (!focused) return;
  const int16_t character = static_cast<int16_t>(event->message & charCodeMask);
  switch (character) {
    case 3:
      focused->EndEdit(true);
      focused->BeginEdit();
      break;
    case 9: {
      focused->EndEdit(true);
      CPlugInView* next = focused->NextTabCandidate((event->modifiers & shiftKey) != 0);
      root->mFocusView = next;
      if (next) next->BeginEdit();
      break;
    }
    case 13:
      root->mFocusView = nullptr;
      focused->EndEdit(true);
      break;
    case 27:
      root->mFocusView = nullptr;
      focused->EndEdit(false);
      break;
    default:
      focused->KeyChar(character, handled);
      return;
  }
  if (handled) *handled = true;
}
