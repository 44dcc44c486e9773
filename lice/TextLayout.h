#pragma once

#include <string>
#include <vector>

#include "platform/coretext/TextLine.h"

// The two steps before text is placed: cleaning the caller's bytes and
// laying the result out in lines with their rounded sizes.

struct CleanedText {
  std::string text;
  bool multiLine = false;
};

// Up to 4095 bytes of the text (byteCount bytes, or to the NUL when
// negative): carriage returns dropped; line feeds kept (the text is then
// multi-line) or, with the single-line flag, made spaces; without the
// no-prefix flag an '&' is dropped and the byte after it taken as it is.
// A cut at the size limit never splits a UTF-8 character.
CleanedText CleanDrawText(const char* text, int byteCount, int flags);

// True for text a UTF-8 string can be made of (no overlong forms, no
// surrogates, nothing past U+10FFFF).
bool IsWellFormedUTF8(const std::string& text);

// Lines at the line feeds of a multi-line text (a final line feed opens no
// line), or the whole text as one line. Width = the widest line's width
// rounded, height = the sum of floor(a + d + l + 1.5) over the lines; both
// 0 when a line cannot be laid out.
class TextLayout {
 public:
  TextLayout(const CleanedText& text, platform::Font* font, const platform::Color* color);
  ~TextLayout();
  TextLayout(const TextLayout&) = delete;
  TextLayout& operator=(const TextLayout&) = delete;

  struct Line {
    platform::TextLine* line;
    platform::LineBounds bounds;
  };
  const std::vector<Line>& Lines() const { return mLines; }
  int Width() const { return mWidth; }
  int Height() const { return mHeight; }

 private:
  std::vector<Line> mLines;
  int mWidth = 0;
  int mHeight = 0;
};
