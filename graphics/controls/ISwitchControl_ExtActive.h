#pragma once

#include "graphics/IText.h"
#include "graphics/controls/ISwitchControl_Ext.h"

// A switch with a text label over its bitmap: the label is drawn in the
// inactive style while the first frame shows and in the active style
// otherwise. Both styles follow the GUI scale.
class ISwitchControl_ExtActive : public ISwitchControl_Ext {
 public:
  // A null style stands for the default one; the label keeps at most 19
  // characters.
  ISwitchControl_ExtActive(IPlugBase* plug, int x, int y, int paramIdx, IBitmap* bitmap, const IText* active,
                           const IText* inactive, const char* label, int blendMethod = IChannelBlend::kBlendNone);

  void Rescale(double scaleX, double scaleY) override;
  bool Draw(IGraphics* graphics) override;

  const char* GetLabel() const { return mLabel; }
  const IText& GetActiveText() const { return mText; }
  const IText& GetInactiveText() const { return mInactiveText; }

 protected:
  char mLabel[20] = {};
  IText mInactiveText;
  IText mUnscaledInactiveText;
  IText mUnscaledActiveText;  // the drawn active style is the control's own
};
