#include "platform/coretext/TextLine.h"

#include <cmath>
#include <cstdint>
#include <vector>

#include "platform/coretext/GlyphSource.h"
#include "platform/coretext/UTF8Sequence.h"

namespace platform {

struct TextLine {
  Font* font;
  unsigned char rgb[3];
  std::vector<uint32_t> codePoints;
  std::vector<double> advances;
  double width;
};

namespace {

// Strict decoding: overlong forms, surrogates and values past U+10FFFF fail.
bool DecodeUTF8(const unsigned char* s, int n, std::vector<uint32_t>* out) {
  for (int i = 0; i < n;) {
    uint32_t cp = 0;
    const size_t length = UTF8SequenceAt(s + i, static_cast<size_t>(n - i), &cp);
    if (length == 0) return false;
    out->push_back(cp);
    i += static_cast<int>(length);
  }
  return true;
}

}  // namespace

TextLine* CreateTextLine(const char* utf8, int byteCount, Font* font, const Color* color) {
  GlyphSource* glyphs = FontGlyphs(font);
  if (!glyphs || !utf8 || byteCount < 0) return nullptr;
  auto* line = new TextLine{font, {0, 0, 0}, {}, {}, 0.0};
  if (!DecodeUTF8(reinterpret_cast<const unsigned char*>(utf8), byteCount, &line->codePoints)) {
    delete line;
    return nullptr;
  }
  if (color) {
    line->rgb[0] = ComponentByte(color->red);
    line->rgb[1] = ComponentByte(color->green);
    line->rgb[2] = ComponentByte(color->blue);
  }
  for (uint32_t cp : line->codePoints) {
    line->advances.push_back(glyphs->Advance(cp));
    line->width += line->advances.back();
  }
  return line;
}

void ReleaseTextLine(TextLine* line) { delete line; }

LineBounds GetLineBounds(const TextLine* line) {
  if (!line) return LineBounds{0, 0, 0, 0};
  return LineBounds{line->width, FontAscent(line->font), FontDescent(line->font),
                    FontLeading(line->font)};
}

void DrawTextLine(BitmapContext* context, const TextLine* line, double x, double baselineY) {
  if (!context || !line) return;
  GlyphSource* glyphs = FontGlyphs(line->font);
  const int baseline = static_cast<int>(std::floor(baselineY + 0.5));
  double pen = x;
  GlyphCoverage glyph;
  for (size_t i = 0; i < line->codePoints.size(); ++i) {
    if (glyphs->Render(line->codePoints[i], context->ShouldAntialias(), &glyph)) {
      const int left = static_cast<int>(std::floor(pen + 0.5)) + glyph.left;
      const int top = baseline - glyph.top;
      for (int gy = 0; gy < glyph.height; ++gy) {
        context->BlendRow(left, top + gy, glyph.coverage.data() + static_cast<size_t>(gy) * glyph.width, glyph.width,
                          line->rgb);
      }
    }
    pen += line->advances[i];
  }
}

}  // namespace platform
