#pragma once

#include <cstdint>

#include "platform/coregraphics/CGGeometry.h"

// The geometry and constants AppKit shares with Core Graphics. Cocoa
// coordinates have their origin at the bottom left, y growing upwards: a
// window's base coordinates from the bottom left of its content, screen
// coordinates from the bottom left of the main display.
typedef CGPoint NSPoint;
typedef CGSize NSSize;
typedef CGRect NSRect;
typedef long NSInteger;
typedef unsigned long NSUInteger;

inline NSRect NSMakeRect(CGFloat x, CGFloat y, CGFloat width, CGFloat height) { return CGRectMake(x, y, width, height); }
inline NSPoint NSMakePoint(CGFloat x, CGFloat y) { return CGPointMake(x, y); }
inline NSSize NSMakeSize(CGFloat width, CGFloat height) { return CGSizeMake(width, height); }
inline bool NSPointInRect(NSPoint p, NSRect r) {
  return p.x >= r.origin.x && p.x < r.origin.x + r.size.width && p.y >= r.origin.y &&
         p.y < r.origin.y + r.size.height;
}
NSRect NSUnionRect(NSRect a, NSRect b);
inline bool NSIsEmptyRect(NSRect r) { return !(r.size.width > 0) || !(r.size.height > 0); }

enum : NSUInteger {
  NSAlphaShiftKeyMask = 1u << 16,
  NSShiftKeyMask = 1u << 17,
  NSControlKeyMask = 1u << 18,
  NSAlternateKeyMask = 1u << 19,
  NSCommandKeyMask = 1u << 20,
};

enum NSEventType {
  NSLeftMouseDown = 1,
  NSLeftMouseUp = 2,
  NSRightMouseDown = 3,
  NSRightMouseUp = 4,
  NSMouseMoved = 5,
  NSLeftMouseDragged = 6,
  NSRightMouseDragged = 7,
  NSKeyDown = 10,
  NSKeyUp = 11,
  NSApplicationDefined = 15,
  NSScrollWheel = 22,
};

enum { NSOffState = 0, NSOnState = 1 };
enum { NSCancelButton = 0, NSOKButton = 1 };
enum { NSLeftTextAlignment = 0, NSRightTextAlignment = 1, NSCenterTextAlignment = 2 };
enum { NSLineBreakByTruncatingTail = 4 };
enum { NSFocusRingTypeDefault = 0, NSFocusRingTypeNone = 1 };
enum { NSBorderlessWindowMask = 0 };
enum { NSBackingStoreBuffered = 2 };
enum { NSWindowAbove = 1, NSWindowBelow = -1 };
enum { NSDragOperationNone = 0, NSDragOperationGeneric = 4 };

extern const char* const NSFilenamesPboardType;
extern const char* const NSCalibratedWhiteColorSpace;
