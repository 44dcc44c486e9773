#pragma once

#include "platform/quickdraw/QuickDraw.h"

class CPlugInView;

// The process-wide drawing state of the views: the window lying over them
// (a popup menu) and the views whose drawing it held back, redrawn when it
// goes away.
namespace ViewOverlay {

constexpr int kMaxHeldBack = 128;

// Null when no overlay is set.
GrafPtr Port();
// In global coordinates.
const Rect& GlobalRect();
void Set(GrafPtr port, const Rect* globalRect);
// Records that the view drew only outside the overlay within r; a view
// already recorded has its rectangle widened. Raises -7400 for a 129th.
void HoldBack(CPlugInView* view, const Rect& r);
// Empties the table from the last entry to the first, redrawing each.
void RedrawHeldBack();
// A view going away must not be redrawn later.
void Forget(CPlugInView* view);
int HeldBackCount();

}  // namespace ViewOverlay
