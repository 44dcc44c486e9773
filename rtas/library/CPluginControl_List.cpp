#include "rtas/library/CPluginControl_List.h"

#include <cstring>

#include "rtas/library/ControlText.h"
#include "rtas/library/ControlValue.h"
#include "rtas/library/PString.h"

namespace {

int32_t LastIndex(size_t count) { return static_cast<int32_t>(count) - 1; }

}  // namespace

CPluginControl_List::CPluginControl_List(uint32_t id, const char* name, const std::vector<std::string>& itemTexts,
                                         int32_t defaultValue, bool automatable)
    : CPluginControl_Discrete(id, name, 0, LastIndex(itemTexts.size()), defaultValue, automatable),
      mItems(itemTexts) {}

int32_t CPluginControl_List::ConvertStringToValue(const char* text) const {
  if (!text) text = "";
  const size_t typed = std::min<size_t>(std::strlen(text), kPStringCapacity - 1);
  for (size_t i = 0; i < mItems.size(); ++i) {
    if (EqualIgnoringCase(NameFormThatFits(mItems[i], static_cast<int32_t>(typed)).c_str(), text)) {
      return IntToValue(static_cast<int32_t>(i));
    }
  }
  return CPluginControl_Discrete::ConvertStringToValue(text);
}

bool CPluginControl_List::IsKeyAcceptable(unsigned char key) const { return key != 30 && key != 31; }

void CPluginControl_List::ConvertValueToString(char* buffer, int32_t maxLength, int32_t value) const {
  const int32_t index = ControlValueToInt(value, GetMin(), GetMax());
  const bool valid = index >= 0 && static_cast<size_t>(index) < mItems.size();
  CopyTextCut(valid ? NameFormThatFits(mItems[index], maxLength) : std::string(), buffer, maxLength);
}
