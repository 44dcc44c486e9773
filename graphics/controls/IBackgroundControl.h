#pragma once

#include "graphics/controls/IBitmapControlExt.h"

// The editor's background picture at the top left. It takes no clicks of
// its own, so a click on the bare background reaches nothing.
class IBackgroundControl : public IBitmapControlExt {
 public:
  IBackgroundControl(IPlugBase* plug, IBitmap* bitmap) : IBitmapControlExt(plug, 0, 0, bitmap) {}

  void OnMouseDown(int, int, IMouseMod*) override {}
  void OnMouseUp(int, int, IMouseMod*) override {}
  void OnMouseDblClick(int, int, IMouseMod*) override {}
};
