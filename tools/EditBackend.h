#pragma once

#include <cstdio>
#include <memory>

#include "platform/windowserver/X11Backend.h"

// The window server's backend for `brimlow edit`: windows, menus, text
// fields, help tags and the cursor on the X display, and the questions X
// cannot ask here on the terminal: an alert's message is printed (and,
// from a terminal, its buttons asked for), a file panel asks for a path,
// a web page is named. Without a terminal on standard input an alert takes
// its default button and a panel is cancelled.
class EditBackend : public platform::WindowServerBackend {
 public:
  EditBackend(std::unique_ptr<platform::X11Backend> x11, FILE* in, FILE* out);

  platform::X11Backend& X11() { return *mX11; }

  void WindowShown(platform::ScreenWindow* w) override { mX11->WindowShown(w); }
  void WindowHidden(platform::ScreenWindow* w) override { mX11->WindowHidden(w); }
  void WindowChanged(platform::ScreenWindow* w) override { mX11->WindowChanged(w); }
  void WindowPresented(platform::ScreenWindow* w, const platform::DeviceRect& area) override {
    mX11->WindowPresented(w, area);
  }
  void WindowGone(platform::ScreenWindow* w) override { mX11->WindowGone(w); }
  platform::MenuChoice TrackMenu(const platform::MenuTree& menu, const platform::ScreenPoint& topLeft) override {
    return mX11->TrackMenu(menu, topLeft);
  }
  bool PickColor(const platform::RGB16& in, platform::RGB16* out) override { return mX11->PickColor(in, out); }
  void ShowHelpTag(const platform::ScreenRect& hot, const std::string& text) override {
    mX11->ShowHelpTag(hot, text);
  }
  void HideHelpTag() override { mX11->HideHelpTag(); }
  void TextFieldOpened(platform::TextFieldView* f) override { mX11->TextFieldOpened(f); }
  void TextFieldChanged(platform::TextFieldView* f) override { mX11->TextFieldChanged(f); }
  void TextFieldClosed(platform::TextFieldView* f) override { mX11->TextFieldClosed(f); }
  void SetCursor(platform::CursorKind kind) override { mX11->SetCursor(kind); }
  bool HideCursor() override { return mX11->HideCursor(); }
  bool ShowCursor() override { return mX11->ShowCursor(); }
  bool MoveCursor(const platform::ScreenPoint& where) override { return mX11->MoveCursor(where); }
  platform::ScreenPoint MouseLocation() override { return mX11->MouseLocation(); }
  int DisplayPixelsHigh() override { return mX11->DisplayPixelsHigh(); }

  platform::AlertResponse RunAlert(const platform::AlertRequest& request) override;
  bool RunPanel(const platform::PanelRequest& request, std::string* path) override;
  bool OpenURL(const std::string& url) override;

 private:
  // A line typed on the terminal, without its newline; false without one.
  bool ReadLine(std::string* line);

  std::unique_ptr<platform::X11Backend> mX11;
  FILE* mIn;
  FILE* mOut;
  bool mInteractive;
};
