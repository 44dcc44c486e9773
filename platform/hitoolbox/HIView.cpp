#include "platform/hitoolbox/HIView.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>
#include <vector>

#include "platform/coregraphics/CGContext.h"
#include "platform/corefoundation/RunLoop.h"
#include "platform/hitoolbox/EditTextState.h"
#include "platform/hitoolbox/ViewRecord.h"
#include "platform/hitoolbox/WindowRecord.h"

const HIViewID kHIViewWindowContentID = {0x77696e64, 1};  // 'wind', 1

namespace {

enum : OSStatus { errRootAlreadyExists = -30589 };

// In the order made.
std::vector<ControlRef>& LiveViews() {
  // Never destroyed: a window may go after static destruction began.
  static auto* views = new std::vector<ControlRef>;
  return *views;
}

int gDrawEvents = 0;

// More marked rectangles than this are drawn as one, their union.
constexpr size_t kMaxDirtyRects = 8;

// Area in common, not only an edge.
bool Overlap(const CGRect& a, const CGRect& b) {
  return a.origin.x < b.origin.x + b.size.width && b.origin.x < a.origin.x + a.size.width &&
         a.origin.y < b.origin.y + b.size.height && b.origin.y < a.origin.y + a.size.height;
}

CGRect Union(const CGRect& a, const CGRect& b) {
  const CGFloat left = std::min(a.origin.x, b.origin.x);
  const CGFloat top = std::min(a.origin.y, b.origin.y);
  const CGFloat right = std::max(a.origin.x + a.size.width, b.origin.x + b.size.width);
  const CGFloat bottom = std::max(a.origin.y + a.size.height, b.origin.y + b.size.height);
  return CGRectMake(left, top, right - left, bottom - top);
}

void EnsureUpdatePass() {
  static bool added = false;
  if (added) return;
  added = true;
  platform::AddRunLoopObserver([] { platform::UpdateWindows(); });
}

CGRect RectToCG(const Rect& r) {
  return CGRectMake(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

// A frame coordinate in QuickDraw's 16 bits: truncated, and held at the
// ends of the range (NaN at 0) instead of leaving it.
int16_t QuickDrawCoordinate(double v) {
  if (std::isnan(v)) return 0;
  if (v <= -32768.0) return -32768;
  return v < 32767.0 ? static_cast<int16_t>(v) : 32767;
}

Rect BoundsOfFrame(const CGRect& frame) {
  return Rect{QuickDrawCoordinate(frame.origin.y), QuickDrawCoordinate(frame.origin.x),
              QuickDrawCoordinate(frame.origin.y + frame.size.height),
              QuickDrawCoordinate(frame.origin.x + frame.size.width)};
}

}  // namespace

ControlRef platform::MakeView(WindowRef window, OpaqueControlRef::ViewKind kind, const CGRect& frame) {
  const Rect bounds = BoundsOfFrame(frame);
  ControlRef view = NewControl(window, &bounds, nullptr, true, 0, 0, 0, 0, 0);
  view->kind = kind;
  view->frame = frame;
  LiveViews().push_back(view);
  if (window) platform::SetEventTargetParent(GetControlEventTarget(view), GetWindowEventTarget(window));
  EnsureUpdatePass();
  return view;
}

namespace {

void SetWindowOfTree(ControlRef view, WindowRef window) {
  view->window = window;
  for (ControlRef sub : view->subviews) SetWindowOfTree(sub, window);
}

void Detach(ControlRef view) {
  ControlRef parent = view->superview;
  if (!parent) return;
  auto& list = parent->subviews;
  list.erase(std::remove(list.begin(), list.end(), view), list.end());
  view->superview = nullptr;
}

bool IsShown(ControlRef view) {
  for (ControlRef v = view; v; v = v->superview) {
    if (!v->visible) return false;
  }
  return true;
}

void CollectViews(ControlRef view, std::vector<ControlRef>* out) {
  out->push_back(view);
  for (ControlRef sub : view->subviews) CollectViews(sub, out);
}

// The deepest shown view at a point in the start view's superview
// coordinates (content coordinates for a view without one).
ControlRef HitView(ControlRef view, CGPoint point) {
  if (!view->visible) return nullptr;
  const CGRect& f = view->frame;
  if (point.x < f.origin.x || point.y < f.origin.y || point.x >= f.origin.x + f.size.width ||
      point.y >= f.origin.y + f.size.height) {
    return nullptr;
  }
  const CGPoint local{point.x - f.origin.x, point.y - f.origin.y};
  for (auto it = view->subviews.rbegin(); it != view->subviews.rend(); ++it) {
    if (ControlRef hit = HitView(*it, local)) return hit;
  }
  return view;
}

ControlRef FirstEditField(ControlRef view) {
  if (view->kind == OpaqueControlRef::kEditText && IsShown(view)) return view;
  for (ControlRef sub : view->subviews) {
    if (ControlRef found = FirstEditField(sub)) return found;
  }
  return nullptr;
}

void SendDraw(ControlRef view, CGContextRef context, RgnHandle region) {
  EventRef event = platform::MakeEvent(kEventClassControl, kEventControlDraw);
  platform::SetParam(event, kEventParamDirectObject, typeControlRef, view);
  if (context) platform::SetParam(event, kEventParamCGContextRef, typeCGContextRef, context);
  if (region) platform::SetParam(event, kEventParamRgnHandle, typeQDRgnHandle, region);
  ++gDrawEvents;
  SendEventToEventTarget(event, GetControlEventTarget(view));
  ReleaseEvent(event);
}

// One marked rectangle of the view, drawn through a context clipped to it.
void DrawViewPart(WindowRef window, ControlRef view, const CGRect& d) {
  const CGRect f = platform::ViewFrameInContent(view);
  // In whole view pixels, within the view.
  const double left = std::max(0.0, std::floor(d.origin.x));
  const double top = std::max(0.0, std::floor(d.origin.y));
  const double right = std::min(static_cast<double>(f.size.width), std::ceil(d.origin.x + d.size.width));
  const double bottom = std::min(static_cast<double>(f.size.height), std::ceil(d.origin.y + d.size.height));
  if (!(right > left) || !(bottom > top)) return;
  platform::ScreenWindow* screen = platform::ScreenWindowOf(window);
  const double s = screen->DeviceScale();
  const CGAffineTransform toDevice{s, 0, 0, s, s * f.origin.x, s * f.origin.y};
  const int width = screen->PixelWidth(), height = screen->PixelHeight();
  const platform::DeviceRect clip{platform::ClipEdge(std::floor(s * (f.origin.x + left)), width),
                                  platform::ClipEdge(std::floor(s * (f.origin.y + top)), height),
                                  platform::ClipEdge(std::ceil(s * (f.origin.x + right)), width),
                                  platform::ClipEdge(std::ceil(s * (f.origin.y + bottom)), height)};
  RgnHandle region = NewRgn();
  SetRectRgn(region, QuickDrawCoordinate(left), QuickDrawCoordinate(top), QuickDrawCoordinate(right),
             QuickDrawCoordinate(bottom));
  CGContextRef context = platform::CreateWindowContext(screen, toDevice, clip);
  SendDraw(view, context, region);
  platform::ReleaseWindowContext(context);
  DisposeRgn(region);
}

void DrawView(WindowRef window, ControlRef view) {
  view->needsDisplay = false;
  // Taken first: a draw handler may mark the view again for the next pass.
  std::vector<CGRect> parts = std::move(view->dirty);
  view->dirty.clear();
  // A new device scale made the window's pixels anew: all of it is drawn.
  const double scale = platform::ScreenWindowOf(window)->DeviceScale();
  if (scale != view->drawnScale) parts.assign(1, CGRectMake(0, 0, view->frame.size.width, view->frame.size.height));
  view->drawnScale = scale;
  for (const CGRect& d : parts) {
    // A draw handler may close the view or its window.
    if (!platform::IsLiveView(view) || view->window != window || !IsWindowVisible(window)) return;
    DrawViewPart(window, view, d);
  }
}

// The whole view, as after a change of its size.
void MarkWhole(ControlRef view) {
  view->dirty.assign(1, CGRectMake(0, 0, view->frame.size.width, view->frame.size.height));
  view->needsDisplay = true;
}

}  // namespace

// ---- Creation and embedding ---------------------------------------------------

OSStatus CreateUserPaneControl(WindowRef window, const Rect* bounds, uint32_t features, ControlRef* outControl) {
  if (!bounds || !outControl) return paramErr;
  *outControl = platform::MakeView(window, OpaqueControlRef::kUserPane, RectToCG(*bounds));
  (*outControl)->features = features;
  return noErr;
}

OSStatus CreateRootControl(WindowRef window, ControlRef* outControl) {
  if (!window || !outControl) return paramErr;
  if (window->root) return errRootAlreadyExists;
  const Rect& c = window->contentBounds;
  window->root = platform::MakeView(window, OpaqueControlRef::kRootView, CGRectMake(0, 0, c.right - c.left, c.bottom - c.top));
  *outControl = window->root;
  return noErr;
}

OSStatus GetRootControl(WindowRef window, ControlRef* outControl) {
  if (!window || !outControl) return paramErr;
  if (!window->root) return errNoRootControl;
  *outControl = window->root;
  return noErr;
}

OSStatus EmbedControl(ControlRef control, ControlRef container) { return HIViewAddSubview(container, control); }

ControlRef GetControlOwner(ControlRef control) { return control ? control->superview : nullptr; }

HIViewRef HIViewGetRoot(WindowRef window) { return window ? window->root : nullptr; }

OSStatus HIViewFindByID(HIViewRef start, HIViewID id, HIViewRef* outView) {
  if (!start || !outView) return paramErr;
  if (id.signature != kHIViewWindowContentID.signature || id.id != kHIViewWindowContentID.id) {
    return errControlNotFound;
  }
  std::vector<ControlRef> views;
  CollectViews(start, &views);
  for (ControlRef v : views) {
    if (v->kind == OpaqueControlRef::kContentView) {
      *outView = v;
      return noErr;
    }
  }
  return errControlNotFound;
}

OSStatus HIViewAddSubview(HIViewRef parent, HIViewRef child) {
  if (!parent || !child || parent == child) return paramErr;
  for (ControlRef p = parent; p; p = p->superview) {
    if (p == child) return paramErr;  // a view inside itself
  }
  Detach(child);
  parent->subviews.push_back(child);
  child->superview = parent;
  SetWindowOfTree(child, parent->window);
  platform::SetEventTargetParent(GetControlEventTarget(child), GetControlEventTarget(parent));
  return noErr;
}

OSStatus HIViewRemoveFromSuperview(HIViewRef view) {
  if (!view || !view->superview) return paramErr;
  // The superview held the view: it goes now.
  DisposeControl(view);
  return noErr;
}

HIViewRef HIViewGetSuperview(HIViewRef view) { return view ? view->superview : nullptr; }

WindowRef HIViewGetWindow(HIViewRef view) { return view ? view->window : nullptr; }

OSStatus HIViewSetFrame(HIViewRef view, const HIRect* frame) {
  if (!view || !frame) return paramErr;
  const bool resized =
      frame->size.width != view->frame.size.width || frame->size.height != view->frame.size.height;
  view->frame = *frame;
  if (resized) MarkWhole(view);
  view->bounds = BoundsOfFrame(*frame);
  if (view->edit) platform::UpdateEditFieldShown(view);
  return noErr;
}

OSStatus HIViewGetFrame(HIViewRef view, HIRect* frame) {
  if (!view || !frame) return paramErr;
  *frame = view->frame;
  return noErr;
}

// ---- Display ---------------------------------------------------------------------

OSStatus HIViewSetNeedsDisplay(HIViewRef view, Boolean needs) {
  if (!view) return paramErr;
  if (!needs) {
    view->needsDisplay = false;
    return noErr;
  }
  const CGRect whole = CGRectMake(0, 0, view->frame.size.width, view->frame.size.height);
  return HIViewSetNeedsDisplayInRect(view, &whole, true);
}

OSStatus HIViewSetNeedsDisplayInRect(HIViewRef view, const HIRect* rect, Boolean needs) {
  if (!view || !rect) return paramErr;
  if (!needs) return noErr;
  if (!view->needsDisplay) view->dirty.clear();
  // Rectangles that overlap become one, so no pixel is drawn twice.
  CGRect r = *rect;
  auto& dirty = view->dirty;
  for (size_t i = 0; i < dirty.size();) {
    if (Overlap(dirty[i], r)) {
      r = Union(dirty[i], r);
      dirty.erase(dirty.begin() + static_cast<std::ptrdiff_t>(i));
      i = 0;
    } else {
      ++i;
    }
  }
  dirty.push_back(r);
  if (dirty.size() > kMaxDirtyRects) {
    CGRect all = dirty[0];
    for (const CGRect& d : dirty) all = Union(all, d);
    dirty.assign(1, all);
  }
  view->needsDisplay = true;
  return noErr;
}

Boolean HIViewGetNeedsDisplay(HIViewRef view) { return view && view->needsDisplay; }

OSStatus HIViewSetVisible(HIViewRef view, Boolean visible) {
  if (!view) return paramErr;
  view->visible = visible;
  std::vector<ControlRef> views;
  CollectViews(view, &views);
  for (ControlRef v : views) {
    if (v->edit) platform::UpdateEditFieldShown(v);
  }
  return noErr;
}

Boolean HIViewIsVisible(HIViewRef view) { return view && IsShown(view); }

// ---- Focus, hits and coordinates ----------------------------------------------

OSStatus HIViewAdvanceFocus(HIViewRef root, uint32_t) {
  if (!root) return paramErr;
  ControlRef field = FirstEditField(root);
  if (!field || !field->window) return errControlNotFound;
  platform::MoveKeyboardFocus(field->window, field);
  return noErr;
}

OSStatus HIViewGetViewForMouseEvent(HIViewRef start, EventRef event, HIViewRef* outView) {
  if (!start || !outView || !start->window) return paramErr;
  HIPoint where{0, 0};
  const OSStatus status =
      GetEventParameter(event, kEventParamWindowMouseLocation, typeHIPoint, nullptr, sizeof where, nullptr, &where);
  if (status != noErr) return status;
  // The start view's superview coordinates, from the window's.
  const CGRect startFrame = platform::ViewFrameInContent(start);
  const CGPoint point{where.x - (startFrame.origin.x - start->frame.origin.x),
                      where.y - start->window->titleBarHeight - (startFrame.origin.y - start->frame.origin.y)};
  ControlRef hit = HitView(start, point);
  *outView = hit;
  if (!hit) return errControlNotFound;
  return noErr;
}

OSStatus HIRectConvert(HIRect* rect, HICoordinateSpace sourceSpace, void* sourceObject, HICoordinateSpace destSpace,
                       void*) {
  if (!rect || sourceSpace != kHICoordSpaceView || destSpace != kHICoordSpaceScreenPixel || !sourceObject) {
    return paramErr;
  }
  ControlRef view = static_cast<ControlRef>(sourceObject);
  if (!view->window) return paramErr;
  const CGRect f = platform::ViewFrameInContent(view);
  const double s = platform::ScreenWindowOf(view->window)->DeviceScale();
  const Rect& c = view->window->contentBounds;
  rect->origin.x = s * (c.left + f.origin.x + rect->origin.x);
  rect->origin.y = s * (c.top + f.origin.y + rect->origin.y);
  rect->size.width *= s;
  rect->size.height *= s;
  return noErr;
}

OSStatus UpdateControls(WindowRef window, RgnHandle) {
  if (!window) return paramErr;
  for (ControlRef view : platform::WindowViews(window)) {
    if (!platform::IsLiveView(view) || !IsShown(view)) continue;
    if (view->kind == OpaqueControlRef::kRootView || view->kind == OpaqueControlRef::kContentView) continue;
    SendDraw(view, nullptr, nullptr);
  }
  return noErr;
}

namespace platform {

HIRect ViewFrameInContent(HIViewRef view) {
  if (!view) return CGRectMake(0, 0, 0, 0);
  CGRect f = view->frame;
  for (ControlRef p = view->superview; p; p = p->superview) {
    f.origin.x += p->frame.origin.x;
    f.origin.y += p->frame.origin.y;
  }
  return f;
}

void UpdateWindows() {
  const std::vector<WindowRef> windows = AllWindows();
  for (WindowRef window : windows) {
    if (!IsWindowVisible(window) || !(window->attributes & kWindowCompositingAttribute)) continue;
    // A draw handler may change the tree: walk a copy, skip the gone.
    for (ControlRef view : WindowViews(window)) {
      if (!IsLiveView(view) || !view->needsDisplay || !IsShown(view)) continue;
      if (view->window != window || !IsWindowVisible(window)) continue;
      DrawView(window, view);
    }
  }
}

int DrawEventCount() { return gDrawEvents; }

std::vector<ControlRef> WindowViews(WindowRef window) {
  std::vector<ControlRef> views;
  if (!window) return views;
  if (window->root) CollectViews(window->root, &views);
  // Views made for the window but embedded nowhere yet.
  for (ControlRef view : LiveViews()) {
    if (view->window == window && !view->superview && view != window->root) CollectViews(view, &views);
  }
  return views;
}

void MakeCompositingViews(WindowRef window) {
  ControlRef root = nullptr;
  CreateRootControl(window, &root);
  const Rect& c = window->contentBounds;
  window->content = platform::MakeView(window, OpaqueControlRef::kContentView, CGRectMake(0, 0, c.right - c.left, c.bottom - c.top));
  HIViewAddSubview(root, window->content);
}

void DisposeWindowViews(WindowRef window) {
  std::vector<ControlRef> tops;
  for (ControlRef view : LiveViews()) {
    if (view->window == window && !view->superview) tops.push_back(view);
  }
  for (ControlRef view : tops) {
    if (IsLiveView(view)) DisposeControl(view);
  }
  window->root = window->content = window->keyboardFocus = nullptr;
}

void WindowContentResized(WindowRef window) {
  const Rect& c = window->contentBounds;
  const CGSize size{static_cast<CGFloat>(c.right - c.left), static_cast<CGFloat>(c.bottom - c.top)};
  if (window->root) window->root->frame.size = size;
  if (window->content) window->content->frame.size = size;
  // The window's pixels may have been made anew.
  for (ControlRef view : WindowViews(window)) MarkWhole(view);
}

void MoveKeyboardFocus(WindowRef window, ControlRef control) {
  ControlRef previous = window->keyboardFocus;
  if (previous == control) return;
  window->keyboardFocus = control;
  if (previous && previous->edit) UpdateEditFieldShown(previous);
  if (control && control->edit) UpdateEditFieldShown(control);
}

void ForgetView(ControlRef control) {
  Detach(control);
  if (WindowRef window = control->window) {
    if (window->keyboardFocus == control) window->keyboardFocus = nullptr;
    if (window->root == control) window->root = nullptr;
    if (window->content == control) window->content = nullptr;
  }
  if (control->edit) DestroyEditText(control);
  DisposeEventTargetOf(control);
  auto& views = LiveViews();
  views.erase(std::remove(views.begin(), views.end(), control), views.end());
}

bool IsLiveView(ControlRef control) {
  return std::find(LiveViews().begin(), LiveViews().end(), control) != LiveViews().end();
}

}  // namespace platform
