#include "platform/cocoa/NSView.h"

#include <algorithm>

#include "platform/cocoa/NSWindow.h"

#define BRIMLOW_FORWARD(method)                     \
  void NSResponder::method(NSEvent* event) {        \
    if (NSResponder* next = nextResponder()) next->method(event); \
  }
BRIMLOW_FORWARD(mouseDown)
BRIMLOW_FORWARD(mouseUp)
BRIMLOW_FORWARD(rightMouseDown)
BRIMLOW_FORWARD(rightMouseUp)
BRIMLOW_FORWARD(mouseDragged)
BRIMLOW_FORWARD(rightMouseDragged)
BRIMLOW_FORWARD(mouseMoved)
BRIMLOW_FORWARD(keyDown)
BRIMLOW_FORWARD(scrollWheel)
#undef BRIMLOW_FORWARD

bool NSResponder::tryToPerform(const std::string& action, NSObject* sender) {
  for (NSResponder* r = this; r; r = r->nextResponder()) {
    if (r->PerformAction(action, sender)) return true;
  }
  return false;
}

NSView::~NSView() {
  // Subviews hold no pointer back once their superview goes.
  for (NSView* view : mSubviews) {
    view->mSuperview = nullptr;
    view->SetWindow(nullptr);
    view->release();
  }
}

NSView* NSView::initWithFrame(NSRect frame) {
  mFrame = frame;
  return this;
}

void NSView::addSubview(NSView* view) {
  if (!view || view == this) return;
  view->retain();
  if (view->mSuperview) view->removeFromSuperview();
  view->mSuperview = this;
  mSubviews.push_back(view);
  view->SetWindow(mWindow);
}

void NSView::removeFromSuperview() {
  NSView* parent = mSuperview;
  if (!parent) return;
  if (mWindow && mWindow->firstResponder() == this) mWindow->makeFirstResponder(nullptr);
  parent->mSubviews.erase(std::remove(parent->mSubviews.begin(), parent->mSubviews.end(), this),
                          parent->mSubviews.end());
  mSuperview = nullptr;
  SetWindow(nullptr);
  release();
}

void NSView::SetWindow(NSWindow* window) {
  if (mWindow == window) return;
  if (mWindow && mWindow->firstResponder() == this) mWindow->makeFirstResponder(nullptr);
  mWindow = window;
  for (NSView* view : mSubviews) view->SetWindow(window);
  viewDidMoveToWindow();
}

void NSView::setNeedsDisplay(bool needs) {
  if (!needs) {
    ClearNeedsDisplay();
    return;
  }
  setNeedsDisplayInRect(bounds());
}

void NSView::setNeedsDisplayInRect(NSRect rect) {
  if (NSIsEmptyRect(rect)) return;
  mDirty = mNeedsDisplay ? NSUnionRect(mDirty, rect) : rect;
  mNeedsDisplay = true;
}

void NSView::ClearNeedsDisplay() {
  mNeedsDisplay = false;
  mDirty = NSMakeRect(0, 0, 0, 0);
}

NSPoint NSView::convertPointToBase(NSPoint point) const {
  for (const NSView* v = this; v; v = v->mSuperview) {
    point.x += v->mFrame.origin.x;
    point.y += v->mFrame.origin.y;
  }
  return point;
}

NSPoint NSView::convertPoint(NSPoint point, NSView* fromView) const {
  const NSPoint base = fromView ? fromView->convertPointToBase(point) : point;
  const NSPoint origin = convertPointToBase(NSMakePoint(0, 0));
  return NSMakePoint(base.x - origin.x, base.y - origin.y);
}

int NSView::addToolTipRect(NSRect rect, NSView*, void*) {
  mToolTipRects.push_back(rect);
  return static_cast<int>(mToolTipRects.size());
}

void NSView::removeAllToolTips() { mToolTipRects.clear(); }

std::string NSView::stringForToolTip(NSView*, int, NSPoint, void*) { return {}; }

NSResponder* NSView::nextResponder() {
  if (mSuperview) return mSuperview;
  return mWindow;
}

NSView* NSView::hitTest(NSPoint point) {
  if (!NSPointInRect(point, mFrame)) return nullptr;
  const NSPoint local = NSMakePoint(point.x - mFrame.origin.x, point.y - mFrame.origin.y);
  for (auto it = mSubviews.rbegin(); it != mSubviews.rend(); ++it) {
    if (NSView* hit = (*it)->hitTest(local)) return hit;
  }
  return this;
}
