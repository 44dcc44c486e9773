#pragma once

#include <vector>

#include "platform/cocoa/AppKitTypes.h"
#include "platform/foundation/NSObject.h"

class NSEvent;
class NSWindow;

// Stand-in for the application object: the event being dispatched, the
// main window, and the queue that events posted back to the application go
// to (nothing reads it but the host and the tests).
class NSApplication : public NSObject {
 public:
  static NSApplication* sharedApplication();

  // The key window stands for the main window here.
  NSWindow* mainWindow() const;
  NSWindow* keyWindow() const;
  NSEvent* currentEvent() const { return mCurrentEvent; }
  void postEvent(NSEvent* event, bool atStart);

  // For the stand-in's own use.
  void SetCurrentEvent(NSEvent* event) { mCurrentEvent = event; }
  // The posted events, first in the queue first; the caller takes them over
  // (one reference each).
  std::vector<NSEvent*> TakePostedEvents();

 private:
  NSEvent* mCurrentEvent = nullptr;
  std::vector<NSEvent*> mPosted;
};

// Makes AppKit usable from a Carbon program; always true here.
bool NSApplicationLoad();

class NSScreen : public NSObject {
 public:
  static NSScreen* mainScreen();
  CGFloat backingScaleFactor() const { return mScale; }
  // For the stand-in's callers: the main display's scale.
  void SetBackingScaleFactor(CGFloat scale) { mScale = scale; }

 private:
  CGFloat mScale = 1.0;
};
