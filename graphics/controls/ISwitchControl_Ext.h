#pragma once

#include "graphics/controls/IBitmapControlExt.h"

// A switch bound to a parameter: every press steps it to its next frame,
// wrapping from the last to the first. The second click of a double-click
// steps it again, so the quick clicks of one gesture all count.
class ISwitchControl_Ext : public IBitmapControlExt {
 public:
  ISwitchControl_Ext(IPlugBase* plug, int x, int y, int paramIdx, IBitmap* bitmap,
                     int blendMethod = IChannelBlend::kBlendNone)
      : IBitmapControlExt(plug, x, y, paramIdx, bitmap, blendMethod) {}

  void OnMouseDown(int, int, IMouseMod*) override { Step(); }
  void OnMouseDblClick(int, int, IMouseMod*) override { Step(); }

 protected:
  // Adds one frame's share of the range (1 / (n - 1); the whole range with
  // fewer than two frames) and wraps past the top, then pushes the value.
  void Step();
};
