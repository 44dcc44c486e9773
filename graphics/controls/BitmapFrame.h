#pragma once

#include "graphics/IBitmap.h"
#include "graphics/IRECTResize.h"

class IGraphics;

// What every control that shows a multi-frame bitmap shares: the size of a
// frame at 100 % GUI scale, the frame a value selects, and the bitmap at the
// size a GUI scale gives it.
namespace BitmapFrame {

// One frame of the bitmap at 100 % GUI scale as a form-0 description at
// (x, y), every cell scaled: the bitmap's pixels divided by its own
// resolution factor, the frame axis then divided by the frame count. A
// missing bitmap gives a size of 0.
IRECTResize FrameRECT(int x, int y, const IBitmap* bitmap);

// 1-based frame for a normalised value, rounded to the nearest frame. A
// value outside 0..1 shows the frame at that end; a NaN shows frame 1.
int ForValue(double value, int nFrames);

// A value the plug-in set (without the clamp of a user's change) kept to
// 0..1 for drawing, a NaN at 0, so what is drawn stays inside the bitmap.
inline double DrawnLevel(double value) { return value > 0.0 ? (value < 1.0 ? value : 1.0) : 0.0; }

// The unscaled bitmap redrawn for a GUI scale through the shared
// scaled-bitmap cache: its size at 100 % times the scale, each truncated.
// Without a graphics core the unscaled bitmap stands.
IBitmap Rescaled(IGraphics* graphics, const IBitmap& unscaled, double scaleX, double scaleY);

}  // namespace BitmapFrame
