#include "platform/coregraphics/CGDisplay.h"

#include "platform/windowserver/Backend.h"

namespace {

constexpr CGDirectDisplayID kMainDisplay = 1;

}  // namespace

CGDirectDisplayID CGMainDisplayID() { return kMainDisplay; }

size_t CGDisplayPixelsHigh(CGDirectDisplayID display) {
  if (display != kMainDisplay) return 0;
  const int height = platform::Backend().DisplayPixelsHigh();
  return height > 0 ? static_cast<size_t>(height) : 0;
}

CGError CGDisplayHideCursor(CGDirectDisplayID display) {
  if (display != kMainDisplay) return kCGErrorFailure;
  return platform::Backend().HideCursor() ? kCGErrorSuccess : kCGErrorFailure;
}

CGError CGDisplayShowCursor(CGDirectDisplayID display) {
  if (display != kMainDisplay) return kCGErrorFailure;
  return platform::Backend().ShowCursor() ? kCGErrorSuccess : kCGErrorFailure;
}

CGError CGDisplayMoveCursorToPoint(CGDirectDisplayID display, CGPoint point) {
  if (display != kMainDisplay) return kCGErrorFailure;
  return platform::Backend().MoveCursor(platform::ScreenPoint{point.x, point.y}) ? kCGErrorSuccess
                                                                                  : kCGErrorFailure;
}
