#include "rtas/library/CPluginControl.h"

#include <limits>

#include "rtas/library/SystemServices.h"

CPluginControl::CPluginControl(uint32_t id, const char* name)
    : mValue(std::numeric_limits<int32_t>::min()), mID(id), mName(name ? name : "") {}

void CPluginControl::SetDefaultValue(int32_t) {}

void CPluginControl::GetNameOfLength(char* buffer, int32_t maxLength, uint32_t) const {
  CopyLineThatFits(buffer, mName.c_str(), maxLength);
}
