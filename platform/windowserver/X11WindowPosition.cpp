#include <algorithm>

#include "platform/windowserver/ScreenWindow.h"
#include "platform/windowserver/TextFieldView.h"
#include "platform/windowserver/X11State.h"

// A window is created where its frame says, but a window manager puts it
// into a frame of its own (with a title bar) and places that where it
// likes; later the user moves the frame. The real position is asked of the
// server whenever any of this may have changed it: the coordinates in the
// events are relative to the parent (real events) or, from the window
// manager, not always up to date (synthetic ones).

namespace platform {

namespace {

// The windows between w and the root, nearest first; empty when w is a
// child of the root (or gone).
std::vector<Window> AncestorsOf(X11State& x, Window w) {
  std::vector<Window> chain;
  for (int depth = 0; depth < 16; ++depth) {
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    bool known = false;
    TrapErrors(x, [&] { known = XQueryTree(x.display, w, &root, &parent, &children, &count) != 0; });
    if (children) XFree(children);
    if (!known || !parent || parent == x.root) break;
    chain.push_back(parent);
    w = parent;
  }
  return chain;
}

// Each window manager frame around the window is watched for moves; the
// window's own events say when it is reparented again.
void WatchFrames(X11State& x, X11State::Shown& s) {
  s.frames = AncestorsOf(x, s.xwindow);
  for (Window frame : s.frames) {
    // Another client's window: it may be gone already.
    TrapErrors(x, [&] { XSelectInput(x.display, frame, StructureNotifyMask); });
  }
}

void Follow(X11State& x, X11State::Shown& s) {
  int left = 0, top = 0;
  if (s.destroyed || !RootOrigin(x, s.xwindow, &left, &top)) return;
  const ScreenRect before = s.window->Frame();
  s.window->MovedOnScreen(ScreenPoint{static_cast<double>(left), static_cast<double>(top)});
  if (before.x == left && before.y == top) return;
  // Open text fields stay over their controls.
  for (const X11State::Field& f : x.fields) {
    if (f.field->FieldWindow() != s.window) continue;
    const ScreenRect frame = f.field->FieldFrame();
    XMoveWindow(x.display, f.xwindow, left + static_cast<int>(frame.x), top + static_cast<int>(frame.y));
  }
}

bool IsFrameOf(const X11State::Shown& s, Window w) {
  return std::find(s.frames.begin(), s.frames.end(), w) != s.frames.end();
}

}  // namespace

bool RootOrigin(X11State& x, Window w, int* rootX, int* rootY) {
  if (x.lost) return false;
  Window child = 0;
  int left = 0, top = 0;
  bool same = false;
  const int error =
      TrapErrors(x, [&] { same = XTranslateCoordinates(x.display, w, x.root, 0, 0, &left, &top, &child) != 0; });
  if (error != 0 || !same) return false;
  *rootX = left;
  *rootY = top;
  return true;
}

bool FollowWindowPlace(X11State& x, const XEvent& event) {
  if (event.type != ConfigureNotify && event.type != ReparentNotify && event.type != GravityNotify &&
      event.type != MapNotify) {
    return false;
  }
  const Window about = event.type == ConfigureNotify  ? event.xconfigure.window
                       : event.type == ReparentNotify ? event.xreparent.window
                       : event.type == GravityNotify  ? event.xgravity.window
                                                      : event.xmap.window;
  bool handled = false;
  for (X11State::Shown& s : x.shown) {
    if (s.destroyed) continue;
    if (about == s.xwindow) {
      if (event.type == ReparentNotify || event.type == MapNotify) WatchFrames(x, s);
    } else if (!IsFrameOf(s, about)) {
      continue;
    }
    Follow(x, s);
    handled = true;
  }
  return handled;
}

}  // namespace platform
