#include "graphics/controls/IPanelControl.h"

#include "graphics/IGraphics.h"

bool IPanelControl::Draw(IGraphics* graphics) {
  graphics->FillIRect(&mColor, &mRECT, &mBlend);
  return true;
}
