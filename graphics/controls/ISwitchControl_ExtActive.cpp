#include "graphics/controls/ISwitchControl_ExtActive.h"

#include "framework/Utilities.h"
#include "graphics/IGraphics.h"
#include "graphics/controls/ControlScaling.h"

ISwitchControl_ExtActive::ISwitchControl_ExtActive(IPlugBase* plug, int x, int y, int paramIdx, IBitmap* bitmap,
                                                   const IText* active, const IText* inactive, const char* label,
                                                   int blendMethod)
    : ISwitchControl_Ext(plug, x, y, paramIdx, bitmap, blendMethod),
      mInactiveText(inactive ? *inactive : IText()),
      mUnscaledInactiveText(mInactiveText),
      mUnscaledActiveText(active ? *active : IText()) {
  mText = mUnscaledActiveText;
  CopyText(mLabel, label ? label : "");
}

void ISwitchControl_ExtActive::Rescale(double scaleX, double scaleY) {
  ISwitchControl_Ext::Rescale(scaleX, scaleY);
  mText = ControlScaling::ScaledText(mUnscaledActiveText, scaleY);
  mInactiveText = ControlScaling::ScaledText(mUnscaledInactiveText, scaleY);
}

bool ISwitchControl_ExtActive::Draw(IGraphics* graphics) {
  const int frame = Frame();
  graphics->DrawBitmapFrame(&mBitmap, &mRECT, frame, &mBlend);
  graphics->DrawIText(frame == 1 ? &mInactiveText : &mText, mLabel, &mRECT);
  return true;
}
