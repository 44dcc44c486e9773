#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/hitoolbox/Controls.h"
#include "platform/hitoolbox/MacWindows.h"
#include "platform/windowserver/InputSink.h"
#include "platform/windowserver/ScreenWindow.h"

// The record behind a WindowRef. Private to platform/hitoolbox.

namespace platform {

// Device input on the window's screen window, sent on as Carbon events:
// mouse events to the window's target, keys to the keyboard focus (or the
// window), deactivation to the window; a move by the window server moves
// the content's global bounds with it.
class CarbonWindowSink : public InputSink {
 public:
  explicit CarbonWindowSink(WindowRef window) : mWindow(window) {}
  void Pointer(const PointerInput& input) override;
  void Key(const KeyInput& input) override;
  void Deactivated() override;
  void Moved(const ScreenRect& frame) override;

 private:
  WindowRef mWindow;
};

}  // namespace platform

struct OpaqueWindowPtr {
  GrafPtr port = nullptr;
  std::vector<Rect> invalid;  // port pixel coordinates
  WindowAttributes attributes = 0;
  Rect contentBounds{0, 0, 0, 0};  // global
  int16_t titleBarHeight = 0;
  std::string title;
  bool visible = false;
  ControlRef root = nullptr;     // the root view, null until made
  ControlRef content = nullptr;  // the content view of a compositing window
  ControlRef keyboardFocus = nullptr;
  std::unique_ptr<platform::ScreenWindow> screen;
  std::unique_ptr<platform::CarbonWindowSink> sink;
};

namespace platform {

// Every live window, in the order made (MacWindows.cpp).
const std::vector<WindowRef>& AllWindows();
// Views of the window, depth first, parents before children.
std::vector<ControlRef> WindowViews(WindowRef window);

// A click in an edit field focuses it (CarbonInput.cpp).
void InstallWindowStandardHandler(WindowRef window);
// The view tree's side of the window's life (HIView.cpp).
void MakeCompositingViews(WindowRef window);
void DisposeWindowViews(WindowRef window);
void WindowContentResized(WindowRef window);
void MoveKeyboardFocus(WindowRef window, ControlRef control);

}  // namespace platform
