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
