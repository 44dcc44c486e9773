#pragma once

#include "platform/coregraphics/CGContext.h"
#include "platform/foundation/NSObject.h"

// Stand-in for NSGraphicsContext: a Core Graphics context and whether its
// owner calls it flipped. The window sets the current one around drawRect:.
class NSGraphicsContext : public NSObject {
 public:
  static NSGraphicsContext* currentContext();
  static void setCurrentContext(NSGraphicsContext* context);
  // Autoreleased.
  static NSGraphicsContext* graphicsContextWithGraphicsPort(void* port, bool flipped);

  void* graphicsPort() const { return mPort; }
  bool isFlipped() const { return mFlipped; }

 private:
  NSGraphicsContext(void* port, bool flipped) : mPort(port), mFlipped(flipped) {}

  void* mPort;
  bool mFlipped;
};
