#include "framework/IParam.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "framework/Utilities.h"

void IParam::InitEnum(const char* name, int defaultValue, int nEnums, const char* label, const char* group) {
  if (mType == kTypeNone) mType = kTypeEnum;
  mDisplayTexts.Resize(0, true);
  CopyText(mName, name);
  CopyText(mLabel, label);
  CopyText(mGroup, group);
  mValue = mDefault = defaultValue;
  mMin = 0.0;
  mMax = nEnums < 2 ? 1.0 : nEnums - 1;
  mStep = 1.0;
  mShape = 1.0;
  mDisplayPrecision = 0;
}

void IParam::InitDouble(const char* name, double defaultValue, double minValue, double maxValue, double step,
                        const char* label, const char* group, double shape) {
  if (mType == kTypeNone) mType = kTypeDouble;
  mDisplayTexts.Resize(0, true);
  CopyText(mName, name);
  CopyText(mLabel, label);
  CopyText(mGroup, group);
  mValue = mDefault = defaultValue;
  mMin = minValue;
  mMax = std::fmax(maxValue, minValue + step);
  mStep = step;
  // The smallest number of decimals that shows the step exactly: the test
  // for a whole number is exact, so 0.1, 0.01, 0.001 give 1, 2, 3.
  mDisplayPrecision = 6;
  for (int k = 0; k <= 6; ++k) {
    const double scaled = step * std::pow(10.0, k);
    if (scaled == std::floor(scaled)) {
      mDisplayPrecision = k;
      break;
    }
  }
  if (shape != 0.0) mShape = shape;
}

const char* IParam::SetDisplayText(int value, const char* text) {
  const int n = mDisplayTexts.GetSize();
  mDisplayTexts.Resize(n + 1, false);
  if (mDisplayTexts.GetSize() != n + 1) return "";
  DisplayText* record = mDisplayTexts.Get() + n;
  record->mValue = value;
  CopyText(record->mText, text);
  return record->mText;
}

void IParam::SetLogShape() {
  mMin = std::fmax(mMin, mStep);
  mMax = std::fmax(mMax, mStep);
  const double decades = std::log10(mMax) - std::log10(mMin);
  if (decades != 0.0) mShape = decades;
}

void IParam::Set(double value) {
  // A NaN passes both range tests and would reach every mirror and filter
  // design behind the parameter: the value stays as it was.
  if (std::isnan(value)) return;
  if (value < mMin) {
    mValue = mMin;
  } else if (value > mMax) {
    mValue = mMax;
  } else {
    mValue = value;
  }
}

double IParam::FromNormalizedParam(double normalized) const {
  // NaN fails both tests below, so it is sent to 0 explicitly.
  if (!(normalized >= 0.0)) normalized = 0.0;
  if (normalized > 1.0) normalized = 1.0;
  double v = mMin + (mMax - mMin) * std::pow(normalized, mShape);
  if (mType != kTypeDouble) v = mStep * std::floor(v / mStep + 0.5);
  return std::fmin(v, mMax);
}

double IParam::ToNormalizedParam(double value) const {
  if (!(mMax > mMin)) return 0.0;  // a degenerate range has one point
  if (!(value >= mMin)) value = mMin;
  if (value > mMax) value = mMax;
  const double linear = (value - mMin) / (mMax - mMin);
  if (mShape == 0.0) return linear;
  return std::pow(linear, 1.0 / mShape);
}

double IParam::FromNormalizedUnrounded(double normalized) const {
  return mMin + (mMax - mMin) * std::pow(normalized, mShape);
}

void IParam::GetDisplayForHost(double value, bool normalized, char* buf, int bufSize, bool withDisplayText) const {
  if (!buf || bufSize < 1) return;
  if (normalized) {
    // Hosts may pass anything; keep the curve's input where it is defined.
    if (!(value >= 0.0)) value = 0.0;
    if (value > 1.0) value = 1.0;
    value = FromNormalizedUnrounded(value);
  }
  if (!std::isfinite(value)) {
    std::snprintf(buf, static_cast<size_t>(bufSize), "%s", std::isnan(value) ? "nan" : (value > 0 ? "inf" : "-inf"));
    return;
  }

  if (withDisplayText && GetNDisplayTexts() > 0 && std::fabs(value) < 2147483647.0) {
    const char* text = GetDisplayText(static_cast<int>(value));  // truncates toward zero
    if (text[0]) {
      CopyText(buf, static_cast<size_t>(bufSize), text);
      return;
    }
  }

  if (mDisplayPrecision == 0) {
    const double rounded = std::floor(value + 0.5);
    if (std::fabs(rounded) < 2147483647.0) {
      std::snprintf(buf, static_cast<size_t>(bufSize), "%d", static_cast<int>(rounded));
    } else {
      std::snprintf(buf, static_cast<size_t>(bufSize), "%.0f", rounded);
    }
  } else {
    std::snprintf(buf, static_cast<size_t>(bufSize), "%.*f", mDisplayPrecision, value);
  }
}

const char* IParam::GetDisplayText(int value) const {
  const DisplayText* records = mDisplayTexts.Get();
  for (int i = 0; i < mDisplayTexts.GetSize(); ++i) {
    if (records[i].mValue == value) return records[i].mText;
  }
  return "";
}

const char* IParam::GetDisplayTextAtIdx(int idx, int* value) const {
  if (idx < 0 || idx >= mDisplayTexts.GetSize()) return "";
  const DisplayText& record = mDisplayTexts.Get()[idx];
  if (value) *value = record.mValue;
  return record.mText;
}

bool IParam::MapDisplayText(const char* text, int* value) const {
  const DisplayText* records = mDisplayTexts.Get();
  for (int i = 0; i < mDisplayTexts.GetSize(); ++i) {
    if (std::strcmp(records[i].mText, text) == 0) {
      if (value) *value = records[i].mValue;
      return true;
    }
  }
  return false;
}

const char* IParam::GetLabelForHost() const {
  if (std::fabs(mValue) < 2147483647.0 && GetDisplayText(static_cast<int>(mValue))[0]) return "";
  return mLabel;
}
