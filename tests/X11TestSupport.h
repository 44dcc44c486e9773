#pragma once

// Include after everything else: Xlib's macros clash with other names.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <string>

// The shown (viewable) top-level window titled `title` other than `other`;
// 0 while there is none.
inline Window FindShownWindow(Display* d, const std::string& title, Window other = 0) {
  Window root = DefaultRootWindow(d), parent = 0, *children = nullptr;
  unsigned int count = 0;
  Window found = 0;
  if (!XQueryTree(d, root, &root, &parent, &children, &count)) return 0;
  for (unsigned int i = 0; i < count && !found; ++i) {
    char* name = nullptr;
    XWindowAttributes a;
    if (children[i] != other && XFetchName(d, children[i], &name) && name && title == name &&
        XGetWindowAttributes(d, children[i], &a) && a.map_state == IsViewable) {
      found = children[i];
    }
    if (name) XFree(name);
  }
  if (children) XFree(children);
  return found;
}

// What the window manager sends when its close box is clicked.
inline void SendCloseRequest(Display* d, Window w) {
  XEvent close{};
  close.type = ClientMessage;
  close.xclient.window = w;
  close.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
  close.xclient.format = 32;
  close.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
  close.xclient.data.l[1] = CurrentTime;
  XSendEvent(d, w, False, NoEventMask, &close);
  XSync(d, False);
}

// Does what a reparenting window manager does to a new window: a frame at
// (left, top) on the root with the window at (dx, dy) inside it, and the
// window told (a synthetic ConfigureNotify) where it now is on the root.
// The frame is the caller's to destroy.
inline Window ReparentAsAWindowManager(Display* d, Window client, int left, int top, int dx, int dy) {
  XWindowAttributes a;
  if (!XGetWindowAttributes(d, client, &a)) return 0;
  const Window frame = XCreateSimpleWindow(d, DefaultRootWindow(d), left, top, static_cast<unsigned>(a.width + 2 * dx),
                                           static_cast<unsigned>(a.height + dy + dx), 0, 0, 0);
  XReparentWindow(d, client, frame, dx, dy);
  XMapWindow(d, frame);
  XEvent event{};
  XConfigureEvent& c = event.xconfigure;
  c.type = ConfigureNotify;
  c.event = c.window = client;
  c.x = left + dx;
  c.y = top + dy;
  c.width = a.width;
  c.height = a.height;
  c.above = None;
  XSendEvent(d, client, False, StructureNotifyMask, &event);
  XSync(d, False);
  return frame;
}
