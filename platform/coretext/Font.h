#pragma once

#include <string>

// Stand-in for Core Text fonts on Linux: faces are found by fontconfig and
// drawn by FreeType. A face name may end in " Bold" and then " Italic",
// which ask for that weight and slant; a family that is not installed gets
// fontconfig's substitute, and the empty name its "sans-serif".
namespace platform {

struct Font;

// The PostScript name of the face fontconfig chooses for a face name, as a
// font manager answers it; empty when fontconfig answers nothing.
std::string ResolveFontName(const char* faceName);

// A font of the face with that PostScript name, else of the face the name
// resolves to as a face name; null when no face can be loaded. Size in
// pixels.
Font* CreateFontWithName(const char* name, double size);
// The system's label font: fontconfig's "sans-serif".
Font* CreateDefaultFont(double size);
void ReleaseFont(Font* font);

double FontSize(const Font* font);
double FontAscent(const Font* font);
double FontDescent(const Font* font);
double FontLeading(const Font* font);
std::string FontPostScriptName(const Font* font);

// Test hook: while on, every font created is the deterministic test font
// (see TestFont.h) whatever the name, so that pixel tests do not depend on
// the installed FreeType or fonts. Fonts keep the kind they were made with.
void SetTestFontEnabled(bool enabled);
bool TestFontEnabled();

}  // namespace platform
