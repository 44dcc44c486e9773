#include "platform/hitoolbox/MacWindows.h"

#include <algorithm>

#include "platform/hitoolbox/CarbonEvents.h"
#include "platform/hitoolbox/EditTextState.h"
#include "platform/hitoolbox/HIView.h"
#include "platform/hitoolbox/WindowRecord.h"
#include "platform/quickdraw/GrafPort.h"

namespace {

std::vector<WindowRef>& Windows() {
  // Never destroyed: a window may go after static destruction began.
  static auto* windows = new std::vector<WindowRef>;
  return *windows;
}

WindowRef& UserFocus() {
  static WindowRef focus = nullptr;
  return focus;
}

bool IsLive(WindowRef window) {
  return window && std::find(Windows().begin(), Windows().end(), window) != Windows().end();
}

// Local coordinates of the window's port to its pixel coordinates.
Rect ToPixels(WindowRef window, const Rect& r) {
  Rect out = r;
  OffsetRect(&out, static_cast<int16_t>(-window->port->bounds.left), static_cast<int16_t>(-window->port->bounds.top));
  return out;
}

platform::ScreenRect ScreenFrameOf(const Rect& content) {
  return platform::ScreenRect{static_cast<double>(content.left), static_cast<double>(content.top),
                              static_cast<double>(content.right - content.left),
                              static_cast<double>(content.bottom - content.top)};
}

WindowRef MakeWindow(const Rect& content, WindowAttributes attributes) {
  WindowRef window = new OpaqueWindowPtr;
  window->attributes = attributes;
  window->contentBounds = content;
  window->port = platform::NewStandInPort(static_cast<int16_t>(content.right - content.left),
                                          static_cast<int16_t>(content.bottom - content.top),
                                          Point{content.top, content.left});
  window->port->window = window;
  window->screen = std::make_unique<platform::ScreenWindow>(ScreenFrameOf(content));
  window->sink = std::make_unique<platform::CarbonWindowSink>(window);
  window->screen->SetSink(window->sink.get());
  Windows().push_back(window);
  platform::InstallWindowStandardHandler(window);
  if (attributes & kWindowCompositingAttribute) platform::MakeCompositingViews(window);
  return window;
}

void FreeWindow(WindowRef window) {
  if (!IsLive(window)) return;
  auto& windows = Windows();
  windows.erase(std::remove(windows.begin(), windows.end(), window), windows.end());
  if (UserFocus() == window) UserFocus() = nullptr;
  platform::DisposeWindowViews(window);
  platform::DisposeEventTargetOf(window);
  window->screen->SetSink(nullptr);
  platform::DisposeStandInPort(window->port);
  delete window;
}

}  // namespace

CGrafPtr GetWindowPort(WindowRef window) { return window ? window->port : nullptr; }

WindowRef GetWindowFromPort(CGrafPtr port) { return port ? port->window : nullptr; }

void InvalWindowRect(WindowRef window, const Rect* r) {
  if (!window || !r || EmptyRect(r)) return;
  window->invalid = platform::UniteRects(window->invalid, {ToPixels(window, *r)});
}

void ValidWindowRect(WindowRef window, const Rect* r) {
  if (!window || !r) return;
  window->invalid = platform::SubtractRect(window->invalid, ToPixels(window, *r));
}

OSStatus CreateNewWindow(WindowClass, WindowAttributes attributes, const Rect* contentBounds, WindowRef* outWindow) {
  if (!contentBounds || !outWindow) return paramErr;
  *outWindow = MakeWindow(*contentBounds, attributes);
  return noErr;
}

void DisposeWindow(WindowRef window) { FreeWindow(window); }

void ShowWindow(WindowRef window) {
  if (!IsLive(window)) return;
  window->visible = true;
  window->screen->Show();
  if (window->keyboardFocus) platform::UpdateEditFieldShown(window->keyboardFocus);
}

void HideWindow(WindowRef window) {
  if (!IsLive(window)) return;
  window->visible = false;
  window->screen->Hide();
  if (window->keyboardFocus) platform::UpdateEditFieldShown(window->keyboardFocus);
}

bool IsWindowVisible(WindowRef window) { return IsLive(window) && window->visible; }

OSStatus GetWindowAttributes(WindowRef window, WindowAttributes* attributes) {
  if (!IsLive(window)) return errInvalidWindowRef;
  if (!attributes) return paramErr;
  *attributes = window->attributes;
  return noErr;
}

OSStatus GetWindowBounds(WindowRef window, WindowRegionCode region, Rect* bounds) {
  if (!IsLive(window)) return errInvalidWindowRef;
  if (!bounds) return paramErr;
  const Rect& c = window->contentBounds;
  const int16_t top = static_cast<int16_t>(c.top - window->titleBarHeight);
  switch (region) {
    case kWindowContentRgn: *bounds = c; return noErr;
    case kWindowStructureRgn: *bounds = Rect{top, c.left, c.bottom, c.right}; return noErr;
    case kWindowTitleBarRgn: *bounds = Rect{top, c.left, c.top, c.right}; return noErr;
    default: return errWindowRegionCodeInvalid;
  }
}

OSStatus SetWindowBounds(WindowRef window, WindowRegionCode region, const Rect* bounds) {
  if (!IsLive(window)) return errInvalidWindowRef;
  if (!bounds) return paramErr;
  if (region != kWindowContentRgn) return errWindowRegionCodeInvalid;
  window->contentBounds = *bounds;
  window->screen->SetFrame(ScreenFrameOf(*bounds));
  platform::WindowContentResized(window);
  return noErr;
}

OSStatus SetKeyboardFocus(WindowRef window, ControlRef control, ControlFocusPart part) {
  if (!IsLive(window)) return errInvalidWindowRef;
  platform::MoveKeyboardFocus(window, part == kControlFocusNoPart ? nullptr : control);
  return noErr;
}

OSStatus GetKeyboardFocus(WindowRef window, ControlRef* control) {
  if (!IsLive(window)) return errInvalidWindowRef;
  if (!control) return paramErr;
  *control = window->keyboardFocus;
  return noErr;
}

OSStatus SetUserFocusWindow(WindowRef window) {
  if (window != kUserFocusAuto && window && !IsLive(window)) return errInvalidWindowRef;
  UserFocus() = window == kUserFocusAuto ? nullptr : window;
  return noErr;
}

WindowRef GetUserFocusWindow() { return UserFocus(); }

namespace platform {

WindowRef NewStandInWindow(int16_t width, int16_t height, Point globalTopLeft) {
  const Rect content{globalTopLeft.v, globalTopLeft.h, static_cast<int16_t>(globalTopLeft.v + height),
                     static_cast<int16_t>(globalTopLeft.h + width)};
  return MakeWindow(content, kWindowNoAttributes);
}

void DisposeStandInWindow(WindowRef window) { FreeWindow(window); }

std::vector<Rect> InvalidRects(WindowRef window) { return window ? window->invalid : std::vector<Rect>(); }

long InvalidArea(WindowRef window) { return window ? RectListArea(window->invalid) : 0; }

void ValidateWindow(WindowRef window) {
  if (window) window->invalid.clear();
}

void SetWindowTitleBarHeight(WindowRef window, int16_t height) {
  if (IsLive(window)) window->titleBarHeight = height > 0 ? height : 0;
}

ScreenWindow* ScreenWindowOf(WindowRef window) { return IsLive(window) ? window->screen.get() : nullptr; }

WindowRef WindowOfScreenWindow(const ScreenWindow* screen) {
  for (WindowRef w : Windows()) {
    if (w->screen.get() == screen) return w;
  }
  return nullptr;
}

int LiveWindowCount() { return static_cast<int>(Windows().size()); }

const std::vector<WindowRef>& AllWindows() { return Windows(); }

}  // namespace platform
