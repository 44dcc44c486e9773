#pragma once

#include <string>

#include "platform/cocoa/AppKitTypes.h"
#include "platform/foundation/NSObject.h"

class NSWindow;
class NSGraphicsContext;

// Stand-in for NSEvent: a plain record. The window server's input and the
// tests make events with the factories; the Carbon event behind an event,
// when it has one, is only carried along.
class NSEvent : public NSObject {
 public:
  // Mouse events; location in the window's base coordinates.
  static NSEvent* mouseEventWithType(NSEventType type, NSPoint location, NSUInteger modifierFlags, NSInteger clickCount,
                                     NSWindow* window);
  static NSEvent* keyEventWithType(NSEventType type, NSPoint location, NSUInteger modifierFlags,
                                   const std::string& characters, const std::string& charactersIgnoringModifiers,
                                   unsigned short keyCode, NSWindow* window);
  static NSEvent* scrollEventWithDeltas(NSPoint location, CGFloat deltaX, CGFloat deltaY, NSUInteger modifierFlags,
                                        NSWindow* window);
  static NSEvent* otherEventWithType(NSEventType type, NSPoint location, NSUInteger modifierFlags, double timestamp,
                                     NSInteger windowNumber, NSGraphicsContext* context, short subtype,
                                     NSInteger data1, NSInteger data2);
  // The mouse in screen coordinates (from the bottom left of the display).
  static NSPoint mouseLocation();

  NSEventType type() const { return mType; }
  NSPoint locationInWindow() const { return mLocation; }
  NSUInteger modifierFlags() const { return mModifiers; }
  NSInteger clickCount() const { return mClickCount; }
  const std::string& characters() const { return mCharacters; }
  const std::string& charactersIgnoringModifiers() const { return mCharactersIgnoringModifiers; }
  unsigned short keyCode() const { return mKeyCode; }
  CGFloat deltaX() const { return mDeltaX; }
  CGFloat deltaY() const { return mDeltaY; }
  NSWindow* window() const { return mWindow; }
  NSInteger windowNumber() const { return mWindowNumber; }
  // The Carbon event the Mac keeps behind a Cocoa one; null for events made
  // here unless the stand-in's caller set one.
  void* eventRef() const { return mEventRef; }
  void setEventRef(void* ref) { mEventRef = ref; }

 private:
  NSEvent() = default;

  NSEventType mType = NSApplicationDefined;
  NSPoint mLocation{0, 0};
  NSUInteger mModifiers = 0;
  NSInteger mClickCount = 0;
  std::string mCharacters;
  std::string mCharactersIgnoringModifiers;
  unsigned short mKeyCode = 0;
  CGFloat mDeltaX = 0, mDeltaY = 0;
  NSWindow* mWindow = nullptr;
  NSInteger mWindowNumber = 0;
  void* mEventRef = nullptr;
};
