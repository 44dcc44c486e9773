#include "rtas/library/CPluginControl_Discrete.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdlib>
#include <limits>
#include <string>

#include "rtas/library/ControlText.h"
#include "rtas/library/ControlValue.h"

CPluginControl_Discrete::CPluginControl_Discrete(uint32_t id, const char* name, int32_t min, int32_t max,
                                                 int32_t defaultValue, bool automatable)
    : CPluginControl(id, name), mMin(min), mMax(max), mDefault(defaultValue), mAutomatable(automatable) {
  SetValue(CPluginControl_Discrete::GetDefaultValue());
}

int32_t CPluginControl_Discrete::GetDefaultValue() const { return IntToControlValue(mDefault, mMin, mMax); }

void CPluginControl_Discrete::SetDefaultValue(int32_t value) { mDefault = ControlValueToInt(value, mMin, mMax); }

int32_t CPluginControl_Discrete::GetNumSteps() const {
  // The full 32-bit range has 2^32 steps, one more than a step count holds.
  const int64_t steps = static_cast<int64_t>(mMax) + 1 - mMin;
  return static_cast<int32_t>(std::clamp<int64_t>(steps, 0, std::numeric_limits<int32_t>::max()));
}

int32_t CPluginControl_Discrete::LeadingInteger(const char* text) {
  if (!text) return 0;
  const long long n = std::strtoll(text, nullptr, 10);
  return static_cast<int32_t>(
      std::clamp<long long>(n, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

int32_t CPluginControl_Discrete::ConvertStringToValue(const char* text) const { return IntToValue(LeadingInteger(text)); }

bool CPluginControl_Discrete::IsKeyAcceptable(unsigned char key) const {
  if (std::isdigit(key)) return true;
  switch (key) {
    case 8:    // backspace
    case 28:   // arrow keys
    case 29:
    case '+':
    case '-':
    case '.':
    case ':':
    case '|':
      return true;
    default:
      return false;
  }
}

void CPluginControl_Discrete::ConvertValueToString(char* buffer, int32_t maxLength, int32_t value) const {
  char digits[16];
  const std::to_chars_result r = std::to_chars(digits, digits + sizeof(digits), ControlValueToInt(value, mMin, mMax));
  std::string text(digits, r.ptr);
  if (static_cast<int32_t>(text.size()) > maxLength) text = "*";
  CopyTextCut(text, buffer, maxLength);
}

int32_t CPluginControl_Discrete::GetIntValue() const { return ControlValueToInt(GetValue(), mMin, mMax); }

int32_t CPluginControl_Discrete::IntToValue(int32_t n) const { return IntToControlValue(n, mMin, mMax); }
