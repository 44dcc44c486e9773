#include "graphics/controls/IClickControl.h"

#include "graphics/controls/CommandTag.h"

IClickControl::IClickControl(IPlugBase* plug, int x, int y, int tag, IBitmap* bitmap)
    : IBitmapControlExt(plug, x, y, bitmap), mTag(tag) {}

void IClickControl::OnMouseDown(int, int, IMouseMod*) {
  mValue = 1.0;
  NotifyCommandTag(mPlug, mTag);
  SetDirty(true);
}

void IClickControl::OnMouseUp(int, int, IMouseMod*) {
  mValue = 0.0;
  SetDirty(false);
}
