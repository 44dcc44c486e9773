#pragma once

#include "graphics/IColor.h"
#include "graphics/IRECT.h"
#include "graphics/IText.h"

class IPlugBase;
class ITextControlClick;

// What the editor layout builds its controls with beyond the controls'
// own constructors.
namespace EditorControls {

// The help menu's two web pages.
constexpr const char* kManualURL = "https://www.kestrelbay.com/brimlow/manual/";
constexpr const char* kVersionHistoryURL = "https://www.kestrelbay.com/brimlow/versions/";

// "#rrggbb" with the given alpha. The first character is skipped whatever
// it is; the hexadecimal digits after it are read up to the first other
// character (none read gives 0), so "#" is black and an empty or null text
// is black too.
IColor HexToIColor(const char* hex, int alpha);

// A meter's clickable readout. It draws one size smaller than the style it
// is given, at every GUI scale: the smaller size is the one it scales from.
ITextControlClick* NewTextControlClick(IPlugBase* plug, const IRECT& rect, const IText& text, const char* str,
                                       int tag);

}  // namespace EditorControls
