#pragma once

#include <string>

#include "rtas/library/CPluginControl_Discrete.h"

// Two states, 0 (off) and 1 (on), with a text for each.
class CPluginControl_OnOff : public CPluginControl_Discrete {
 public:
  // When either text is missing both become "On" and "Off". Each keeps at
  // most 254 characters (the host library's 255-byte fields).
  CPluginControl_OnOff(uint32_t id, const char* name, int32_t defaultValue, bool automatable,
                       const char* onText = nullptr, const char* offText = nullptr);

  // The on or off text, ignoring case; any other text is read as the
  // integer it starts with ("1", "0"), so it still lands on a state.
  int32_t ConvertStringToValue(const char* text) const override;
  bool IsKeyAcceptable(unsigned char key) const override;
  // The state's text with room for two characters, else "1" or "0".
  void ConvertValueToString(char* buffer, int32_t maxLength, int32_t value) const override;

  const std::string& GetOnText() const { return mOnText; }
  const std::string& GetOffText() const { return mOffText; }

 private:
  std::string mOnText;
  std::string mOffText;
};
