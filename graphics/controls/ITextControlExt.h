#pragma once

#include "framework/containers/WDL_String.h"
#include "graphics/IControl.h"
#include "graphics/IText.h"

// A text readout: shows a string the plug-in sets, such as a meter's
// maximum or a bound control's value and name. Until the first rescale it
// draws one pixel smaller than its style; from then on at the style's size
// times the GUI scale.
class ITextControlExt : public IControl {
 public:
  // A null style stands for the default one.
  ITextControlExt(IPlugBase* plug, const IRECT& rect, const IText* text, const char* str);
  // In the default style.
  ITextControlExt(IPlugBase* plug, const IRECT& rect, const char* str = "");

  void Rescale(double scaleX, double scaleY) override;
  bool Draw(IGraphics* graphics) override;

  // Marks the control for redraw only when the text really changes.
  void SetTextFromPlug(const char* str);
  const char* GetText() const { return mStr.Get(); }
  const IText& GetUnscaledText() const { return mUnscaledText; }

 protected:
  // The text drawn with the given style into the control's rectangle.
  void DrawText(IGraphics* graphics, IText* style);

  WDL_String mStr;
  IText mUnscaledText;
};
