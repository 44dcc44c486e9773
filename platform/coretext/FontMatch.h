#pragma once

#include <string>

// fontconfig's answer for a face: the file to load and the face's names.
namespace platform {

struct FontMatch {
  std::string file;
  int index = 0;
  std::string postScriptName;
};

// "Family[ Bold][ Italic]": the suffixes, in that order, set the weight and
// slant; an empty family means "sans-serif". False when fontconfig finds
// nothing at all (it substitutes families that are not installed).
bool MatchFaceName(const char* faceName, FontMatch* out);
// Only an installed face whose PostScript name is exactly this one.
bool MatchPostScriptName(const char* postScriptName, FontMatch* out);

}  // namespace platform
