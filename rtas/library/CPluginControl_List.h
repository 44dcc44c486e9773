#pragma once

#include <string>
#include <vector>

#include "rtas/library/CPluginControl_Discrete.h"

// One of a list of item texts, item 0 to items - 1. An item may hold
// several newline-separated forms, longest first.
class CPluginControl_List : public CPluginControl_Discrete {
 public:
  CPluginControl_List(uint32_t id, const char* name, const std::vector<std::string>& itemTexts, int32_t defaultValue,
                      bool automatable);

  // The first item whose form for the typed text's length equals the text,
  // ignoring case; without a match the text is read as an item index.
  int32_t ConvertStringToValue(const char* text) const override;
  bool IsKeyAcceptable(unsigned char key) const override;
  // The item's form that fits; empty for a list without items.
  void ConvertValueToString(char* buffer, int32_t maxLength, int32_t value) const override;

  const std::vector<std::string>& GetItems() const { return mItems; }

 private:
  std::vector<std::string> mItems;
};
