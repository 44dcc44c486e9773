#pragma once

#include "framework/containers/WDL_String.h"
#include "graphics/IControl.h"

// A text readout: shows a string the plug-in sets.
class ITextControlExt : public IControl {
 public:
  ITextControlExt(IPlugBase* plug, const IRECT& rect, const char* text = "");

  // Marks the control for redraw only when the text really changes.
  void SetTextFromPlug(const char* text);
  const char* GetText() const { return mText.Get(); }

 protected:
  WDL_String mText;
};
