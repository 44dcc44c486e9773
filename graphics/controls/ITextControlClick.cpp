#include "graphics/controls/ITextControlClick.h"

#include "graphics/controls/CommandTag.h"

void ITextControlClick::OnMouseDown(int, int, IMouseMod*) { NotifyCommandTag(mPlug, mTag); }

bool ITextControlClick::Draw(IGraphics* graphics) {
  if (!mGrayed) return ITextControlExt::Draw(graphics);
  IText dimmed = mText;
  dimmed.mColor.A /= 2;
  DrawText(graphics, &dimmed);
  // The colour is no part of a font's key: the copy's font is the style's.
  mText.mCached = dimmed.mCached;
  return true;
}
