#include <algorithm>

#include "platform/windowserver/X11State.h"

// Xlib's default handlers end the program on any error. Here a window of
// ours that another client destroyed (a window manager, xdotool, xkill) is
// no reason to stop: requests about it fail, and the window reads as closed.
// A lost connection likewise: the state is marked lost and the caller winds
// down in order, which the exit handler of libX11 1.7 and later allows.

namespace platform {

namespace {

// Xlib's handlers are process-wide; the backend has one display.
X11State* gState = nullptr;
XErrorHandler gPreviousError = nullptr;
bool gTrapping = false;
int gTrapped = 0;

int OnError(Display* display, XErrorEvent* error) {
  if (gTrapping) {
    if (gTrapped == 0) gTrapped = error->error_code;
    return 0;
  }
  if (gState && gState->display == display &&
      (error->error_code == BadWindow || error->error_code == BadDrawable) && gState->Owns(error->resourceid)) {
    return 0;
  }
  return gPreviousError ? gPreviousError(display, error) : 0;
}

#ifdef BRIMLOW_HAVE_XIO_EXIT_HANDLER
XIOErrorHandler gPreviousIOError = nullptr;

int OnIOError(Display* display) {
  if (gState && gState->display == display) {
    gState->lost = true;
    return 0;  // Xlib goes on to the exit handler below
  }
  return gPreviousIOError ? gPreviousIOError(display) : 0;
}

void OnIOErrorExit(Display*, void* state) { static_cast<X11State*>(state)->lost = true; }
#endif

}  // namespace

bool X11State::Owns(XID id) const {
  if (id == 0) return false;
  for (const Shown& s : shown) {
    if (s.xwindow == id) return true;
  }
  for (const Field& f : fields) {
    if (f.xwindow == id) return true;
  }
  return id == tag || std::find(menuWindows.begin(), menuWindows.end(), id) != menuWindows.end() ||
         std::find(vanished.begin(), vanished.end(), id) != vanished.end();
}

void InstallErrorHandlers(X11State& x) {
  gState = &x;
  gPreviousError = XSetErrorHandler(OnError);
#ifdef BRIMLOW_HAVE_XIO_EXIT_HANDLER
  gPreviousIOError = XSetIOErrorHandler(OnIOError);
  XSetIOErrorExitHandler(x.display, OnIOErrorExit, &x);
#endif
}

void RemoveErrorHandlers(X11State& x) {
  if (gState != &x) return;
  XSetErrorHandler(gPreviousError);
#ifdef BRIMLOW_HAVE_XIO_EXIT_HANDLER
  XSetIOErrorHandler(gPreviousIOError);
#endif
  gState = nullptr;
}

int TrapErrors(X11State& x, const std::function<void()>& requests) {
  if (x.lost) return 0;
  // Errors of requests already on their way are not this caller's.
  XSync(x.display, False);
  gTrapping = true;
  gTrapped = 0;
  requests();
  XSync(x.display, False);
  gTrapping = false;
  return gTrapped;
}

}  // namespace platform
