#pragma once

#include "graphics/IControl.h"

// A click area with nothing drawn (over a logo, say) that tells the
// plug-in of every click, the second click of a double-click included,
// through its command tag.
class IInvisibleClickControl : public IControl {
 public:
  IInvisibleClickControl(IPlugBase* plug, const IRECT& rect, int tag) : IControl(plug, rect), mTag(tag) {}

  void OnMouseDown(int x, int y, IMouseMod* mod) override;
  void OnMouseDblClick(int x, int y, IMouseMod* mod) override { OnMouseDown(x, y, mod); }
  bool Draw(IGraphics*) override { return true; }

  int GetTag() const { return mTag; }

 protected:
  int mTag;
};
