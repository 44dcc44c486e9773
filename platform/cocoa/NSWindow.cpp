#include "platform/cocoa/NSWindow.h"

#include <algorithm>

#include "platform/cocoa/NSApplication.h"
#include "platform/cocoa/NSEvent.h"
#include "platform/cocoa/NSGraphicsContext.h"
#include "platform/cocoa/NSTextField.h"
#include "platform/coregraphics/CGContext.h"
#include "platform/corefoundation/RunLoop.h"
#include "platform/hitoolbox/MacWindows.h"
#include "platform/windowserver/Backend.h"
#include "platform/windowserver/ScreenWindow.h"

namespace {

std::vector<NSWindow*>& Windows() {
  // Never destroyed: a window may go after static destruction began.
  static auto* windows = new std::vector<NSWindow*>;
  return *windows;
}

NSWindow*& KeyWindow() {
  static NSWindow* key = nullptr;
  return key;
}

// Cocoa screen coordinates run upwards from the bottom of the display.
double DisplayHeight() { return platform::Backend().DisplayPixelsHigh(); }

void EnsureDisplayPass() {
  static bool added = false;
  if (added) return;
  added = true;
  platform::AddRunLoopObserver([] {
    const std::vector<NSWindow*> windows = Windows();
    for (NSWindow* w : windows) {
      if (std::find(Windows().begin(), Windows().end(), w) != Windows().end()) w->DisplayPass();
    }
  });
}

NSUInteger CocoaModifiers(uint32_t modifiers) {
  NSUInteger flags = 0;
  if (modifiers & platform::kInputShift) flags |= NSShiftKeyMask;
  if (modifiers & platform::kInputControl) flags |= NSControlKeyMask;
  if (modifiers & platform::kInputOption) flags |= NSAlternateKeyMask;
  if (modifiers & platform::kInputCommand) flags |= NSCommandKeyMask;
  return flags;
}

}  // namespace

NSWindow::NSWindow(NSRect contentRect, NSUInteger styleMask, NSInteger, bool) : mStyleMask(styleMask) {
  const platform::ScreenRect frame{contentRect.origin.x,
                                   DisplayHeight() - contentRect.origin.y - contentRect.size.height,
                                   contentRect.size.width, contentRect.size.height};
  mOwnScreen = std::make_unique<platform::ScreenWindow>(frame);
  mScreen = mOwnScreen.get();
  mScreen->SetSink(this);
  MakeContentView();
}

NSWindow::NSWindow(platform::ScreenWindow* screen, WindowRef carbonWindow)
    : mScreen(screen), mCarbonWindow(carbonWindow) {
  mVisible = IsWindowVisible(carbonWindow);
  MakeContentView();
}

NSWindow* NSWindow::initWithWindowRef(WindowRef window) {
  platform::ScreenWindow* screen = platform::ScreenWindowOf(window);
  return screen ? new NSWindow(screen, window) : nullptr;
}

void NSWindow::MakeContentView() {
  Windows().push_back(this);
  EnsureDisplayPass();
  mContentView = new NSView;
  mContentView->initWithFrame(NSMakeRect(0, 0, mScreen ? mScreen->Frame().width : 0,
                                         mScreen ? mScreen->Frame().height : 0));
  mContentView->SetWindow(this);
}

NSWindow::~NSWindow() {
  for (NSWindow* child : mChildren) child->mParent = nullptr;
  if (mParent) removeChildWindow(this);
  if (KeyWindow() == this) KeyWindow() = nullptr;
  auto& windows = Windows();
  windows.erase(std::remove(windows.begin(), windows.end(), this), windows.end());
  mFirstResponder = nullptr;
  mContentView->SetWindow(nullptr);
  mContentView->release();
  if (mScreen && mScreen->Sink() == this) mScreen->SetSink(nullptr);
}

NSWindow* NSWindow::windowWithNumber(NSInteger number) {
  for (NSWindow* w : Windows()) {
    if (w->windowNumber() == number) return w;
  }
  return nullptr;
}

NSWindow* NSWindow::CurrentKeyWindow() { return KeyWindow(); }

NSRect NSWindow::frame() const {
  if (!mScreen) return NSMakeRect(0, 0, 0, 0);
  const platform::ScreenRect& f = mScreen->Frame();
  return NSMakeRect(f.x, DisplayHeight() - f.y - f.height, f.width, f.height);
}

NSInteger NSWindow::windowNumber() const { return mScreen ? mScreen->Id() : 0; }

bool NSWindow::makeFirstResponder(NSResponder* responder) {
  if (responder && !responder->acceptsFirstResponder()) return false;
  if (responder == mFirstResponder) return true;
  NSResponder* previous = mFirstResponder;
  mFirstResponder = responder;
  if (auto* field = dynamic_cast<NSTextField*>(previous)) field->FocusChanged(false);
  if (auto* field = dynamic_cast<NSTextField*>(responder)) field->FocusChanged(true);
  return true;
}

void NSWindow::makeKeyWindow() {
  if (canBecomeKeyWindow()) KeyWindow() = this;
}

void NSWindow::makeKeyAndOrderFront(NSObject* sender) {
  orderFront(sender);
  makeKeyWindow();
}

bool NSWindow::isKeyWindow() const { return KeyWindow() == this; }

void NSWindow::orderFront(NSObject*) {
  mVisible = true;
  if (mOwnScreen) mOwnScreen->Show();
  else if (mCarbonWindow) ShowWindow(mCarbonWindow);
}

void NSWindow::orderOut(NSObject*) {
  mVisible = false;
  if (KeyWindow() == this) KeyWindow() = nullptr;
  if (mOwnScreen) mOwnScreen->Hide();
  else if (mCarbonWindow) HideWindow(mCarbonWindow);
}

void NSWindow::close() {
  orderOut(nullptr);
  if (mReleasedWhenClosed) release();
}

void NSWindow::display() {
  mContentView->setNeedsDisplay(true);
  DisplayPass();
}

void NSWindow::addChildWindow(NSWindow* child, NSInteger) {
  if (!child || child == this || child->mParent == this) return;
  if (child->mParent) child->mParent->removeChildWindow(child);
  child->mParent = this;
  mChildren.push_back(child);
}

void NSWindow::removeChildWindow(NSWindow* child) {
  if (!child || child->mParent != this) return;
  mChildren.erase(std::remove(mChildren.begin(), mChildren.end(), child), mChildren.end());
  child->mParent = nullptr;
}

void NSWindow::sendEvent(NSEvent* event) {
  if (!event) return;
  NSApplication* app = NSApplication::sharedApplication();
  NSEvent* previous = app->currentEvent();
  app->SetCurrentEvent(event);
  retain();  // a handler may close the window
  switch (event->type()) {
    case NSLeftMouseDown:
    case NSRightMouseDown: {
      NSView* hit = mContentView->hitTest(event->locationInWindow());
      mMouseView = hit;
      if (hit && hit->acceptsFirstResponder() && hit != mFirstResponder) makeFirstResponder(hit);
      if (hit) {
        if (event->type() == NSLeftMouseDown) hit->mouseDown(event);
        else hit->rightMouseDown(event);
      }
      break;
    }
    case NSLeftMouseUp:
    case NSRightMouseUp:
    case NSLeftMouseDragged:
    case NSRightMouseDragged: {
      NSView* target = mMouseView ? mMouseView : mContentView->hitTest(event->locationInWindow());
      if (!target) break;
      target->retain();
      switch (event->type()) {
        case NSLeftMouseUp: target->mouseUp(event); break;
        case NSRightMouseUp: target->rightMouseUp(event); break;
        case NSLeftMouseDragged: target->mouseDragged(event); break;
        default: target->rightMouseDragged(event); break;
      }
      if (event->type() == NSLeftMouseUp || event->type() == NSRightMouseUp) mMouseView = nullptr;
      target->release();
      break;
    }
    case NSMouseMoved:
      if (mAcceptsMouseMoved && mFirstResponder) mFirstResponder->mouseMoved(event);
      break;
    case NSKeyDown:
      if (mFirstResponder) mFirstResponder->keyDown(event);
      break;
    case NSScrollWheel:
      if (NSView* hit = mContentView->hitTest(event->locationInWindow())) hit->scrollWheel(event);
      break;
    default: break;
  }
  app->SetCurrentEvent(previous);
  release();
}

void NSWindow::Pointer(const platform::PointerInput& input) {
  const NSPoint location = NSMakePoint(input.x, mContentView->frame().size.height - input.y);
  const NSUInteger flags = CocoaModifiers(input.modifiers);
  const bool right = input.button == 2;
  NSEvent* event = nullptr;
  switch (input.kind) {
    case platform::PointerInput::kDown:
      event = NSEvent::mouseEventWithType(right ? NSRightMouseDown : NSLeftMouseDown, location, flags,
                                          input.clickCount, this);
      break;
    case platform::PointerInput::kUp:
      event = NSEvent::mouseEventWithType(right ? NSRightMouseUp : NSLeftMouseUp, location, flags,
                                          input.clickCount, this);
      break;
    case platform::PointerInput::kMoved:
      event = NSEvent::mouseEventWithType(NSMouseMoved, location, flags, 0, this);
      break;
    case platform::PointerInput::kDragged:
      event = NSEvent::mouseEventWithType(right ? NSRightMouseDragged : NSLeftMouseDragged, location, flags, 0, this);
      break;
    case platform::PointerInput::kWheel:
      event = input.wheelAxis == 1 ? NSEvent::scrollEventWithDeltas(location, 0, input.wheelDelta, flags, this)
                                   : NSEvent::scrollEventWithDeltas(location, input.wheelDelta, 0, flags, this);
      break;
  }
  sendEvent(event);
}

void NSWindow::Key(const platform::KeyInput& input) {
  const std::string text = input.character ? std::string(1, input.character) : std::string();
  sendEvent(NSEvent::keyEventWithType(NSKeyDown, NSMakePoint(0, 0), CocoaModifiers(input.modifiers), text, text,
                                      static_cast<unsigned short>(input.keyCode), this));
}

void NSWindow::Deactivated() {
  if (KeyWindow() == this) KeyWindow() = nullptr;
}

void NSWindow::DisplayPass() {
  if (!mVisible || !mScreen) return;
  DisplayView(mContentView);
}

void NSWindow::DisplayView(NSView* view) {
  view->retain();
  if (view->needsDisplay()) {
    const NSRect dirty = view->dirtyRect();
    view->ClearNeedsDisplay();
    const double s = mScreen->DeviceScale();
    const double contentHeight = mContentView->frame().size.height;
    const NSPoint origin = view->convertPointToBase(NSMakePoint(0, 0));
    const NSRect b = view->bounds();
    const CGAffineTransform toDevice{s, 0, 0, -s, s * origin.x, s * (contentHeight - origin.y)};
    const int width = mScreen->PixelWidth(), height = mScreen->PixelHeight();
    const platform::DeviceRect clip{platform::ClipEdge(s * origin.x, width),
                                    platform::ClipEdge(s * (contentHeight - origin.y - b.size.height), height),
                                    platform::ClipEdge(s * (origin.x + b.size.width) + 0.999999, width),
                                    platform::ClipEdge(s * (contentHeight - origin.y) + 0.999999, height)};
    CGContextRef port = platform::CreateWindowContext(mScreen, toDevice, clip);
    NSGraphicsContext* context = NSGraphicsContext::graphicsContextWithGraphicsPort(port, false);
    context->retain();
    NSGraphicsContext* previous = NSGraphicsContext::currentContext();
    NSGraphicsContext::setCurrentContext(context);
    view->drawRect(dirty);
    NSGraphicsContext::setCurrentContext(previous);
    context->release();
    platform::ReleaseWindowContext(port);
  }
  const std::vector<NSView*> subviews = view->subviews();
  for (NSView* sub : subviews) {
    if (sub->superview() == view) DisplayView(sub);
  }
  view->release();
}
