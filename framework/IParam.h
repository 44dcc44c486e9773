#pragma once

#include "framework/containers/WDL_TypedBuf.h"

// One automatable parameter: its kind, plain value and range, the curve that
// maps it to and from the normalised 0..1 range hosts and controls speak,
// its names, and an optional table of display texts for enumerated values.
class IParam {
 public:
  enum EParamType { kTypeNone = 0, kTypeBool = 1, kTypeInt = 2, kTypeEnum = 3, kTypeDouble = 4 };

  struct DisplayText {
    int mValue;
    char mText[32];
  };

  IParam() = default;

  // Kinds 1 to 3 keep a kind a caller set before; 0 becomes an enumeration.
  void InitEnum(const char* name, int defaultValue, int nEnums, const char* label = "", const char* group = "");
  void InitDouble(const char* name, double defaultValue, double minValue, double maxValue, double step,
                  const char* label = "", const char* group = "", double shape = 1.0);
  const char* SetDisplayText(int value, const char* text);
  // A power curve whose exponent spans the decades of the range; the minimum
  // is raised to the step so the curve has a finite start.
  void SetLogShape();

  // Clamped store used by the state readers and the host: no rounding to the
  // step; a NaN keeps the current value.
  void Set(double value);
  void SetNormalized(double normalized) { mValue = FromNormalizedParam(normalized); }
  double FromNormalizedParam(double normalized) const;
  double ToNormalizedParam(double value) const;
  double FromNormalizedUnrounded(double normalized) const;
  double GetNormalized() const { return ToNormalizedParam(mValue); }

  // Writes at most bufSize bytes (terminator included).
  void GetDisplayForHost(double value, bool normalized, char* buf, int bufSize, bool withDisplayText = true) const;
  const char* GetDisplayText(int value) const;
  const char* GetDisplayTextAtIdx(int idx, int* value = nullptr) const;
  int GetNDisplayTexts() const { return mDisplayTexts.GetSize(); }
  bool MapDisplayText(const char* text, int* value) const;

  const char* GetNameForHost() const { return mName; }
  const char* GetLabelForHost() const;
  const char* GetGroupForHost() const { return mGroup; }

  int Type() const { return mType; }
  void SetType(int type) { mType = type; }
  double Value() const { return mValue; }
  int Int() const { return static_cast<int>(mValue); }
  bool Bool() const { return mValue >= 0.5; }
  double GetMin() const { return mMin; }
  double GetMax() const { return mMax; }
  double GetStep() const { return mStep; }
  double GetShape() const { return mShape; }
  double GetDefault() const { return mDefault; }
  int GetPrecision() const { return mDisplayPrecision; }
  bool IsFlagged() const { return mFlagged; }
  void SetFlagged(bool flagged) { mFlagged = flagged; }

 private:
  int mType = kTypeNone;
  double mValue = 0.0;
  double mMin = 0.0;
  double mMax = 1.0;
  double mStep = 1.0;
  double mShape = 1.0;
  double mDefault = 0.0;
  int mDisplayPrecision = 0;
  char mName[32] = {};
  char mLabel[32] = {};
  char mGroup[32] = {};
  bool mFlagged = true;
  WDL_TypedBuf<DisplayText> mDisplayTexts{4096};
};
