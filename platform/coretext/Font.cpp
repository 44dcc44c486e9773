#include "platform/coretext/Font.h"

#include <atomic>
#include <memory>

#include "platform/coretext/FontMatch.h"
#include "platform/coretext/FreeTypeGlyphs.h"
#include "platform/coretext/TestFont.h"

namespace platform {

struct Font {
  double size;
  std::unique_ptr<GlyphSource> glyphs;
};

namespace {

std::atomic<bool> gTestFontEnabled{false};

Font* MakeFont(const FontMatch& match, double size) {
  if (!(size > 0.0)) return nullptr;
  if (gTestFontEnabled.load()) return new Font{size, std::make_unique<TestFontGlyphs>(size)};
  GlyphSource* glyphs = FreeTypeGlyphs::Load(match.file, match.index, size, match.postScriptName);
  return glyphs ? new Font{size, std::unique_ptr<GlyphSource>(glyphs)} : nullptr;
}

}  // namespace

GlyphSource* FontGlyphs(Font* font) { return font ? font->glyphs.get() : nullptr; }

std::string ResolveFontName(const char* faceName) {
  FontMatch match;
  return MatchFaceName(faceName, &match) ? match.postScriptName : std::string();
}

Font* CreateFontWithName(const char* name, double size) {
  if (gTestFontEnabled.load()) return MakeFont(FontMatch(), size);
  FontMatch match;
  if (!MatchPostScriptName(name, &match) && !MatchFaceName(name, &match)) return nullptr;
  return MakeFont(match, size);
}

Font* CreateDefaultFont(double size) { return CreateFontWithName("", size); }

void ReleaseFont(Font* font) { delete font; }

double FontSize(const Font* font) { return font ? font->size : 0.0; }
double FontAscent(const Font* font) { return font ? font->glyphs->Ascent() : 0.0; }
double FontDescent(const Font* font) { return font ? font->glyphs->Descent() : 0.0; }
double FontLeading(const Font* font) { return font ? font->glyphs->Leading() : 0.0; }
std::string FontPostScriptName(const Font* font) {
  return font ? font->glyphs->PostScriptName() : std::string();
}

void SetTestFontEnabled(bool enabled) { gTestFontEnabled.store(enabled); }
bool TestFontEnabled() { return gTestFontEnabled.load(); }

}  // namespace platform
