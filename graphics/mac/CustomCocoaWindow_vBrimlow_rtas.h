#pragma once

#include "platform/cocoa/NSWindow.h"

// The borderless child window the editor sits in when it is attached over a
// host window: borderless windows cannot become key on their own.
class CustomCocoaWindow_vBrimlow_rtas : public NSWindow {
 public:
  using NSWindow::NSWindow;
  bool canBecomeKeyWindow() override { return true; }
};
