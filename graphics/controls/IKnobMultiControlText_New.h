#pragma once

#include "graphics/IBitmap.h"
#include "graphics/IColor.h"
#include "graphics/IText.h"
#include "graphics/controls/IKnobControlExt.h"

// A bitmap knob bound to a parameter. While the mouse is over it, the
// parameter's value (and, with show label, its unit) is shown in a box
// along the knob's bottom edge. A right-click or an Option-click opens a
// value prompt, as does a double-click on the value box; a double-click
// elsewhere returns to the default.
class IKnobMultiControlText_New : public IKnobControlExt {
 public:
  // Sized from one frame of the bitmap; a null style or colour stands for
  // the default style or black.
  IKnobMultiControlText_New(IPlugBase* plug, int x, int y, int paramIdx, IBitmap* bitmap, const IText* text,
                            const IColor* background, bool showLabel, int direction, double gearing);

  void Rescale(double scaleX, double scaleY) override;
  void OnMouseDown(int x, int y, IMouseMod* mod) override;
  void OnMouseUp(int, int, IMouseMod*) override {}
  void OnMouseDblClick(int x, int y, IMouseMod* mod) override;
  void OnMouseWheel(int x, int y, IMouseMod* mod, int d) override;
  void OnMouseOver(int x, int y, IMouseMod* mod) override;
  void OnMouseOut() override;
  bool Draw(IGraphics* graphics) override;

  // The value box's text: the parameter's display text, with its unit
  // when show label is set. Empty without a parameter.
  void GetValueText(char* buf, int bufSize) const;

  const IRECT& GetTextRECT() const { return mTextRECT; }
  const IRECT& GetKnobRECT() const { return mKnobRECT; }
  const IRECT& GetPromptRECT() const { return mPromptRECT; }
  const IBitmap& GetBitmap() const { return mKnobBitmap; }
  bool IsHovering() const { return mHovering; }

 protected:
  IRECT mTextRECT;    // the value box
  IRECT mKnobRECT;    // where the bitmap is drawn
  IRECT mPromptRECT;  // the value box lowered by half a text height
  IRECT mUnscaledTextRECT;
  IRECT mUnscaledKnobRECT;
  IRECT mUnscaledPromptRECT;
  IColor mBackground;
  IBitmap mKnobBitmap;
  IBitmap mUnscaledKnobBitmap;
  bool mHovering = false;
  bool mShowLabel;
  IText mUnscaledText;
};
