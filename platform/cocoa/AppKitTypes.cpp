#include "platform/cocoa/AppKitTypes.h"

#include <algorithm>

const char* const NSFilenamesPboardType = "NSFilenamesPboardType";
const char* const NSCalibratedWhiteColorSpace = "NSCalibratedWhiteColorSpace";

NSRect NSUnionRect(NSRect a, NSRect b) {
  if (NSIsEmptyRect(a)) return b;
  if (NSIsEmptyRect(b)) return a;
  const CGFloat left = std::min(a.origin.x, b.origin.x);
  const CGFloat bottom = std::min(a.origin.y, b.origin.y);
  const CGFloat right = std::max(a.origin.x + a.size.width, b.origin.x + b.size.width);
  const CGFloat top = std::max(a.origin.y + a.size.height, b.origin.y + b.size.height);
  return NSMakeRect(left, bottom, right - left, top - bottom);
}
