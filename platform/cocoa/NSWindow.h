#pragma once

#include <memory>
#include <vector>

#include "platform/cocoa/NSView.h"
#include "platform/windowserver/InputSink.h"

struct OpaqueWindowPtr;
typedef OpaqueWindowPtr* WindowRef;

namespace platform {
class ScreenWindow;
}

// Stand-in for NSWindow: a window server window (its own, or the Carbon
// window it wraps) with a content view, a first responder, child windows,
// and the dispatch of device input to its views as NSEvents. Windows that
// are ordered in are drawn on every pass of the run loop: each view that
// needs display gets drawRect: with a current graphics context whose
// coordinates are the view's, y upwards.
class NSWindow : public NSResponder, public platform::InputSink {
 public:
  // initWithContentRect:styleMask:backing:defer:, the rectangle in screen
  // coordinates (from the bottom left of the display).
  NSWindow(NSRect contentRect, NSUInteger styleMask, NSInteger backing, bool defer);
  // initWithWindowRef:, wrapping a Carbon window: its screen window and its
  // content size; ordering the wrapper in and out shows and hides the
  // Carbon window, closing it releases only the wrapper (the host disposes
  // of its own window). Null for a window that is not live.
  static NSWindow* initWithWindowRef(WindowRef window);
  ~NSWindow() override;
  // The window with that number among the live ones, or null.
  static NSWindow* windowWithNumber(NSInteger number);
  static NSWindow* CurrentKeyWindow();

  NSView* contentView() const { return mContentView; }
  NSRect frame() const;
  NSInteger windowNumber() const;
  WindowRef windowRef() const { return mCarbonWindow; }
  platform::ScreenWindow* ScreenWindow() const { return mScreen; }

  bool makeFirstResponder(NSResponder* responder);
  NSResponder* firstResponder() const { return mFirstResponder; }
  void setAcceptsMouseMovedEvents(bool accepts) { mAcceptsMouseMoved = accepts; }
  bool acceptsMouseMovedEvents() const { return mAcceptsMouseMoved; }
  // A borderless window cannot, unless a subclass says otherwise.
  virtual bool canBecomeKeyWindow() { return mStyleMask != NSBorderlessWindowMask; }
  void makeKeyWindow();
  void makeKeyAndOrderFront(NSObject* sender);
  bool isKeyWindow() const;
  void orderFront(NSObject* sender);
  void orderOut(NSObject* sender);
  bool isVisible() const { return mVisible; }
  // Orders the window out and, when it is released when closed, releases it.
  void close();
  void display();

  NSWindow* parentWindow() const { return mParent; }
  const std::vector<NSWindow*>& childWindows() const { return mChildren; }
  void addChildWindow(NSWindow* child, NSInteger ordered);
  void removeChildWindow(NSWindow* child);

  void setAlphaValue(CGFloat alpha) { mAlpha = alpha; }
  CGFloat alphaValue() const { return mAlpha; }
  void setOpaque(bool opaque) { mOpaque = opaque; }
  bool isOpaque() const { return mOpaque; }
  void setCanHide(bool canHide) { mCanHide = canHide; }
  void setReleasedWhenClosed(bool released) { mReleasedWhenClosed = released; }
  void setHasShadow(bool shadow) { mHasShadow = shadow; }
  bool hasShadow() const { return mHasShadow; }

  // Hit testing for mouse events, the first responder for keys; the view
  // that took a mouse-down gets the drags and the mouse-up.
  void sendEvent(NSEvent* event);

  // platform::InputSink
  void Pointer(const platform::PointerInput& input) override;
  void Key(const platform::KeyInput& input) override;
  void Deactivated() override;

  // Draws every view of the window that needs display.
  void DisplayPass();

 private:
  NSWindow(platform::ScreenWindow* screen, WindowRef carbonWindow);
  void MakeContentView();
  void DisplayView(NSView* view);

  NSUInteger mStyleMask = 1;
  std::unique_ptr<platform::ScreenWindow> mOwnScreen;
  platform::ScreenWindow* mScreen = nullptr;
  WindowRef mCarbonWindow = nullptr;
  NSView* mContentView = nullptr;
  NSResponder* mFirstResponder = nullptr;
  NSView* mMouseView = nullptr;  // the view of the mouse-down in progress
  bool mAcceptsMouseMoved = false;
  bool mVisible = false;
  NSWindow* mParent = nullptr;
  std::vector<NSWindow*> mChildren;
  CGFloat mAlpha = 1.0;
  bool mOpaque = true;
  bool mCanHide = true;
  bool mReleasedWhenClosed = true;
  bool mHasShadow = true;
};
