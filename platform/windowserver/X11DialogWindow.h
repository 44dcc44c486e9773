#pragma once

#include <functional>
#include <string>

#include "platform/windowserver/DialogCanvas.h"
#include "platform/windowserver/X11State.h"

// A dialog in a top-level window of its own on the X display, transient for
// the window it belongs to (the dialog open beneath it, else the front
// window shown) and centred over it. While it runs, it is modal: the
// editor's windows are still redrawn and the run loop's timers still fire
// (audio included), but input meant for other windows is dropped. The
// window manager's close box cancels it.
namespace platform {

class X11DialogWindow {
 public:
  X11DialogWindow(X11State& x, const std::string& title, int width, int height);
  virtual ~X11DialogWindow();
  X11DialogWindow(const X11DialogWindow&) = delete;
  X11DialogWindow& operator=(const X11DialogWindow&) = delete;

  // Shows the window and runs until the dialog finishes. When stop answers
  // true (the program interrupted, the editor asked to close) the dialog
  // is cancelled.
  void RunModal(const std::function<bool()>& stop);

 protected:
  virtual void Draw(DialogCanvas& canvas) = 0;
  // The key, and the printable ASCII character it types, or 0.
  virtual void KeyPressed(KeySym sym, char character, unsigned state) = 0;
  virtual void Pressed(int /*x*/, int /*y*/, unsigned /*button*/, int /*clicks*/) {}
  virtual void Released(int /*x*/, int /*y*/, unsigned /*button*/) {}
  virtual void Moved(int /*x*/, int /*y*/, bool /*dragging*/) {}
  virtual void Cancelled() = 0;

  void Finish() { mDone = true; }
  // The next press counts as a first click again: a double click that
  // acted is not the start of another.
  void ForgetClicks() { mClicks = 0; }
  void Redraw() { mDirty = true; }
  X11State& State() { return mX; }
  DialogCanvas& Canvas() { return mCanvas; }

 private:
  void Dispatch(XEvent& event);
  void Handle(XEvent& event);
  void Paint();
  void TakeFocus();

  X11State& mX;
  DialogCanvas mCanvas;
  Window mWindow = 0;
  Colormap mColormap = 0;
  XImage* mImage = nullptr;
  std::vector<uint32_t> mWords;
  bool mDone = false;
  bool mDirty = true;
  // Click counting.
  unsigned mLastButton = 0;
  Time mLastPress = 0;
  int mLastX = 0, mLastY = 0, mClicks = 0;
};

}  // namespace platform
