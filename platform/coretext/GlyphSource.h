#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What a font of the text stand-in draws with: whole-pixel metrics, glyph
// advances and one coverage image per glyph. FreeType faces and the test
// font both provide it.
namespace platform {

struct GlyphCoverage {
  int left = 0;    // first column, relative to the pen
  int top = 0;     // rows from the first row down to the baseline
  int width = 0;
  int height = 0;
  std::vector<unsigned char> coverage;  // width * height, 0 empty to 255 full
};

class GlyphSource {
 public:
  virtual ~GlyphSource() = default;
  virtual double Ascent() const = 0;
  virtual double Descent() const = 0;  // positive below the baseline
  virtual double Leading() const = 0;
  virtual std::string PostScriptName() const = 0;
  // Pixels the pen moves after the character.
  virtual double Advance(uint32_t codePoint) = 0;
  // False when the character has no image (a space); antialias off gives
  // coverage of only 0 and 255.
  virtual bool Render(uint32_t codePoint, bool antialias, GlyphCoverage* out) = 0;
};

struct Font;
GlyphSource* FontGlyphs(Font* font);

}  // namespace platform
