#include "platform/windowserver/X11Backend.h"

#include <X11/cursorfont.h>
#include <X11/keysym.h>
#include <poll.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/corefoundation/RunLoop.h"
#include "platform/windowserver/InputSink.h"
#include "platform/windowserver/ScreenWindow.h"
#include "platform/windowserver/TextFieldView.h"
#include "platform/windowserver/X11State.h"

namespace platform {

namespace {

constexpr long kEventMask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | KeyPressMask |
                            StructureNotifyMask | FocusChangeMask | LeaveWindowMask;
// Two presses of a button this close in time and place make a double click.
constexpr Time kDoubleClickMs = 400;
constexpr int kDoubleClickPixels = 4;

int ShiftOf(unsigned long mask) {
  int shift = 0;
  while (mask && !(mask & 1)) {
    mask >>= 1;
    ++shift;
  }
  return shift;
}

}  // namespace

X11State::Shown* X11State::Find(const ScreenWindow* window) {
  for (Shown& s : shown) {
    if (s.window == window) return &s;
  }
  return nullptr;
}

X11State::Shown* X11State::FindX(Window xwindow) {
  for (Shown& s : shown) {
    if (s.xwindow == xwindow) return &s;
  }
  return nullptr;
}

void X11State::DrawText(Window w, int x, int y, const std::string& text) {
  XDrawString(display, w, gc, x, y, text.c_str(), static_cast<int>(text.size()));
}

X11Backend::X11Backend(std::unique_ptr<X11State> state) : mX(std::move(state)) {}

std::unique_ptr<X11Backend> X11Backend::Open(const char* displayName) {
  Display* display = XOpenDisplay(displayName);
  if (!display) return nullptr;
  auto state = std::make_unique<X11State>();
  state->display = display;
  state->screen = DefaultScreen(display);
  state->root = RootWindow(display, state->screen);
  XVisualInfo info;
  if (!XMatchVisualInfo(display, state->screen, 24, TrueColor, &info)) {
    XCloseDisplay(display);
    return nullptr;
  }
  state->visual = info.visual;
  state->depth = info.depth;
  state->redShift = ShiftOf(info.red_mask);
  state->greenShift = ShiftOf(info.green_mask);
  state->blueShift = ShiftOf(info.blue_mask);
  state->wmProtocols = XInternAtom(display, "WM_PROTOCOLS", False);
  state->wmDelete = XInternAtom(display, "WM_DELETE_WINDOW", False);
  state->font = XLoadQueryFont(display, "fixed");
  state->gc = XCreateGC(display, state->root, 0, nullptr);
  if (state->font) XSetFont(display, state->gc, state->font->fid);
  state->arrow = XCreateFontCursor(display, XC_left_ptr);
  state->resize = XCreateFontCursor(display, XC_bottom_right_corner);
  const char empty[1] = {0};
  Pixmap nothing = XCreateBitmapFromData(display, state->root, empty, 1, 1);
  XColor black{};
  state->blank = XCreatePixmapCursor(display, nothing, nothing, &black, &black, 0, 0);
  XFreePixmap(display, nothing);
  state->current = state->arrow;
  int major = 0, minor = 0;
  Bool pixmaps = False;
  // BRIMLOW_X11_NO_SHM=1 sends every image down the socket, as to a server
  // on another machine.
  const char* noShm = std::getenv("BRIMLOW_X11_NO_SHM");
  state->shm = !(noShm && *noShm && std::strcmp(noShm, "0") != 0) && XShmQueryVersion(display, &major, &minor, &pixmaps);
  InstallErrorHandlers(*state);
  return std::unique_ptr<X11Backend>(new X11Backend(std::move(state)));
}

X11Backend::~X11Backend() {
  Display* d = mX->display;
  if (mX->lost) {
    // Nothing more can be said to the server; the shared segments and the
    // connection's memory still go.
    for (X11State::Shown& s : mX->shown) FreeImage(*mX, s);
    XCloseDisplay(d);
    RemoveErrorHandlers(*mX);
    return;
  }
  HideHelpTag();
  for (X11State::Field& f : mX->fields) XDestroyWindow(d, f.xwindow);
  for (X11State::Shown& s : mX->shown) {
    FreeImage(*mX, s);
    if (!s.destroyed) XDestroyWindow(d, s.xwindow);
  }
  XFreeCursor(d, mX->arrow);
  XFreeCursor(d, mX->resize);
  XFreeCursor(d, mX->blank);
  if (mX->font) XFreeFont(d, mX->font);
  XFreeGC(d, mX->gc);
  XSync(d, False);
  RemoveErrorHandlers(*mX);
  XCloseDisplay(d);
}

// ---- Windows ---------------------------------------------------------------------

void X11Backend::WindowShown(ScreenWindow* window) {
  if (mX->lost) return;
  if (X11State::Shown* s = mX->Find(window)) {
    if (s->destroyed) return;
    XMapRaised(mX->display, s->xwindow);
    XFlush(mX->display);
    return;
  }
  Display* d = mX->display;
  const ScreenRect& f = window->Frame();
  const int width = std::max(window->PixelWidth(), 1), height = std::max(window->PixelHeight(), 1);
  XSetWindowAttributes attributes{};
  attributes.background_pixel = BlackPixel(d, mX->screen);
  attributes.event_mask = kEventMask;
  attributes.cursor = mX->current;
  attributes.colormap = XCreateColormap(d, mX->root, mX->visual, AllocNone);
  attributes.border_pixel = 0;
  X11State::Shown s;
  s.window = window;
  s.xwindow = XCreateWindow(d, mX->root, static_cast<int>(f.x), static_cast<int>(f.y), static_cast<unsigned>(width),
                            static_cast<unsigned>(height), 0, mX->depth, InputOutput, mX->visual,
                            CWBackPixel | CWEventMask | CWCursor | CWColormap | CWBorderPixel, &attributes);
  XStoreName(d, s.xwindow, window->Title().empty() ? "Brimlow" : window->Title().c_str());
  XSetWMProtocols(d, s.xwindow, &mX->wmDelete, 1);
  // The window manager should keep the size the editor has.
  XSizeHints* hints = XAllocSizeHints();
  hints->flags = PPosition | PMinSize | PMaxSize;
  hints->x = static_cast<int>(f.x);
  hints->y = static_cast<int>(f.y);
  hints->min_width = hints->max_width = width;
  hints->min_height = hints->max_height = height;
  XSetWMNormalHints(d, s.xwindow, hints);
  XFree(hints);
  // Window managers give the keyboard to windows that ask for it.
  XWMHints* wmHints = XAllocWMHints();
  wmHints->flags = InputHint;
  wmHints->input = True;
  XSetWMHints(d, s.xwindow, wmHints);
  XFree(wmHints);
  MakeImage(*mX, s, width, height);
  XMapRaised(d, s.xwindow);
  mX->shown.push_back(std::move(s));
  XFlush(d);
}

void X11Backend::WindowHidden(ScreenWindow* window) {
  if (mX->lost) return;
  X11State::Shown* s = mX->Find(window);
  if (s && !s->destroyed) XUnmapWindow(mX->display, s->xwindow);
  XFlush(mX->display);
}

void X11Backend::WindowChanged(ScreenWindow* window) {
  X11State::Shown* s = mX->Find(window);
  if (!s || s->destroyed || mX->lost) return;
  const bool visible = window->IsVisible();
  // A new size or scale: a new X window is simplest.
  WindowGone(window);
  if (visible) WindowShown(window);
}

void X11Backend::WindowPresented(ScreenWindow* window, const DeviceRect& area) {
  X11State::Shown* s = mX->Find(window);
  if (!s) return;
  mX->Put(*s, area.left, area.top, area.right, area.bottom, true);
  if (!mX->lost) XFlush(mX->display);
}

void X11Backend::WindowGone(ScreenWindow* window) {
  auto& shown = mX->shown;
  for (auto it = shown.begin(); it != shown.end(); ++it) {
    if (it->window != window) continue;
    FreeImage(*mX, *it);
    if (!it->destroyed && !mX->lost) XDestroyWindow(mX->display, it->xwindow);
    shown.erase(it);
    break;
  }
  if (!mX->lost) XFlush(mX->display);
}

// ---- Cursor and display -------------------------------------------------------------

void X11Backend::SetCursor(CursorKind kind) {
  HeadlessBackend::SetCursor(kind);
  mX->current = kind == CursorKind::kDiagonalResize ? mX->resize : mX->arrow;
  if (Log().cursorHidden || mX->lost) return;
  for (X11State::Shown& s : mX->shown) XDefineCursor(mX->display, s.xwindow, mX->current);
  XFlush(mX->display);
}

bool X11Backend::HideCursor() {
  HeadlessBackend::HideCursor();
  if (mX->lost) return false;
  for (X11State::Shown& s : mX->shown) XDefineCursor(mX->display, s.xwindow, mX->blank);
  XFlush(mX->display);
  return true;
}

bool X11Backend::ShowCursor() {
  HeadlessBackend::ShowCursor();
  if (mX->lost) return false;
  for (X11State::Shown& s : mX->shown) XDefineCursor(mX->display, s.xwindow, mX->current);
  XFlush(mX->display);
  return true;
}

bool X11Backend::MoveCursor(const ScreenPoint& where) {
  HeadlessBackend::MoveCursor(where);
  if (mX->lost) return false;
  XWarpPointer(mX->display, None, mX->root, 0, 0, 0, 0, static_cast<int>(where.x), static_cast<int>(where.y));
  XFlush(mX->display);
  return true;
}

ScreenPoint X11Backend::MouseLocation() {
  Window rootReturn, child;
  int rootX = 0, rootY = 0, winX = 0, winY = 0;
  unsigned mask = 0;
  if (mX->lost) return ScreenPoint{0, 0};
  XQueryPointer(mX->display, mX->root, &rootReturn, &child, &rootX, &rootY, &winX, &winY, &mask);
  return ScreenPoint{static_cast<double>(rootX), static_cast<double>(rootY)};
}

int X11Backend::DisplayPixelsHigh() { return DisplayHeight(mX->display, mX->screen); }

int X11Backend::DisplayPixelsWide() const { return DisplayWidth(mX->display, mX->screen); }

// ---- The event loop ------------------------------------------------------------------

namespace {

// The sink of the window the X window shows, or of a text field's window.
struct Target {
  InputSink* sink = nullptr;
  int dx = 0, dy = 0;  // from the X window's coordinates to the content's
  X11State::Shown* shown = nullptr;
};

Target TargetOf(X11State& x, Window w) {
  Target t;
  if (X11State::Shown* s = x.FindX(w)) {
    t.shown = s;
    t.sink = s->window->Sink();
    return t;
  }
  for (const X11State::Field& f : x.fields) {
    if (f.xwindow != w) continue;
    ScreenWindow* owner = f.field->FieldWindow();
    t.shown = owner ? x.Find(owner) : nullptr;
    t.sink = owner ? owner->Sink() : nullptr;
    const ScreenRect frame = f.field->FieldFrame();
    t.dx = static_cast<int>(frame.x);
    t.dy = static_cast<int>(frame.y);
  }
  return t;
}

// A window manager that moves the focus with the pointer hands it to the
// pointer's window when the pointer passes onto an open field; the field's
// own window takes the keys then, so the editor has not lost them.
bool KeysStillReachAField(X11State& x) {
  if (x.fields.empty()) return false;
  Window focus = 0;
  int revert = 0;
  XGetInputFocus(x.display, &focus, &revert);
  return focus == PointerRoot || x.Owns(focus);
}

}  // namespace

void Deliver(X11State& x, XEvent& event) {
  if (FollowWindowPlace(x, event)) return;
  Target t = TargetOf(x, event.xany.window);
  switch (event.type) {
    case Expose:
      if (t.shown && event.xany.window == t.shown->xwindow) {
        x.Put(*t.shown, event.xexpose.x, event.xexpose.y, event.xexpose.x + event.xexpose.width,
              event.xexpose.y + event.xexpose.height);
      } else {
        for (const X11State::Field& f : x.fields) {
          if (f.xwindow == event.xany.window) DrawField(x, f);
        }
      }
      return;
    case ClientMessage:
      if (t.shown && event.xclient.message_type == x.wmProtocols &&
          static_cast<Atom>(event.xclient.data.l[0]) == x.wmDelete) {
        t.shown->closeRequested = true;
      }
      return;
    case DestroyNotify:
      // Another client destroyed the window: closed as surely as by the
      // window manager, and nothing more is drawn in it.
      if (X11State::Shown* s = x.FindX(event.xdestroywindow.window)) {
        s->destroyed = true;
        s->closeRequested = true;
        x.vanished.push_back(s->xwindow);
      }
      return;
    case FocusOut:
      // Focus moving within the window, or away from the pointer's window
      // when the editor takes it for a text field, is no deactivation.
      if (t.sink && event.xfocus.mode == NotifyNormal && event.xfocus.detail != NotifyInferior &&
          event.xfocus.detail != NotifyPointer && !KeysStillReachAField(x)) {
        t.sink->Deactivated();
      }
      return;
    default: break;
  }
  if (!t.sink) return;
  PointerInput input;
  switch (event.type) {
    case ButtonPress:
    case ButtonRelease: {
      const XButtonEvent& b = event.xbutton;
      input.x = b.x + t.dx;
      input.y = b.y + t.dy;
      input.modifiers = TranslateModifiers(b.state);
      if (b.button >= 4 && b.button <= 7) {
        if (event.type == ButtonRelease) return;
        input.kind = PointerInput::kWheel;
        input.wheelAxis = b.button <= 5 ? 1 : 0;
        input.wheelDelta = (b.button == 4 || b.button == 6) ? 1 : -1;
        t.sink->Pointer(input);
        return;
      }
      if (b.button != Button1 && b.button != Button3) return;
      input.button = b.button == Button1 ? 1 : 2;
      input.kind = event.type == ButtonPress ? PointerInput::kDown : PointerInput::kUp;
      if (t.shown) {
        X11State::Shown& s = *t.shown;
        if (event.type == ButtonPress) {
          const bool again = s.lastButton == b.button && b.time - s.lastPress <= kDoubleClickMs &&
                             std::abs(b.x - s.lastX) <= kDoubleClickPixels &&
                             std::abs(b.y - s.lastY) <= kDoubleClickPixels;
          s.clicks = again ? s.clicks + 1 : 1;
          s.lastButton = b.button;
          s.lastPress = b.time;
          s.lastX = b.x;
          s.lastY = b.y;
        }
        input.clickCount = s.clicks > 0 ? s.clicks : 1;
      }
      t.sink->Pointer(input);
      return;
    }
    case MotionNotify: {
      const XMotionEvent& m = event.xmotion;
      input.x = m.x + t.dx;
      input.y = m.y + t.dy;
      input.modifiers = TranslateModifiers(m.state);
      const bool primary = (m.state & Button1Mask) != 0, secondary = (m.state & Button3Mask) != 0;
      input.kind = primary || secondary ? PointerInput::kDragged : PointerInput::kMoved;
      input.button = secondary && !primary ? 2 : 1;
      t.sink->Pointer(input);
      return;
    }
    case LeaveNotify: {
      // The pointer gone from the window is a move to where nothing lies,
      // so hover drawing ends; into a child (a text field) it has not
      // left, and a held button still drags.
      const XCrossingEvent& c = event.xcrossing;
      if (c.detail == NotifyInferior || (c.mode != NotifyUngrab && (c.state & (Button1Mask | Button3Mask)))) return;
      input.kind = PointerInput::kMoved;
      input.x = input.y = -1.0;
      input.modifiers = TranslateModifiers(c.state);
      t.sink->Pointer(input);
      return;
    }
    case KeyPress: {
      char text[8] = {};
      KeySym sym = 0;
      const int length = XLookupString(&event.xkey, text, sizeof text - 1, &sym, nullptr);
      KeyInput key;
      if (!TranslateKey(sym, text, length, &key)) return;
      key.modifiers = TranslateModifiers(event.xkey.state);
      // Escape leaves an open field without taking its text.
      if (key.keyCode == kKeyEscape && !x.fields.empty()) {
        t.sink->Deactivated();
        return;
      }
      t.sink->Key(key);
      return;
    }
    default: return;
  }
}

void X11Backend::RunOnce(double maxWaitSeconds) {
  Display* d = mX->display;
  if (mX->lost) {
    // The run loop still runs: the caller winds down on its own time.
    RunLoopPass();
    return;
  }
  while (!mX->lost && XPending(d)) {
    XEvent event;
    XNextEvent(d, &event);
    Deliver(*mX, event);
  }
  RunLoopPass();
  if (mX->lost) return;
  XFlush(d);
  double wait = maxWaitSeconds;
  const double timer = SecondsToNextRunLoopTimer();
  if (timer >= 0 && timer < wait) wait = timer;
  if (mX->lost || XPending(d) || wait <= 0) return;
  pollfd fd{ConnectionNumber(d), POLLIN, 0};
  poll(&fd, 1, static_cast<int>(wait * 1000.0 + 0.5));
}

void X11Backend::Run(const std::function<bool()>& keepRunning) {
  while (keepRunning()) RunOnce(0.05);
}

bool X11Backend::ReadBack(const ScreenWindow* window, std::vector<uint8_t>* rgb, int* width, int* height) {
  X11State::Shown* s = mX->Find(window);
  if (!s || s->destroyed || mX->lost) return false;
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(mX->display, s->xwindow, &attributes) || attributes.map_state != IsViewable) return false;
  XImage* image = XGetImage(mX->display, s->xwindow, 0, 0, static_cast<unsigned>(attributes.width),
                            static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
  if (!image) return false;
  *width = attributes.width;
  *height = attributes.height;
  rgb->resize(static_cast<size_t>(*width) * *height * 3);
  for (int y = 0; y < *height; ++y) {
    for (int x = 0; x < *width; ++x) {
      const unsigned long p = XGetPixel(image, x, y);
      uint8_t* out = &(*rgb)[(static_cast<size_t>(y) * *width + x) * 3];
      out[0] = static_cast<uint8_t>(p >> mX->redShift);
      out[1] = static_cast<uint8_t>(p >> mX->greenShift);
      out[2] = static_cast<uint8_t>(p >> mX->blueShift);
    }
  }
  XDestroyImage(image);
  return true;
}

void X11Backend::SendClick(const ScreenWindow* window, int x, int y, int button) {
  X11State::Shown* s = mX->Find(window);
  if (!s || s->destroyed || mX->lost) return;
  for (int type : {ButtonPress, ButtonRelease}) {
    XEvent event{};
    event.type = type;
    XButtonEvent& b = event.xbutton;
    b.display = mX->display;
    b.window = s->xwindow;
    b.root = mX->root;
    b.x = x;
    b.y = y;
    b.button = static_cast<unsigned>(button);
    b.state = type == ButtonRelease ? (button == 1 ? Button1Mask : Button3Mask) : 0;
    b.same_screen = True;
    b.time = CurrentTime;
    XSendEvent(mX->display, s->xwindow, False, type == ButtonPress ? ButtonPressMask : ButtonReleaseMask, &event);
  }
  XFlush(mX->display);
}

void X11Backend::SendKey(const ScreenWindow* window, unsigned long keysym) {
  Window target = 0;
  if (!mX->menuWindows.empty()) {
    target = mX->menuWindows.back();
  } else if (X11State::Shown* s = mX->Find(window)) {
    target = s->xwindow;
  }
  if (!target || mX->lost) return;
  XEvent event{};
  event.type = KeyPress;
  XKeyEvent& k = event.xkey;
  k.display = mX->display;
  k.window = target;
  k.root = mX->root;
  k.keycode = XKeysymToKeycode(mX->display, keysym);
  k.same_screen = True;
  XSendEvent(mX->display, target, False, KeyPressMask, &event);
  XFlush(mX->display);
}

bool X11Backend::CloseRequested(const ScreenWindow* window) const {
  if (mX->lost) return true;
  const X11State::Shown* s = mX->Find(window);
  return s && s->closeRequested;
}

bool X11Backend::DisplayLost() const { return mX->lost; }

X11Backend* InstallX11Backend(const char* displayName) {
  std::unique_ptr<X11Backend> backend = X11Backend::Open(displayName);
  if (!backend) return nullptr;
  X11Backend* raw = backend.get();
  InstallBackend(std::move(backend));
  UseRealRunLoopClock(true);
  return raw;
}

X11Backend* X11() { return dynamic_cast<X11Backend*>(&Backend()); }

}  // namespace platform
