#pragma once

#include "graphics/IText.h"
#include "graphics/controls/IKnobControlExt.h"

class IParam;

// A text field that shows a parameter's value and changes it like a knob:
// a vertical drag over eight heights of the field sweeps the whole range.
// Option-click and a double-click return to the default; a right-click
// opens a value prompt over the field.
class IParameterButtonExt : public IKnobControlExt {
 public:
  // The field shows and edits the parameter; a null style stands for the
  // default one.
  IParameterButtonExt(IPlugBase* plug, const IRECT& rect, int paramIdx, const IText* text);

  void Rescale(double scaleX, double scaleY) override;
  void OnMouseDown(int x, int y, IMouseMod* mod) override;
  void OnMouseDblClick(int x, int y, IMouseMod* mod) override;
  void OnMouseWheel(int x, int y, IMouseMod* mod, int d) override;
  // The value text, at half alpha while greyed; an empty text draws nothing.
  bool Draw(IGraphics* graphics) override;

  // The text the field shows: the display parameter's display text.
  virtual void GetValueText(char* buf, int bufSize) const;

  int GetDisplayParamIdx() const { return mDisplayParamIdx; }
  void SetDisplayParamIdx(int paramIdx) { mDisplayParamIdx = paramIdx; }
  const IRECT& GetTextRECT() const { return mTextRECT; }
  const IRECT& GetPromptRECT() const { return mPromptRECT; }

 protected:
  // The parameter the field shows, or null.
  const IParam* DisplayParam() const;

  IRECT mTextRECT;
  IRECT mPromptRECT;
  IRECT mUnscaledTextRECT;
  IRECT mUnscaledPromptRECT;
  IText mUnscaledText;
  int mDisplayParamIdx;
};
