#include "platform/hitoolbox/MacWindows.h"

#include "platform/quickdraw/GrafPort.h"

struct OpaqueWindowPtr {
  GrafPtr port = nullptr;
  std::vector<Rect> invalid;  // port pixel coordinates
};

namespace {

// Local coordinates of the window's port to its pixel coordinates.
Rect ToPixels(WindowRef window, const Rect& r) {
  Rect out = r;
  OffsetRect(&out, static_cast<int16_t>(-window->port->bounds.left), static_cast<int16_t>(-window->port->bounds.top));
  return out;
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

namespace platform {

WindowRef NewStandInWindow(int16_t width, int16_t height, Point globalTopLeft) {
  WindowRef window = new OpaqueWindowPtr;
  window->port = NewStandInPort(width, height, globalTopLeft);
  window->port->window = window;
  return window;
}

void DisposeStandInWindow(WindowRef window) {
  if (!window) return;
  DisposeStandInPort(window->port);
  delete window;
}

std::vector<Rect> InvalidRects(WindowRef window) { return window ? window->invalid : std::vector<Rect>(); }

long InvalidArea(WindowRef window) { return window ? RectListArea(window->invalid) : 0; }

void ValidateWindow(WindowRef window) {
  if (window) window->invalid.clear();
}

}  // namespace platform
