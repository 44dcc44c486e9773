#pragma once

#include <cstdint>
#include <string>

class CPlugInView;

// The process-wide table of names a view description may use: view kinds
// with their creators, layout keywords and string macros. Filled with the
// standard kinds before first use; the group adds its own kinds when it
// starts. Names are compared byte by byte.
typedef CPlugInView* (*ViewCreator)();

enum ViewNameCategory : uint16_t {
  kViewKeyword = 3,
  kViewClass = 4,
  kViewMacro = 5,
};

enum ViewKeyword : int32_t {
  kKeywordLeft = 0,
  kKeywordRight,
  kKeywordTop,
  kKeywordBottom,
  kKeywordCenter,
  kKeywordDefault,
  kKeywordReverse,
  kKeywordCyclical,
  kKeywordPlate,
  kKeywordNormal,
  kKeywordClicked,
  kKeywordDisabled,
  kKeywordInversePlate,
  kKeywordEditable,
  kKeywordHorizontal,
  kKeywordVertical,
  kKeywordRound,
  kKeywordSquare,
  kKeywordFrame,
  kKeywordGreen,
  kKeywordDarkGreen,
  kKeywordRed,
  kKeywordDarkRed,
  kKeywordBlue,
  kKeywordDarkBlue,
  kKeywordAmber,
  kKeywordDarkAmber,
  kKeywordASCII,
};

enum ViewMacro : int32_t { kMacroGetList = 0, kMacroGetString, kMacroShortVersion, kMacroLongVersion };

// A registry value: the keyword or macro number, or the creator of a kind.
typedef intptr_t ViewNameValue;

void RegisterViewClass(const std::string& name, ViewCreator creator);
void RegisterViewKeyword(const std::string& name, uint16_t category, ViewNameValue value);
// The 15 standard kinds, 28 keywords and 4 macros; runs before the first
// registration or look-up.
void RegisterStandardViews();
bool LookupViewName(const std::string& name, uint16_t* category, ViewNameValue* value);
