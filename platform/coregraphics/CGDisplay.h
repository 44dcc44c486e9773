#pragma once

#include "platform/coregraphics/CGGeometry.h"

// Stand-in for the display calls of Core Graphics: the main display's
// height and the mouse cursor, answered by the window server's backend.
CGDirectDisplayID CGMainDisplayID();
size_t CGDisplayPixelsHigh(CGDirectDisplayID display);
CGError CGDisplayHideCursor(CGDirectDisplayID display);
CGError CGDisplayShowCursor(CGDirectDisplayID display);
// The point is in global display coordinates, from the top left.
CGError CGDisplayMoveCursorToPoint(CGDirectDisplayID display, CGPoint point);
