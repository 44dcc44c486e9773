#pragma once

#include "graphics/IRECT.h"
#include "graphics/IText.h"

// How the controls carry their own rectangles and text styles to a GUI
// scale. Every product is truncated toward zero on its own.
namespace ControlScaling {

// A NaN gives 0 and values past int's range its ends, so no factor (a
// resolution of 0 included) reaches an undefined cast.
int TruncToInt(double v);

// Left and right times scaleX, top and bottom times scaleY.
IRECT ScaledRECT(const IRECT& unscaled, double scaleX, double scaleY);

// The unscaled style with its size times scaleY.
IText ScaledText(const IText& unscaled, double scaleY);

// A copy of the style at another size. The font cached for the old size is
// dropped: the copy would otherwise go on drawing with it.
IText ResizedText(const IText& text, int size);

}  // namespace ControlScaling
