#pragma once

#include "platform/coregraphics/BitmapContext.h"
#include "platform/coretext/Font.h"

// Stand-in for a Core Text line: one run of text in one font and colour,
// laid out left to right by the glyphs' advances, without kerning, wrapping
// or line breaks (callers split lines themselves).
namespace platform {

struct TextLine;

struct LineBounds {
  double width;  // sum of the advances
  double ascent;
  double descent;
  double leading;
};

// The text must be well-formed UTF-8 (byteCount bytes, no NUL needed).
// Colour null: black. Null when there is no font or the text is malformed.
TextLine* CreateTextLine(const char* utf8, int byteCount, Font* font, const Color* color);
void ReleaseTextLine(TextLine* line);
LineBounds GetLineBounds(const TextLine* line);
// Draws with the pen starting at x on the baseline, blending each glyph's
// coverage with the line's colour; honours the context's clip and
// anti-aliasing switch.
void DrawTextLine(BitmapContext* context, const TextLine* line, double x, double baselineY);

}  // namespace platform
