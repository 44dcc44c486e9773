#include "graphics/controls/ITextControlExt.h"

#include <cstring>

#include "graphics/IGraphics.h"
#include "graphics/controls/ControlScaling.h"

ITextControlExt::ITextControlExt(IPlugBase* plug, const IRECT& rect, const IText* text, const char* str)
    : IControl(plug, rect), mStr(str ? str : ""), mUnscaledText(text ? *text : IText()) {
  mText = ControlScaling::ResizedText(mUnscaledText, mUnscaledText.mSize - 1);
}

ITextControlExt::ITextControlExt(IPlugBase* plug, const IRECT& rect, const char* str)
    : ITextControlExt(plug, rect, nullptr, str) {}

void ITextControlExt::Rescale(double scaleX, double scaleY) {
  IControl::Rescale(scaleX, scaleY);
  mText = ControlScaling::ScaledText(mUnscaledText, scaleY);
}

void ITextControlExt::SetTextFromPlug(const char* str) {
  if (!str) str = "";
  if (std::strcmp(mStr.Get(), str) != 0) {
    mStr.Set(str);
    SetDirty(false);
  }
}

bool ITextControlExt::Draw(IGraphics* graphics) {
  DrawText(graphics, &mText);
  return true;
}

void ITextControlExt::DrawText(IGraphics* graphics, IText* style) {
  if (mStr.GetLength() > 0) graphics->DrawIText(style, mStr.Get(), &mRECT);
}
