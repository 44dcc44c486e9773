#pragma once

#include "graphics/controls/IBitmapControlExt.h"

// A momentary button: shows its second frame while held and tells the
// plug-in of the press through its command tag.
class IClickControl : public IBitmapControlExt {
 public:
  IClickControl(IPlugBase* plug, int x, int y, int tag, IBitmap* bitmap);

  void OnMouseDown(int x, int y, IMouseMod* mod) override;
  void OnMouseUp(int x, int y, IMouseMod* mod) override;
  // A second click of a double-click is no second press.
  void OnMouseDblClick(int, int, IMouseMod*) override {}

  int GetTag() const { return mTag; }

 protected:
  int mTag;
};
