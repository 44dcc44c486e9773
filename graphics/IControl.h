#pragma once

#include "framework/containers/WDL_TypedBuf.h"
#include "graphics/IGraphicsStructs.h"

class IPlugBase;

// The base of every element of the editor. A control bound to a parameter
// holds its normalised value; a user change reaches the plug-in through
// SetDirty(true).
class IControl {
 public:
  struct AuxParam {
    double mValue;
    int mParamIdx;
  };

  IControl(IPlugBase* plug, const IRECT& rect, int paramIdx = -1);
  virtual ~IControl() = default;

  IControl(const IControl&) = delete;
  IControl& operator=(const IControl&) = delete;

  // The plug-in's value arrives: no notification back to the plug-in.
  virtual void SetValueFromPlug(double value);
  // The user's value: clamped, then pushed to the plug-in.
  virtual void SetValueFromUserInput(double value);
  virtual void SetAuxParamValueFromPlug(int auxIdx, double value);
  // push: tell the plug-in the bound parameter's new value.
  virtual void SetDirty(bool push = true);
  virtual void SetClean() { mDirty = false; }
  virtual bool IsDirty() const { return mDirty; }

  int ParamIdx() const { return mParamIdx; }
  double GetValue() const { return mValue; }
  double GetDefaultValue() const { return mDefaultValue; }
  void AddAuxParam(int paramIdx);
  int NAuxParams() const { return mAuxParams.GetSize(); }
  const AuxParam* GetAuxParam(int idx) const;

  void Hide(bool hide) { mHide = hide; SetDirty(false); }
  bool IsHidden() const { return mHide; }
  void GrayOut(bool gray) { mGrayed = gray; SetDirty(false); }
  bool IsGrayed() const { return mGrayed; }
  const IRECT& GetRECT() const { return mRECT; }
  IPlugBase* GetPlug() const { return mPlug; }

 protected:
  IPlugBase* mPlug;
  IRECT mRECT;
  IRECT mTargetRECT;
  int mParamIdx;
  WDL_TypedBuf<AuxParam> mAuxParams{4096};
  double mValue = 0.0;
  double mDefaultValue = -1.0;
  double mClampLo = 0.0;
  double mClampHi = 1.0;
  bool mDirty = true;
  bool mHide = false;
  bool mDisabled = false;
  bool mGrayed = false;
};
