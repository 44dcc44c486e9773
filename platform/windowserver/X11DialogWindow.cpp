#include "platform/windowserver/X11DialogWindow.h"

#include <X11/Xatom.h>
#include <poll.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "platform/corefoundation/RunLoop.h"
#include "platform/windowserver/ScreenWindow.h"

namespace platform {

namespace {

constexpr long kDialogEvents = ExposureMask | KeyPressMask | ButtonPressMask | ButtonReleaseMask |
                               PointerMotionMask | StructureNotifyMask;
constexpr Time kDoubleClickMs = 400;
constexpr int kDoubleClickPixels = 4;
// The longest and shortest waits for X between passes of the run loop: the
// shortest keeps a loop whose own timer is firing (a dialog opened from a
// timer's callback) from spinning.
constexpr double kLongestWait = 0.05;
constexpr double kShortestWait = 0.002;

// The dialogs running, the innermost last.
std::vector<X11DialogWindow*>& OpenDialogs() {
  static std::vector<X11DialogWindow*> open;
  return open;
}

int IgnoreErrors(Display*, XErrorEvent*) { return 0; }

// Focus may be refused (a window the window manager has not mapped yet, a
// window gone meanwhile); Xlib's default handler would end the program.
void SetFocusQuietly(Display* d, Window w, int revert) {
  XSync(d, False);
  XErrorHandler previous = XSetErrorHandler(IgnoreErrors);
  XSetInputFocus(d, w, revert, CurrentTime);
  XSync(d, False);
  XSetErrorHandler(previous);
}

bool IsInput(int type) {
  return type == KeyPress || type == KeyRelease || type == ButtonPress || type == ButtonRelease ||
         type == MotionNotify;
}

}  // namespace

X11DialogWindow::X11DialogWindow(X11State& x, const std::string& title, int width, int height)
    : mX(x), mCanvas(width, height) {
  Display* d = mX.display;
  Window parent = 0;
  if (!OpenDialogs().empty()) {
    parent = OpenDialogs().back()->mWindow;
  } else {
    for (const X11State::Shown& s : mX.shown) {
      if (s.window->IsVisible()) parent = s.xwindow;
    }
  }
  width = mCanvas.Width();
  height = mCanvas.Height();
  const int screenWidth = DisplayWidth(d, mX.screen), screenHeight = DisplayHeight(d, mX.screen);
  int left = (screenWidth - width) / 2, top = (screenHeight - height) / 3;
  XWindowAttributes attributes;
  Window child = 0;
  int parentX = 0, parentY = 0;
  if (parent && XGetWindowAttributes(d, parent, &attributes) &&
      XTranslateCoordinates(d, parent, mX.root, 0, 0, &parentX, &parentY, &child)) {
    left = parentX + (attributes.width - width) / 2;
    top = parentY + std::min(60, std::max(0, attributes.height - height) / 2);
  }
  left = std::clamp(left, 0, std::max(0, screenWidth - width));
  top = std::clamp(top, 0, std::max(0, screenHeight - height));

  mColormap = XCreateColormap(d, mX.root, mX.visual, AllocNone);
  XSetWindowAttributes set{};
  set.background_pixel = mX.Pack(236, 236, 236);
  set.border_pixel = 0;
  set.colormap = mColormap;
  set.event_mask = kDialogEvents;
  mWindow = XCreateWindow(d, mX.root, left, top, static_cast<unsigned>(width), static_cast<unsigned>(height), 0,
                          mX.depth, InputOutput, mX.visual, CWBackPixel | CWBorderPixel | CWColormap | CWEventMask,
                          &set);
  XStoreName(d, mWindow, title.c_str());
  if (parent) XSetTransientForHint(d, mWindow, parent);
  XSetWMProtocols(d, mWindow, &mX.wmDelete, 1);
  const Atom type = XInternAtom(d, "_NET_WM_WINDOW_TYPE", False);
  const Atom dialog = XInternAtom(d, "_NET_WM_WINDOW_TYPE_DIALOG", False);
  XChangeProperty(d, mWindow, type, XA_ATOM, 32, PropModeReplace, reinterpret_cast<const unsigned char*>(&dialog),
                  1);
  XSizeHints* hints = XAllocSizeHints();
  hints->flags = USPosition | PPosition | PMinSize | PMaxSize;
  hints->x = left;
  hints->y = top;
  hints->min_width = hints->max_width = width;
  hints->min_height = hints->max_height = height;
  XSetWMNormalHints(d, mWindow, hints);
  XFree(hints);
  XWMHints* wm = XAllocWMHints();
  wm->flags = InputHint;
  wm->input = True;
  XSetWMHints(d, mWindow, wm);
  XFree(wm);

  mWords.assign(static_cast<size_t>(width) * height, 0);
  mImage = XCreateImage(d, mX.visual, static_cast<unsigned>(mX.depth), ZPixmap, 0,
                        reinterpret_cast<char*>(mWords.data()), static_cast<unsigned>(width),
                        static_cast<unsigned>(height), 32, 0);
}

X11DialogWindow::~X11DialogWindow() {
  Display* d = mX.display;
  auto& open = OpenDialogs();
  open.erase(std::remove(open.begin(), open.end(), this), open.end());
  if (mImage) {
    mImage->data = nullptr;  // the vector owns the words
    XDestroyImage(mImage);
  }
  XDestroyWindow(d, mWindow);
  XFreeColormap(d, mColormap);
  XFlush(d);
}

void X11DialogWindow::RunModal(const std::function<bool()>& stop) {
  Display* d = mX.display;
  Window focus = 0;
  int revert = 0;
  XGetInputFocus(d, &focus, &revert);
  OpenDialogs().push_back(this);
  XMapRaised(d, mWindow);
  XFlush(d);
  while (!mDone) {
    if (stop && stop()) {
      Cancelled();
      break;
    }
    while (!mDone && XPending(d)) {
      XEvent event;
      XNextEvent(d, &event);
      Dispatch(event);
    }
    if (mDirty) Paint();
    if (mDone) break;
    RunLoopPass();
    XFlush(d);
    double wait = kLongestWait;
    const double timer = SecondsToNextRunLoopTimer();
    if (timer >= 0.0 && timer < wait) wait = std::max(timer, kShortestWait);
    if (XPending(d)) continue;
    pollfd fd{ConnectionNumber(d), POLLIN, 0};
    poll(&fd, 1, static_cast<int>(wait * 1000.0 + 0.5));
  }
  XUnmapWindow(d, mWindow);
  auto& open = OpenDialogs();
  open.erase(std::remove(open.begin(), open.end(), this), open.end());
  // Back where the keys went before, if that window is still there.
  if (focus == PointerRoot || focus == None) {
    SetFocusQuietly(d, focus, RevertToPointerRoot);
  } else {
    XWindowAttributes attributes;
    XErrorHandler previous = XSetErrorHandler(IgnoreErrors);
    const bool viewable = XGetWindowAttributes(d, focus, &attributes) && attributes.map_state == IsViewable;
    XSetErrorHandler(previous);
    if (viewable) SetFocusQuietly(d, focus, revert);
  }
  XFlush(d);
}

void X11DialogWindow::Dispatch(XEvent& event) {
  for (X11DialogWindow* dialog : OpenDialogs()) {
    if (dialog->mWindow != event.xany.window) continue;
    if (dialog == this) {
      Handle(event);
    } else if (event.type == Expose && event.xexpose.count == 0) {
      // A dialog beneath this one: drawn again, its input waits its turn.
      dialog->Paint();
    }
    return;
  }
  if (IsInput(event.type)) return;
  Deliver(mX, event);
}

void X11DialogWindow::TakeFocus() {
  XWindowAttributes attributes;
  if (XGetWindowAttributes(mX.display, mWindow, &attributes) && attributes.map_state == IsViewable) {
    SetFocusQuietly(mX.display, mWindow, RevertToParent);
  }
}

void X11DialogWindow::Handle(XEvent& event) {
  switch (event.type) {
    case Expose:
      if (event.xexpose.count == 0) mDirty = true;
      return;
    case MapNotify:
      // No window manager gives the keyboard to a new window; this one
      // takes it, as a dialog that is answered by Return and Escape must.
      TakeFocus();
      return;
    case ClientMessage:
      if (static_cast<Atom>(event.xclient.data.l[0]) == mX.wmDelete) Cancelled();
      return;
    case KeyPress: {
      char text[8] = {};
      KeySym sym = 0;
      const int length = XLookupString(&event.xkey, text, sizeof text - 1, &sym, nullptr);
      const char c = length == 1 && text[0] >= 32 && text[0] < 127 ? text[0] : 0;
      KeyPressed(sym, c, event.xkey.state);
      return;
    }
    case ButtonPress: {
      const XButtonEvent& b = event.xbutton;
      const bool again = mLastButton == b.button && b.time - mLastPress <= kDoubleClickMs &&
                         std::abs(b.x - mLastX) <= kDoubleClickPixels && std::abs(b.y - mLastY) <= kDoubleClickPixels;
      mClicks = again ? mClicks + 1 : 1;
      mLastButton = b.button;
      mLastPress = b.time;
      mLastX = b.x;
      mLastY = b.y;
      TakeFocus();
      Pressed(b.x, b.y, b.button, mClicks);
      return;
    }
    case ButtonRelease: Released(event.xbutton.x, event.xbutton.y, event.xbutton.button); return;
    case MotionNotify:
      Moved(event.xmotion.x, event.xmotion.y, (event.xmotion.state & Button1Mask) != 0);
      return;
    default: return;
  }
}

void X11DialogWindow::Paint() {
  mDirty = false;
  Draw(mCanvas);
  // Without a window manager's frame a dialog over another needs an edge.
  mCanvas.Outline(0, 0, mCanvas.Width(), mCanvas.Height(), Rgb{96, 96, 96});
  const uint8_t* in = mCanvas.Pixels();
  for (uint32_t& word : mWords) {
    word = mX.Pack(in[1], in[2], in[3]);
    in += 4;
  }
  XPutImage(mX.display, mWindow, mX.gc, mImage, 0, 0, 0, 0, static_cast<unsigned>(mCanvas.Width()),
            static_cast<unsigned>(mCanvas.Height()));
}

}  // namespace platform
