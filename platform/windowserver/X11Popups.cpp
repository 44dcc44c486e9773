#include <X11/keysym.h>
#include <poll.h>

#include <algorithm>

#include "platform/corefoundation/RunLoop.h"
#include "platform/windowserver/ScreenWindow.h"
#include "platform/windowserver/ScriptedAnswers.h"
#include "platform/windowserver/TextFieldView.h"
#include "platform/windowserver/X11Backend.h"
#include "platform/windowserver/X11State.h"

// The X11 backend's small windows: popup menus (each level its own window,
// submenus opening to the right), text fields over the editor, help tags.

namespace platform {

namespace {

constexpr int kItemPadding = 6;
constexpr int kSideMargin = 18;  // room for the check mark and the submenu arrow

int LineHeight(const X11State& x) { return x.font ? x.font->ascent + x.font->descent + kItemPadding : 16; }
int Ascent(const X11State& x) { return x.font ? x.font->ascent : 11; }
int TextWidth(const X11State& x, const std::string& text) {
  return x.font ? XTextWidth(x.font, text.c_str(), static_cast<int>(text.size())) : 7 * static_cast<int>(text.size());
}

Window MakePopup(X11State& x, int left, int top, int width, int height, long events) {
  XSetWindowAttributes attributes{};
  attributes.override_redirect = True;
  attributes.background_pixel = WhitePixel(x.display, x.screen);
  attributes.border_pixel = BlackPixel(x.display, x.screen);
  attributes.event_mask = events;
  Window w = XCreateWindow(x.display, x.root, left, top, static_cast<unsigned>(std::max(width, 1)),
                           static_cast<unsigned>(std::max(height, 1)), 1, CopyFromParent, InputOutput, CopyFromParent,
                           CWOverrideRedirect | CWBackPixel | CWBorderPixel | CWEventMask, &attributes);
  XMapRaised(x.display, w);
  return w;
}

// Keys typed into a field go to its window's X window (the field's own is
// only drawn). With no window manager the keyboard follows the pointer,
// which may rest on the field, so the window takes the focus itself.
void TakeFocus(X11State& x, Window w) {
  Window before = 0;
  int revert = RevertToParent;
  XGetInputFocus(x.display, &before, &revert);
  if (before == w) return;
  // Refused (BadMatch) while the window is not viewable: typing then goes
  // where it went before.
  if (TrapErrors(x, [&] { XSetInputFocus(x.display, w, RevertToParent, CurrentTime); }) != 0) return;
  if (!x.focusTaken) {
    x.focusBefore = before;
    x.revertBefore = revert;
    x.focusTaken = true;
  }
}

void GiveFocusBack(X11State& x) {
  if (!x.focusTaken || x.lost) return;
  x.focusTaken = false;
  Window now = 0;
  int revert = 0;
  XGetInputFocus(x.display, &now, &revert);
  // Only while it is still ours: the user may have moved it on.
  bool ours = false;
  for (const X11State::Shown& s : x.shown) ours = ours || (s.xwindow == now && !s.destroyed);
  if (!ours) return;
  // The window that had it may have gone meanwhile.
  TrapErrors(x, [&] { XSetInputFocus(x.display, x.focusBefore, x.revertBefore, CurrentTime); });
}

bool Choosable(const MenuTree::Item& item) {
  return !item.separator && !item.header && item.enabled && !item.submenu;
}

struct Level {
  const MenuTree* menu;
  Window window;
  int left, top, width;
  int highlight = -1;
};

class MenuSession {
 public:
  MenuSession(X11State& x, const MenuTree& menu, const ScreenPoint& topLeft) : mX(x) {
    Open(menu, static_cast<int>(topLeft.x), static_cast<int>(topLeft.y));
  }
  ~MenuSession() {
    while (!mLevels.empty()) CloseDeepest();
  }

  MenuChoice Run() {
    Window grab = mLevels.front().window;
    XGrabPointer(mX.display, grab, True, ButtonPressMask | ButtonReleaseMask | PointerMotionMask, GrabModeAsync,
                 GrabModeAsync, None, None, CurrentTime);
    XGrabKeyboard(mX.display, grab, True, GrabModeAsync, GrabModeAsync, CurrentTime);
    const double opened = RunLoopTime();
    while (!mDone && !mX.lost) {
      while (!mDone && !mX.lost && XPending(mX.display)) {
        XEvent event;
        XNextEvent(mX.display, &event);
        Handle(event, RunLoopTime() - opened);
      }
      if (mDone || mX.lost) break;
      // The editor's timers go on while the menu is open, as on the Mac.
      RunLoopPass();
      XFlush(mX.display);
      pollfd fd{ConnectionNumber(mX.display), POLLIN, 0};
      poll(&fd, 1, 20);
    }
    if (mX.lost) return MenuChoice();
    XUngrabKeyboard(mX.display, CurrentTime);
    XUngrabPointer(mX.display, CurrentTime);
    XFlush(mX.display);
    return mChoice;
  }

 private:
  void Open(const MenuTree& menu, int left, int top) {
    int width = 60;
    for (const MenuTree::Item& item : menu.items) width = std::max(width, TextWidth(mX, item.text) + 2 * kSideMargin);
    const int height = std::max<int>(1, static_cast<int>(menu.items.size())) * LineHeight(mX);
    Level level{&menu, MakePopup(mX, left, top, width, height, ExposureMask | KeyPressMask), left, top, width};
    mLevels.push_back(level);
    mX.menuWindows.push_back(level.window);
    Draw(mLevels.back());
  }

  void CloseDeepest() {
    if (!mX.lost) XDestroyWindow(mX.display, mLevels.back().window);
    mX.menuWindows.pop_back();
    mLevels.pop_back();
  }

  void Draw(const Level& level) {
    Display* d = mX.display;
    XClearWindow(d, level.window);
    const int h = LineHeight(mX);
    for (size_t i = 0; i < level.menu->items.size(); ++i) {
      const MenuTree::Item& item = level.menu->items[i];
      const int top = static_cast<int>(i) * h;
      if (item.separator) {
        XSetForeground(d, mX.gc, BlackPixel(d, mX.screen));
        XDrawLine(d, level.window, mX.gc, 4, top + h / 2, level.width - 4, top + h / 2);
        continue;
      }
      const bool lit = static_cast<int>(i) == level.highlight && Choosable(item);
      if (static_cast<int>(i) == level.highlight && !item.separator) {
        XSetForeground(d, mX.gc, mX.Pack(60, 90, 200));
        XFillRectangle(d, level.window, mX.gc, 0, top, static_cast<unsigned>(level.width), static_cast<unsigned>(h));
      }
      const uint8_t grey = item.enabled && !item.header ? 0 : 140;
      XSetForeground(d, mX.gc, lit ? WhitePixel(d, mX.screen) : mX.Pack(grey, grey, grey));
      const int baseline = top + kItemPadding / 2 + Ascent(mX);
      if (item.checked) mX.DrawText(level.window, 4, baseline, "*");
      mX.DrawText(level.window, kSideMargin + 8 * item.indent, baseline, item.text);
      if (item.submenu) mX.DrawText(level.window, level.width - 12, baseline, ">");
    }
    XSetForeground(d, mX.gc, BlackPixel(d, mX.screen));
  }

  // The level and item under a root point; false when outside every level.
  bool Hit(int rootX, int rootY, size_t* levelIndex, int* item) const {
    for (size_t i = mLevels.size(); i-- > 0;) {
      const Level& l = mLevels[i];
      const int rows = static_cast<int>(l.menu->items.size());
      if (rootX < l.left || rootX >= l.left + l.width || rootY < l.top || rootY >= l.top + rows * LineHeight(mX)) {
        continue;
      }
      *levelIndex = i;
      *item = (rootY - l.top) / LineHeight(mX);
      return true;
    }
    return false;
  }

  void Highlight(size_t levelIndex, int item) {
    while (mLevels.size() > levelIndex + 1) CloseDeepest();
    Level& level = mLevels[levelIndex];
    level.highlight = item;
    Draw(level);
    const MenuTree::Item& entry = level.menu->items[static_cast<size_t>(item)];
    if (entry.submenu && entry.enabled && !entry.submenu->items.empty()) {
      Open(*entry.submenu, level.left + level.width, level.top + item * LineHeight(mX));
    }
  }

  void Choose() {
    std::vector<int> path;
    for (const Level& l : mLevels) {
      if (l.highlight < 0) return;
      path.push_back(l.highlight);
    }
    const Level& last = mLevels.back();
    if (!Choosable(last.menu->items[static_cast<size_t>(last.highlight)])) return;
    mChoice.path = path;
    mDone = true;
  }

  void Move(int step) {
    Level& level = mLevels.back();
    const int n = static_cast<int>(level.menu->items.size());
    for (int i = 1; i <= n; ++i) {
      const int candidate = ((level.highlight < 0 ? (step > 0 ? -1 : 0) : level.highlight) + step * i + n * 2) % n;
      const MenuTree::Item& item = level.menu->items[static_cast<size_t>(candidate)];
      if (!item.separator && item.enabled && !item.header) {
        level.highlight = candidate;
        Draw(level);
        return;
      }
    }
  }

  void Handle(XEvent& event, double secondsOpen) {
    size_t levelIndex = 0;
    int item = -1;
    switch (event.type) {
      case Expose:
        for (const Level& l : mLevels) {
          if (l.window == event.xexpose.window) Draw(l);
        }
        return;
      case MotionNotify:
        if (Hit(event.xmotion.x_root, event.xmotion.y_root, &levelIndex, &item) &&
            item != mLevels[levelIndex].highlight) {
          Highlight(levelIndex, item);
        }
        return;
      case ButtonPress:
        if (!Hit(event.xbutton.x_root, event.xbutton.y_root, &levelIndex, &item)) mDone = true;
        return;
      case ButtonRelease:
        if (Hit(event.xbutton.x_root, event.xbutton.y_root, &levelIndex, &item)) {
          Highlight(levelIndex, item);
          Choose();
        } else if (secondsOpen > 0.3) {
          // Not the release of the click that opened the menu.
          mDone = true;
        }
        return;
      case KeyPress: {
        const KeySym sym = XLookupKeysym(&event.xkey, 0);
        if (sym == XK_Escape) {
          mDone = true;
        } else if (sym == XK_Down) {
          Move(1);
        } else if (sym == XK_Up) {
          Move(-1);
        } else if (sym == XK_Right) {
          const Level& l = mLevels.back();
          if (l.highlight >= 0) Highlight(mLevels.size() - 1, l.highlight);
        } else if (sym == XK_Left) {
          if (mLevels.size() > 1) CloseDeepest();
        } else if (sym == XK_Return || sym == XK_KP_Enter) {
          Choose();
        }
        return;
      }
      default: return;
    }
  }

  X11State& mX;
  std::vector<Level> mLevels;
  MenuChoice mChoice;
  bool mDone = false;
};

}  // namespace

MenuChoice X11Backend::TrackMenu(const MenuTree& menu, const ScreenPoint& topLeft) {
  // A scripted answer still wins: a session under test needs no user.
  if (NextAnswerIs(ScriptedAnswer::kMenu)) return HeadlessBackend::TrackMenu(menu, topLeft);
  Log().menus.push_back(HeadlessLog::ShownMenu{std::make_shared<const MenuTree>(menu), topLeft});
  if (menu.items.empty() || mX->lost) return MenuChoice();
  MenuSession session(*mX, menu, topLeft);
  return session.Run();
}

void DrawField(X11State& x, const X11State::Field& f) {
  if (x.lost) return;
  XClearWindow(x.display, f.xwindow);
  XSetForeground(x.display, x.gc, BlackPixel(x.display, x.screen));
  const std::string text = f.field->FieldText();
  x.DrawText(f.xwindow, 3, Ascent(x) + 2, text);
  // The caret at the end.
  const int caret = 3 + TextWidth(x, text) + 1;
  XDrawLine(x.display, f.xwindow, x.gc, caret, 2, caret, Ascent(x) + 4);
  XFlush(x.display);
}

void X11Backend::TextFieldOpened(TextFieldView* field) {
  HeadlessBackend::TextFieldOpened(field);
  ScreenWindow* owner = field->FieldWindow();
  X11State::Shown* shown = owner ? mX->Find(owner) : nullptr;
  if (!shown || shown->destroyed || mX->lost) return;
  // Where the server has the window, which a window manager may have
  // moved since its frame was last heard of.
  int left = static_cast<int>(owner->Frame().x), top = static_cast<int>(owner->Frame().y);
  RootOrigin(*mX, shown->xwindow, &left, &top);
  const ScreenRect frame = field->FieldFrame();
  Window w = MakePopup(*mX, left + static_cast<int>(frame.x), top + static_cast<int>(frame.y),
                       static_cast<int>(frame.width), static_cast<int>(frame.height),
                       ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | KeyPressMask);
  mX->fields.push_back(X11State::Field{field, w});
  DrawField(*mX, mX->fields.back());
  TakeFocus(*mX, shown->xwindow);
}

void X11Backend::TextFieldChanged(TextFieldView* field) {
  for (const X11State::Field& f : mX->fields) {
    if (f.field == field) DrawField(*mX, f);
  }
}

void X11Backend::TextFieldClosed(TextFieldView* field) {
  HeadlessBackend::TextFieldClosed(field);
  auto& fields = mX->fields;
  for (auto it = fields.begin(); it != fields.end(); ++it) {
    if (it->field != field) continue;
    if (!mX->lost) XDestroyWindow(mX->display, it->xwindow);
    fields.erase(it);
    break;
  }
  if (fields.empty()) GiveFocusBack(*mX);
  if (!mX->lost) XFlush(mX->display);
}

void X11Backend::ShowHelpTag(const ScreenRect& hot, const std::string& text) {
  HeadlessBackend::ShowHelpTag(hot, text);
  HideHelpTag();
  if (mX->lost) return;
  mX->tagText = text;
  const int width = TextWidth(*mX, text) + 8;
  mX->tag = MakePopup(*mX, static_cast<int>(hot.x), static_cast<int>(hot.y + hot.height), width, LineHeight(*mX),
                      ExposureMask);
  XSetWindowBackground(mX->display, mX->tag, mX->Pack(255, 255, 200));
  XClearWindow(mX->display, mX->tag);
  XSetForeground(mX->display, mX->gc, BlackPixel(mX->display, mX->screen));
  mX->DrawText(mX->tag, 4, kItemPadding / 2 + Ascent(*mX), text);
  XFlush(mX->display);
}

void X11Backend::HideHelpTag() {
  HeadlessBackend::HideHelpTag();
  if (!mX->tag) return;
  if (!mX->lost) XDestroyWindow(mX->display, mX->tag);
  mX->tag = 0;
  if (!mX->lost) XFlush(mX->display);
}

}  // namespace platform
