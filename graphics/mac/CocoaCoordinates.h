#pragma once

#include "graphics/IRECT.h"
#include "platform/cocoa/AppKitTypes.h"

// The Cocoa views count y upwards from the bottom of the editor; the editor
// counts it downwards from the top. H is the editor's height.

// An editor rectangle as a view rectangle: the extra pixel keeps the
// right and bottom edges that the editor's redraw test treats as inside.
inline NSRect ToViewRect(const IRECT& r, int H) {
  return NSMakeRect(r.L, H - 1 - r.B, r.R - r.L + 1, r.B - r.T + 1);
}

// A view rectangle (as drawRect: gets it) as an editor rectangle.
inline IRECT ToIRECT(const NSRect& r, int H) {
  const int x = static_cast<int>(r.origin.x);
  const int y = static_cast<int>(r.origin.y);
  const int w = static_cast<int>(r.size.width);
  const int h = static_cast<int>(r.size.height);
  return IRECT(x, H - (h + y), w + x, H - y);
}

// A point in the view as an editor pixel, with the view's own offsets of 2
// and 3 pixels (file drops use the same rule).
inline void ViewPointToEditor(const NSPoint& p, int H, int* x, int* y) {
  *x = static_cast<int>(p.x) - 2;
  *y = H - static_cast<int>(p.y) - 3;
}
