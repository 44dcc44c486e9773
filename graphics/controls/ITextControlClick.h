#pragma once

#include "graphics/controls/ITextControlExt.h"

// A text readout that tells the plug-in of a click through its command
// tag (a meter's maximum, clicked to reset). Greyed, it draws its text at
// half alpha.
class ITextControlClick : public ITextControlExt {
 public:
  ITextControlClick(IPlugBase* plug, const IRECT& rect, const IText* text, const char* str, int tag)
      : ITextControlExt(plug, rect, text, str), mTag(tag) {}

  void OnMouseDown(int x, int y, IMouseMod* mod) override;
  bool Draw(IGraphics* graphics) override;

  int GetTag() const { return mTag; }

 protected:
  int mTag;
};
