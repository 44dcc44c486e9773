#include "graphics/IControl.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "framework/IPlugBase.h"
#include "graphics/IGraphics.h"
#include "graphics/controls/ITextControlExt.h"

namespace {

constexpr float kGrayWeight = 0.25f;
// Each piece of a value display's text is cut to this many characters.
constexpr int kDisplayPieceLength = 32;

}  // namespace

IControl::IControl(IPlugBase* plug, const IRECTResize& rect, int paramIdx, const IChannelBlend& blend)
    : mRECTResize(rect),
      mPlug(plug),
      mRECT(rect.UnscaledRECT()),
      mTargetRECT(mRECT),
      mParamIdx(paramIdx),
      mBlend(blend) {
  if (mPlug && paramIdx >= 0) {
    if (const IParam* param = mPlug->GetParam(paramIdx)) mDefaultValue = param->ToNormalizedParam(param->GetDefault());
  }
}

IControl::IControl(IPlugBase* plug, const IRECT& rect, int paramIdx, const IChannelBlend& blend)
    : IControl(plug, IRECTResize::Scaled(rect), paramIdx, blend) {}

void IControl::OnMouseDown(int, int, IMouseMod* mod) {
  if (mod && mod->R) PromptUserInput();
}

void IControl::OnMouseDblClick(int, int, IMouseMod*) {
  if (mDefaultValue >= 0.0) {
    mValue = mDefaultValue;
    SetDirty(true);
  }
}

void IControl::SetValueFromPlug(double value) {
  if (mDefaultValue < 0.0) {
    mValue = value;
    mDefaultValue = value;
    return;
  }
  if (value == mValue) return;
  mValue = value;
  SetDirty(false);
  mRedraw = true;
}

void IControl::SetValueFromUserInput(double value) {
  if (value == mValue) return;
  mValue = value;
  SetDirty(true);
  mRedraw = true;
}

void IControl::SetAuxParamValueFromPlug(int auxIdx, double value) {
  if (auxIdx < 0 || auxIdx >= mAuxParams.GetSize()) return;
  AuxParam& aux = mAuxParams.Get()[auxIdx];
  if (aux.mValue == value) return;
  aux.mValue = value;
  SetDirty(false);
  mRedraw = true;
}

void IControl::SetDirty(bool push) {
  // A drag over a zero-size rectangle can produce a NaN. It is no value:
  // clamping would turn it into an end of the range, so the control shows
  // its parameter's value again and pushes nothing.
  if (std::isnan(mValue)) {
    const IParam* param = mPlug && mParamIdx >= 0 ? mPlug->GetParam(mParamIdx) : nullptr;
    mValue = param ? param->GetNormalized() : mClampLo;
    mDirty = true;
    return;
  }
  if (mValue < mClampLo) {
    mValue = mClampLo;
  } else if (mValue > mClampHi) {
    mValue = mClampHi;
  }
  mDirty = true;
  if (!push || !mPlug || mParamIdx < 0) return;

  mPlug->SetParameterFromGUI(mParamIdx, mValue);
  const IParam* param = mPlug->GetParam(mParamIdx);
  if (!param) return;
  if (mValueDisplayControl) {
    char display[kDisplayPieceLength + 1];
    param->GetDisplayForHost(param->Value(), false, display, sizeof display, true);
    char text[2 * kDisplayPieceLength + 2];
    std::snprintf(text, sizeof text, "%s %.*s", display, kDisplayPieceLength, param->GetLabelForHost());
    mValueDisplayControl->SetTextFromPlug(text);
  }
  if (mNameDisplayControl) mNameDisplayControl->SetTextFromPlug(param->GetNameForHost());
}

void IControl::SetClean() {
  mDirty = mRedraw;
  mRedraw = false;
}

void IControl::SetRECT(const IRECT& rect) {
  mRECT = rect;
  mTargetRECT = rect;
}

void IControl::Hide(bool hide) {
  mHide = hide;
  mRedraw = true;
  SetDirty(false);
}

void IControl::SetDisabled(bool disabled) {
  mDisabled = disabled;
  mRedraw = true;
  SetDirty(false);
}

void IControl::GrayOut(bool gray) {
  mGrayed = gray;
  mBlend.mWeight = gray ? kGrayWeight : 1.0f;
  SetDirty(false);
}

void IControl::SetGrayWeight(bool gray) {
  mBlend.mWeight = gray ? kGrayWeight : 1.0f;
  SetDirty(false);
}

void IControl::PromptUserInput() {
  if (mParamIdx < 0 || mDisablePrompt || !mPlug) return;
  const IParam* param = mPlug->GetParam(mParamIdx);
  if (!param) return;
  if (param->GetNDisplayTexts() > 0) {
    PromptUserInput(mRECT);
    return;
  }
  const int cx = static_cast<int>((mRECT.L + mRECT.R) * 0.5);
  const int cy = static_cast<int>((mRECT.T + mRECT.B) * 0.5);
  PromptUserInput(IRECT(cx - 20, cy - 8, cx + 20, cy + 8));
}

void IControl::PromptUserInput(const IRECT& rect) {
  if (mParamIdx < 0 || mDisablePrompt || !mPlug) return;
  IGraphics* graphics = mPlug->GetGUI();
  IParam* param = mPlug->GetParam(mParamIdx);
  if (!graphics || !param) return;
  IRECT box = rect;
  graphics->PromptUserInput(this, param, &box);
  mRedraw = true;
}

void IControl::AddAuxParam(int paramIdx) {
  const int n = mAuxParams.GetSize();
  mAuxParams.Resize(n + 1, false);
  if (mAuxParams.GetSize() != n + 1) return;
  mAuxParams.Get()[n] = AuxParam{0.0, paramIdx};
}

const IControl::AuxParam* IControl::GetAuxParam(int idx) const {
  if (idx < 0 || idx >= mAuxParams.GetSize()) return nullptr;
  return mAuxParams.Get() + idx;
}

int IControl::GetAuxParamIdx(int paramIdx) const {
  for (int i = 0; i < mAuxParams.GetSize(); ++i) {
    if (mAuxParams.Get()[i].mParamIdx == paramIdx) return i;
  }
  return -1;
}
