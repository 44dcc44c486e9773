#include "platform/coretext/TextLine.h"

#include <cmath>
#include <cstdint>
#include <vector>

#include "platform/coretext/GlyphSource.h"

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
  int i = 0;
  while (i < n) {
    const unsigned b0 = s[i];
    int extra;
    uint32_t cp;
    if (b0 < 0x80) {
      extra = 0;
      cp = b0;
    } else if (b0 >= 0xC2 && b0 <= 0xDF) {
      extra = 1;
      cp = b0 & 0x1F;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
      extra = 2;
      cp = b0 & 0x0F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
      extra = 3;
      cp = b0 & 0x07;
    } else {
      return false;
    }
    if (i + extra >= n && extra > 0) return false;
    for (int k = 1; k <= extra; ++k) {
      const unsigned b = s[i + k];
      if ((b & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (b & 0x3F);
    }
    const uint32_t minimum[4] = {0, 0x80, 0x800, 0x10000};
    if (cp < minimum[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    out->push_back(cp);
    i += extra + 1;
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
        const unsigned char* row = glyph.coverage.data() + static_cast<size_t>(gy) * glyph.width;
        for (int gx = 0; gx < glyph.width; ++gx) {
          if (row[gx]) context->BlendPixel(left + gx, top + gy, line->rgb, row[gx]);
        }
      }
    }
    pen += line->advances[i];
  }
}

}  // namespace platform
