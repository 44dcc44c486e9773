#include "platform/cocoa/NSGraphicsContext.h"

namespace {

NSGraphicsContext*& Current() {
  static NSGraphicsContext* current = nullptr;
  return current;
}

}  // namespace

NSGraphicsContext* NSGraphicsContext::currentContext() { return Current(); }

void NSGraphicsContext::setCurrentContext(NSGraphicsContext* context) { Current() = context; }

NSGraphicsContext* NSGraphicsContext::graphicsContextWithGraphicsPort(void* port, bool flipped) {
  NSGraphicsContext* context = new NSGraphicsContext(port, flipped);
  context->autorelease();
  return context;
}
