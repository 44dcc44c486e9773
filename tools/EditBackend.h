#pragma once

#include <cstdio>
#include <memory>

#include "platform/windowserver/X11Backend.h"

// The window server's backend for `brimlow edit`: windows, menus, text
// fields, help tags, alerts, file panels and the cursor on the X display;
// a web page to open is named on the terminal.
class EditBackend : public platform::WindowServerBackend {
 public:
  EditBackend(std::unique_ptr<platform::X11Backend> x11, FILE* out);

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

  platform::AlertResponse RunAlert(const platform::AlertRequest& request) override {
    return mX11->RunAlert(request);
  }
  bool RunPanel(const platform::PanelRequest& request, std::string* path) override {
    return mX11->RunPanel(request, path);
  }
  bool OpenURL(const std::string& url) override;

 private:
  std::unique_ptr<platform::X11Backend> mX11;
  FILE* mOut;
};
