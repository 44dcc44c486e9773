#pragma once

#include "platform/carboncore/MacTypes.h"
#include "platform/quickdraw/QuickDraw.h"

// Stand-in for the Color Picker: the window server's backend asks the user
// (the headless one answers from its script). True with the chosen colour
// in outColor; false when cancelled, outColor untouched.
Boolean GetColor(Point where, ConstStr255Param prompt, const RGBColor* inColor, RGBColor* outColor);
