#include "platform/cocoa/NSApplication.h"

#include "platform/cocoa/NSEvent.h"
#include "platform/cocoa/NSWindow.h"

NSApplication* NSApplication::sharedApplication() {
  static NSApplication* app = new NSApplication;
  return app;
}

NSWindow* NSApplication::keyWindow() const { return NSWindow::CurrentKeyWindow(); }

NSWindow* NSApplication::mainWindow() const { return keyWindow(); }

void NSApplication::postEvent(NSEvent* event, bool atStart) {
  if (!event) return;
  event->retain();
  if (atStart) mPosted.insert(mPosted.begin(), event);
  else mPosted.push_back(event);
}

std::vector<NSEvent*> NSApplication::TakePostedEvents() {
  std::vector<NSEvent*> taken;
  taken.swap(mPosted);
  return taken;
}

bool NSApplicationLoad() { return true; }

NSScreen* NSScreen::mainScreen() {
  static NSScreen* screen = new NSScreen;
  return screen;
}
