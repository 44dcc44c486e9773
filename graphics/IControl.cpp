#include "graphics/IControl.h"

#include "framework/IPlugBase.h"

IControl::IControl(IPlugBase* plug, const IRECT& rect, int paramIdx)
    : mPlug(plug), mRECT(rect), mTargetRECT(rect), mParamIdx(paramIdx) {
  if (mPlug && paramIdx >= 0) {
    if (const IParam* param = mPlug->GetParam(paramIdx)) mDefaultValue = param->ToNormalizedParam(param->GetDefault());
  }
}

void IControl::SetValueFromPlug(double value) {
  if (mValue != value) {
    mValue = value;
    SetDirty(false);
  }
}

void IControl::SetValueFromUserInput(double value) {
  if (mValue != value) {
    mValue = value;
    if (mValue < mClampLo) mValue = mClampLo;
    if (mValue > mClampHi) mValue = mClampHi;
    SetDirty(true);
  }
}

void IControl::SetAuxParamValueFromPlug(int auxIdx, double value) {
  if (auxIdx < 0 || auxIdx >= mAuxParams.GetSize()) return;
  AuxParam& aux = mAuxParams.Get()[auxIdx];
  if (aux.mValue != value) {
    aux.mValue = value;
    SetDirty(false);
  }
}

void IControl::SetDirty(bool push) {
  mDirty = true;
  if (push && mPlug && mParamIdx >= 0) mPlug->SetParameterFromGUI(mParamIdx, mValue);
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
