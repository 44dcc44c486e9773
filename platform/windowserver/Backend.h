#pragma once

#include <memory>
#include <string>

#include "platform/windowserver/Requests.h"

// The device side of the window server: what shows windows and menus and
// answers the user's questions. The headless backend (the default) keeps
// images in memory and answers from a script; the X11 backend shows them on
// an X display. Every call comes from the main thread.
namespace platform {

class ScreenWindow;
class TextFieldView;

enum class CursorKind { kArrow, kDiagonalResize };

class WindowServerBackend {
 public:
  virtual ~WindowServerBackend() = default;

  virtual void WindowShown(ScreenWindow*) {}
  virtual void WindowHidden(ScreenWindow*) {}
  // Moved, resized or a new device scale.
  virtual void WindowChanged(ScreenWindow*) {}
  virtual void WindowPresented(ScreenWindow*, const DeviceRect&) {}
  virtual void WindowGone(ScreenWindow*) {}

  virtual AlertResponse RunAlert(const AlertRequest& request) = 0;
  // The menu's top-left corner in screen points.
  virtual MenuChoice TrackMenu(const MenuTree& menu, const ScreenPoint& topLeft) = 0;
  // True with the chosen path.
  virtual bool RunPanel(const PanelRequest& request, std::string* path) = 0;
  virtual bool PickColor(const RGB16& in, RGB16* out) = 0;
  virtual bool OpenURL(const std::string& url) = 0;

  // A help tag whose hot rectangle is in screen pixels.
  virtual void ShowHelpTag(const ScreenRect& hot, const std::string& text) = 0;
  virtual void HideHelpTag() = 0;

  virtual void TextFieldOpened(TextFieldView*) {}
  virtual void TextFieldChanged(TextFieldView*) {}
  virtual void TextFieldClosed(TextFieldView*) {}

  virtual void SetCursor(CursorKind kind) = 0;
  // False when the display refuses.
  virtual bool HideCursor() = 0;
  virtual bool ShowCursor() = 0;
  virtual bool MoveCursor(const ScreenPoint& where) = 0;
  virtual ScreenPoint MouseLocation() = 0;
  // The main display's height in pixels.
  virtual int DisplayPixelsHigh() = 0;
};

// The backend in use; the headless one until another is installed.
WindowServerBackend& Backend();
// Null puts the headless backend back. The backend is kept until replaced.
void InstallBackend(std::unique_ptr<WindowServerBackend> backend);

}  // namespace platform
