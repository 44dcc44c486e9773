#include "graphics/controls/ITextControlExt.h"

#include <cstring>

ITextControlExt::ITextControlExt(IPlugBase* plug, const IRECT& rect, const char* text)
    : IControl(plug, rect), mText(text ? text : "") {}

void ITextControlExt::SetTextFromPlug(const char* text) {
  if (!text) text = "";
  if (std::strcmp(mText.Get(), text) != 0) {
    mText.Set(text);
    SetDirty(false);
  }
}
