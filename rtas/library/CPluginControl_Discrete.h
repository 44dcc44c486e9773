#pragma once

#include "rtas/library/CPluginControl.h"

// An integer range min to max, one step per integer.
class CPluginControl_Discrete : public CPluginControl {
 public:
  CPluginControl_Discrete(uint32_t id, const char* name, int32_t min, int32_t max, int32_t defaultValue,
                          bool automatable);

  int32_t GetDefaultValue() const override;
  void SetDefaultValue(int32_t value) override;
  int32_t GetNumSteps() const override;
  // The text's leading integer, as atol reads it, clamped into the range.
  int32_t ConvertStringToValue(const char* text) const override;
  bool IsKeyAcceptable(unsigned char key) const override;
  bool IsContinuous() const override { return false; }
  // The integer in decimal; "*" when its digits need more than maxLength.
  void ConvertValueToString(char* buffer, int32_t maxLength, int32_t value) const override;
  bool IsAutomatable() const override { return mAutomatable; }

  int32_t GetIntValue() const;
  int32_t IntToValue(int32_t n) const;
  int32_t GetMin() const { return mMin; }
  int32_t GetMax() const { return mMax; }

 protected:
  // The integer of the text as atol reads it (leading blanks, a sign,
  // digits), saturated to 32 bits instead of overflowing.
  static int32_t LeadingInteger(const char* text);

 private:
  int32_t mMin;
  int32_t mMax;
  int32_t mDefault;
  bool mAutomatable;
};
