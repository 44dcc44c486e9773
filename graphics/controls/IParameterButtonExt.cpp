#include "graphics/controls/IParameterButtonExt.h"

#include "framework/IPlugBase.h"
#include "graphics/IGraphics.h"
#include "graphics/controls/ControlScaling.h"

namespace {

// A drag over this many heights of the field sweeps the whole range.
constexpr double kButtonGearing = 8.0;
constexpr int kButtonTextEntryLength = 8;
constexpr int kValueTextLength = 64;

}  // namespace

IParameterButtonExt::IParameterButtonExt(IPlugBase* plug, const IRECT& rect, int paramIdx, const IText* text)
    : IKnobControlExt(plug, IRECTResize::Scaled(rect), paramIdx, kVertical, kButtonGearing),
      mTextRECT(mRECT),
      mPromptRECT(mRECT),
      mUnscaledTextRECT(mRECT),
      mUnscaledPromptRECT(mRECT),
      mUnscaledText(text ? *text : IText()),
      mDisplayParamIdx(paramIdx) {
  mText = mUnscaledText;
  mTextEntryLength = kButtonTextEntryLength;
  mDisablePrompt = false;
}

void IParameterButtonExt::Rescale(double scaleX, double scaleY) {
  IKnobControlExt::Rescale(scaleX, scaleY);
  IGraphics* graphics = mPlug ? mPlug->GetGUI() : nullptr;
  // The rectangles follow the editor's GUI scale, which the layout sets
  // before every rescale.
  const double gx = graphics ? graphics->GetGUIScaleX() : scaleX;
  const double gy = graphics ? graphics->GetGUIScaleY() : scaleY;
  mTextRECT = ControlScaling::ScaledRECT(mUnscaledTextRECT, gx, gy);
  mPromptRECT = ControlScaling::ScaledRECT(mUnscaledPromptRECT, gx, gy);
  mText = ControlScaling::ScaledText(mUnscaledText, scaleY);
}

void IParameterButtonExt::OnMouseDown(int x, int y, IMouseMod* mod) {
  if (mod && mod->A) {
    if (mDefaultValue >= 0.0) {
      mValue = mDefaultValue;
      SetDirty(true);
    }
  } else if (mod && mod->R) {
    PromptUserInput(mPromptRECT);
  } else {
    // A press without a move still tells the plug-in the value.
    OnMouseDrag(x, y, 0, 0, mod);
  }
}

// Unlike the base, a negative default is taken too: SetDirty clamps it to
// the bottom of the range.
void IParameterButtonExt::OnMouseDblClick(int, int, IMouseMod*) {
  mValue = mDefaultValue;
  SetDirty(true);
}

void IParameterButtonExt::OnMouseWheel(int, int, IMouseMod* mod, int d) { WheelStep(mod, d, true); }

const IParam* IParameterButtonExt::DisplayParam() const {
  return mPlug ? mPlug->GetParam(mDisplayParamIdx) : nullptr;
}

void IParameterButtonExt::GetValueText(char* buf, int bufSize) const {
  if (!buf || bufSize < 1) return;
  buf[0] = '\0';
  if (const IParam* param = DisplayParam()) param->GetDisplayForHost(param->Value(), false, buf, bufSize, true);
}

bool IParameterButtonExt::Draw(IGraphics* graphics) {
  char text[kValueTextLength];
  GetValueText(text, sizeof text);
  if (!text[0]) return true;
  IText style = mText;
  if (mGrayed) style.mColor.A /= 2;
  graphics->DrawIText(&style, text, &mTextRECT);
  // The colour is no part of a font's key: the copy's font is the style's.
  mText.mCached = style.mCached;
  return true;
}
