#include "platform/cocoa/NSEvent.h"

#include "platform/cocoa/NSWindow.h"
#include "platform/windowserver/Backend.h"

NSEvent* NSEvent::mouseEventWithType(NSEventType type, NSPoint location, NSUInteger modifierFlags,
                                     NSInteger clickCount, NSWindow* window) {
  NSEvent* event = new NSEvent;
  event->mType = type;
  event->mLocation = location;
  event->mModifiers = modifierFlags;
  event->mClickCount = clickCount;
  event->mWindow = window;
  event->mWindowNumber = window ? window->windowNumber() : 0;
  event->autorelease();
  return event;
}

NSEvent* NSEvent::keyEventWithType(NSEventType type, NSPoint location, NSUInteger modifierFlags,
                                   const std::string& characters, const std::string& charactersIgnoringModifiers,
                                   unsigned short keyCode, NSWindow* window) {
  NSEvent* event = mouseEventWithType(type, location, modifierFlags, 0, window);
  event->mCharacters = characters;
  event->mCharactersIgnoringModifiers = charactersIgnoringModifiers;
  event->mKeyCode = keyCode;
  return event;
}

NSEvent* NSEvent::scrollEventWithDeltas(NSPoint location, CGFloat deltaX, CGFloat deltaY, NSUInteger modifierFlags,
                                        NSWindow* window) {
  NSEvent* event = mouseEventWithType(NSScrollWheel, location, modifierFlags, 0, window);
  event->mDeltaX = deltaX;
  event->mDeltaY = deltaY;
  return event;
}

NSEvent* NSEvent::otherEventWithType(NSEventType type, NSPoint location, NSUInteger modifierFlags, double,
                                     NSInteger windowNumber, NSGraphicsContext*, short, NSInteger, NSInteger) {
  NSEvent* event = mouseEventWithType(type, location, modifierFlags, 0, nullptr);
  event->mWindowNumber = windowNumber;
  event->mWindow = NSWindow::windowWithNumber(windowNumber);
  return event;
}

NSPoint NSEvent::mouseLocation() {
  const platform::ScreenPoint mouse = platform::Backend().MouseLocation();
  return NSMakePoint(mouse.x, platform::Backend().DisplayPixelsHigh() - mouse.y);
}
