#pragma once

#include "graphics/IText.h"

// The text style of every label and readout on the display.
inline IText ScopeText(int size, const IColor& color, int align) {
  return IText(size, color, "Verdana", IText::kStyleNormal, align, 0, IText::kQualityClearType);
}
