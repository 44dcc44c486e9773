#include "rtas/library/CPluginControl_OnOff.h"

#include "rtas/library/ControlText.h"
#include "rtas/library/ControlValue.h"

namespace {

constexpr size_t kMaxStateText = 254;

}  // namespace

CPluginControl_OnOff::CPluginControl_OnOff(uint32_t id, const char* name, int32_t defaultValue, bool automatable,
                                           const char* onText, const char* offText)
    : CPluginControl_Discrete(id, name, 0, 1, defaultValue, automatable) {
  const bool given = onText && offText;
  mOnText = std::string(given ? onText : "On").substr(0, kMaxStateText);
  mOffText = std::string(given ? offText : "Off").substr(0, kMaxStateText);
}

int32_t CPluginControl_OnOff::ConvertStringToValue(const char* text) const {
  if (!text) text = "";
  if (EqualIgnoringCase(mOnText.c_str(), text)) return IntToValue(1);
  if (EqualIgnoringCase(mOffText.c_str(), text)) return IntToValue(0);
  return IntToValue(LeadingInteger(text));
}

bool CPluginControl_OnOff::IsKeyAcceptable(unsigned char key) const {
  return key == 'n' || key == 'o' || key == 'O' || CPluginControl_Discrete::IsKeyAcceptable(key);
}

void CPluginControl_OnOff::ConvertValueToString(char* buffer, int32_t maxLength, int32_t value) const {
  const bool on = ControlValueToInt(value, 0, 1) != 0;
  if (maxLength >= 2) {
    CopyTextCut(on ? mOnText : mOffText, buffer, maxLength);
  } else {
    CopyTextCut(on ? "1" : "0", buffer, maxLength);
  }
}
