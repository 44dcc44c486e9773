#pragma once

#include <vector>

#include "platform/carboncore/MacTypes.h"

// Stand-in for the host's windows as the views and the editor's Carbon view
// see them: a window owns one port and accumulates an invalid region.
// Nothing is shown; the host program or a test makes the window.

struct OpaqueWindowPtr;
typedef OpaqueWindowPtr* WindowRef;
typedef WindowRef WindowPtr;
struct OpaqueGrafPtr;
typedef OpaqueGrafPtr* CGrafPtr;

CGrafPtr GetWindowPort(WindowRef window);
// Null for a port that belongs to no window.
WindowRef GetWindowFromPort(CGrafPtr port);
// r is in the window port's local coordinates.
void InvalWindowRect(WindowRef window, const Rect* r);
void ValidWindowRect(WindowRef window, const Rect* r);

namespace platform {

// A window whose content (its port) is `width` by `height` pixels with its
// top-left at `globalTopLeft`.
WindowRef NewStandInWindow(int16_t width, int16_t height, Point globalTopLeft = Point{0, 0});
void DisposeStandInWindow(WindowRef window);
// The invalid region in the port's pixel coordinates (local coordinates
// with the origin at (0, 0)).
std::vector<Rect> InvalidRects(WindowRef window);
long InvalidArea(WindowRef window);
void ValidateWindow(WindowRef window);

}  // namespace platform
