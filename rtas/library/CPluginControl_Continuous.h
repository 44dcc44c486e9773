#pragma once

#include <string>

#include "rtas/library/CPluginControl.h"
#include "rtas/library/UnitPrefixes.h"

// A range of doubles shown with a fixed number of decimals, an optional
// unit and, when prefix records are given, the SI prefix that suits the
// magnitude ("2.5k"). How the host value maps onto the range is the
// derived kind's (DoubleToValue, ValueToDouble), so the derived kind's
// constructor sets the value to the default.
class CPluginControl_Continuous : public CPluginControl {
 public:
  // The prefixes are the records firstPrefix to lastPrefix, both included,
  // in ascending scale; none when either is null.
  CPluginControl_Continuous(uint32_t id, const char* name, double min, double max, double defaultValue,
                            bool automatable, const SPrefixRecord* firstPrefix, const SPrefixRecord* lastPrefix);

  int32_t GetDefaultValue() const override { return DoubleToValue(mDefault); }
  void SetDefaultValue(int32_t value) override { mDefault = ValueToDouble(value); }
  // A number and at most one word (prefix and unit); anything else throws
  // CDAEError -7401.
  int32_t ConvertStringToValue(const char* text) const override;
  bool IsKeyAcceptable(unsigned char key) const override;
  bool IsContinuous() const override { return true; }
  void ConvertValueToString(char* buffer, int32_t maxLength, int32_t value) const override;
  bool IsAutomatable() const override { return mAutomatable; }

  virtual int32_t DoubleToValue(double x) const = 0;
  virtual double ValueToDouble(int32_t value) const = 0;

  double GetContinuousValue() const { return ValueToDouble(GetValue()); }
  double GetMin() const { return mMin; }
  double GetMax() const { return mMax; }
  int GetDigits() const { return mDigits; }
  void SetDigits(int digits) { mDigits = digits; }
  const std::string& GetUnit() const { return mUnit; }
  void SetUnit(const char* unit) { mUnit = unit ? unit : ""; }

  // The value's text for maxLength characters (what ConvertValueToString
  // writes).
  std::string FormatValue(double x, int32_t maxLength) const;

 private:
  const SPrefixRecord* PrefixFor(double x) const;

  double mMin;
  double mMax;
  double mDefault;
  bool mAutomatable;
  int mDigits = 1;
  std::string mUnit;
  const SPrefixRecord* mFirstPrefix;
  const SPrefixRecord* mLastPrefix;
};
