#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/windowserver/HeadlessBackend.h"

// The window server on an X display: every window that is shown gets an X
// window showing its presented image, X input is delivered to the window's
// sink (mouse buttons 1 and 3 as the primary and secondary buttons, 4 to 7
// as wheel steps, Shift, Control, Alt and Super as the modifier keys, the
// keyboard as Mac key codes and characters), popup menus and text fields are
// small override-redirect windows, help tags likewise, and the run loop runs
// on the real clock while the X event loop waits. Alerts and open and save
// panels are windows of their own (X11AlertWindow.h, X11FilePanel.h); the
// colour picker is answered as the headless backend answers it. A scripted
// answer waiting for a menu, an alert or a panel is taken instead.
//
// Keyboard: Return and Escape work in menus; Escape in a text field leaves
// it without taking its text (the window is told it was deactivated). An
// open text field takes the keyboard focus for its window, wherever the
// pointer is, and gives it back when it closes.
//
// A window manager may frame a window and put it elsewhere, and the user
// may move it: its frame follows, so menus, text fields and help tags open
// over the window where it is.
//
// A window destroyed by another client, or a connection to the server that
// breaks, does not end the program: the window reads as closed and the
// caller winds down as after a close.
namespace platform {

struct X11State;

class X11Backend : public HeadlessBackend {
 public:
  // Null when no display can be opened (or it has no true-colour visual).
  static std::unique_ptr<X11Backend> Open(const char* displayName = nullptr);
  ~X11Backend() override;

  void WindowShown(ScreenWindow* window) override;
  void WindowHidden(ScreenWindow* window) override;
  void WindowChanged(ScreenWindow* window) override;
  void WindowPresented(ScreenWindow* window, const DeviceRect& area) override;
  void WindowGone(ScreenWindow* window) override;
  MenuChoice TrackMenu(const MenuTree& menu, const ScreenPoint& topLeft) override;
  // Alerts and panels in windows of their own (X11Dialogs.cpp).
  AlertResponse RunAlert(const AlertRequest& request) override;
  bool RunPanel(const PanelRequest& request, std::string* path) override;
  void ShowHelpTag(const ScreenRect& hot, const std::string& text) override;
  void HideHelpTag() override;
  void TextFieldOpened(TextFieldView* field) override;
  void TextFieldChanged(TextFieldView* field) override;
  void TextFieldClosed(TextFieldView* field) override;
  void SetCursor(CursorKind kind) override;
  bool HideCursor() override;
  bool ShowCursor() override;
  bool MoveCursor(const ScreenPoint& where) override;
  ScreenPoint MouseLocation() override;
  int DisplayPixelsHigh() override;
  // The default screen's width, for a caller that sizes a window to fit.
  int DisplayPixelsWide() const;

  // One round of the event loop: the X events waiting, a pass of the run
  // loop, then a wait of at most maxWaitSeconds for the next event or timer.
  void RunOnce(double maxWaitSeconds);
  // Rounds until keepRunning answers false.
  void Run(const std::function<bool()>& keepRunning);

  // What X shows in the window, as R, G, B bytes a pixel; false when the
  // window is not shown.
  bool ReadBack(const ScreenWindow* window, std::vector<uint8_t>* rgb, int* width, int* height);
  // Input as a user would give it, sent through the X server: a click of
  // the button at a point of the window's content, or a key (an X keysym)
  // to the open menu when there is one, else to the window.
  void SendClick(const ScreenWindow* window, int x, int y, int button);
  void SendKey(const ScreenWindow* window, unsigned long keysym);
  // The window was closed from outside: the window manager asked to close
  // it, another client destroyed it, or the display itself is gone.
  bool CloseRequested(const ScreenWindow* window) const;
  // An open alert or panel is cancelled once this answers true (the
  // program interrupted).
  void SetDialogInterruption(std::function<bool()> interrupted);
  // The connection to the X server broke; nothing is shown any more.
  bool DisplayLost() const;

 private:
  explicit X11Backend(std::unique_ptr<X11State> state);
  std::unique_ptr<X11State> mX;
  std::function<bool()> mDialogInterruption;
};

// Opens the display and installs the backend; the run loop switches to the
// real clock. Null (and the backend left as it was) when there is no display.
X11Backend* InstallX11Backend(const char* displayName = nullptr);
// The installed backend when it is the X11 one, else null.
X11Backend* X11();

}  // namespace platform
