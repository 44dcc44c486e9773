#include "graphics/controls/IKnobMultiControlText_New.h"

#include <cstdio>

#include "framework/IPlugBase.h"
#include "graphics/IGraphics.h"
#include "graphics/controls/BitmapFrame.h"
#include "graphics/controls/ControlScaling.h"

namespace {

constexpr int kRoundCornerRadius = 2;
// Each piece of the value text is cut to this many characters.
constexpr int kDisplayPieceLength = 32;

}  // namespace

IKnobMultiControlText_New::IKnobMultiControlText_New(IPlugBase* plug, int x, int y, int paramIdx, IBitmap* bitmap,
                                                     const IText* text, const IColor* background, bool showLabel,
                                                     int direction, double gearing)
    : IKnobControlExt(plug, BitmapFrame::FrameRECT(x, y, bitmap), paramIdx, direction, gearing),
      mBackground(background ? *background : kColorBlack),
      mKnobBitmap(bitmap ? *bitmap : IBitmap()),
      mUnscaledKnobBitmap(mKnobBitmap),
      mShowLabel(showLabel),
      mUnscaledText(text ? *text : IText()) {
  mText = mUnscaledText;
  const int size = mUnscaledText.mSize;
  mKnobRECT = mRECT;
  mTextRECT = IRECT(mRECT.L, mRECT.B - 1 - size, mRECT.R, mRECT.B);
  mPromptRECT = IRECT(mTextRECT.L, mTextRECT.T, mTextRECT.R, mTextRECT.B + size / 2);
  mUnscaledKnobRECT = mKnobRECT;
  mUnscaledTextRECT = mTextRECT;
  mUnscaledPromptRECT = mPromptRECT;
  mDisablePrompt = false;
}

void IKnobMultiControlText_New::Rescale(double scaleX, double scaleY) {
  IKnobControlExt::Rescale(scaleX, scaleY);
  IGraphics* graphics = mPlug ? mPlug->GetGUI() : nullptr;
  // The rectangles follow the editor's GUI scale, which the layout sets
  // before every rescale.
  const double gx = graphics ? graphics->GetGUIScaleX() : scaleX;
  const double gy = graphics ? graphics->GetGUIScaleY() : scaleY;
  mTextRECT = ControlScaling::ScaledRECT(mUnscaledTextRECT, gx, gy);
  mKnobRECT = ControlScaling::ScaledRECT(mUnscaledKnobRECT, gx, gy);
  mPromptRECT = ControlScaling::ScaledRECT(mUnscaledPromptRECT, gx, gy);
  mText = ControlScaling::ScaledText(mUnscaledText, scaleY);
  mKnobBitmap = BitmapFrame::Rescaled(graphics, mUnscaledKnobBitmap, scaleX, scaleY);
}

void IKnobMultiControlText_New::OnMouseDown(int x, int y, IMouseMod* mod) {
  if (mod && (mod->A || mod->R)) {
    PromptUserInput(mPromptRECT);
    return;
  }
  // A press without a move still tells the plug-in the value: the host's
  // edit that the press began then carries it.
  OnMouseDrag(x, y, 0, 0, mod);
}

void IKnobMultiControlText_New::OnMouseDblClick(int x, int y, IMouseMod*) {
  if (mTextRECT.Contains(x, y)) {
    PromptUserInput(mPromptRECT);
    return;
  }
  mValue = mDefaultValue;
  SetDirty(true);
}

void IKnobMultiControlText_New::OnMouseWheel(int, int, IMouseMod* mod, int d) { WheelStep(mod, d, true); }

void IKnobMultiControlText_New::OnMouseOver(int, int, IMouseMod*) {
  mHovering = true;
  SetDirty(false);
}

void IKnobMultiControlText_New::OnMouseOut() {
  mHovering = false;
  SetDirty(false);
}

void IKnobMultiControlText_New::GetValueText(char* buf, int bufSize) const {
  if (!buf || bufSize < 1) return;
  buf[0] = '\0';
  const IParam* param = mPlug ? mPlug->GetParam(mParamIdx) : nullptr;
  if (!param) return;
  char display[kDisplayPieceLength + 1];
  param->GetDisplayForHost(param->Value(), false, display, sizeof display, true);
  if (mShowLabel) {
    std::snprintf(buf, static_cast<size_t>(bufSize), "%s %.*s", display, kDisplayPieceLength,
                  param->GetLabelForHost());
  } else {
    std::snprintf(buf, static_cast<size_t>(bufSize), "%s", display);
  }
}

bool IKnobMultiControlText_New::Draw(IGraphics* graphics) {
  graphics->DrawBitmapFrame(&mKnobBitmap, &mKnobRECT, BitmapFrame::ForValue(mValue, mKnobBitmap.mN), &mBlend);
  if (!mHovering) return true;
  char text[2 * kDisplayPieceLength + 2];
  GetValueText(text, sizeof text);
  // Rounded corners only where the box is opaque: the corner discs and the
  // fills beside them would blend twice where they meet.
  if (mBackground.A == 255) {
    graphics->FillRoundRect(&mBackground, &mTextRECT, &mBlend, kRoundCornerRadius, true);
  } else {
    graphics->FillIRect(&mBackground, &mTextRECT, &mBlend);
  }
  graphics->DrawIText(&mText, text, &mTextRECT);
  return true;
}
