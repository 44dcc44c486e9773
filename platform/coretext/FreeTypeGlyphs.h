#pragma once

#include <unordered_map>

#include "platform/coretext/GlyphSource.h"

typedef struct FT_FaceRec_* FT_Face;

// A FreeType face at one pixel size. Metrics are whole pixels: the size's
// ascender and descender, and as leading what the line height leaves.
namespace platform {

class FreeTypeGlyphs : public GlyphSource {
 public:
  // Null when the file cannot be loaded at that size.
  static FreeTypeGlyphs* Load(const std::string& file, int index, double size,
                              const std::string& postScriptName);
  ~FreeTypeGlyphs() override;

  double Ascent() const override { return mAscent; }
  double Descent() const override { return mDescent; }
  double Leading() const override { return mLeading; }
  std::string PostScriptName() const override { return mPostScriptName; }
  double Advance(uint32_t codePoint) override;
  bool Render(uint32_t codePoint, bool antialias, GlyphCoverage* out) override;

 private:
  FreeTypeGlyphs(FT_Face face, const std::string& postScriptName);
  bool RenderUncached(uint32_t codePoint, bool antialias, GlyphCoverage* out);
  FreeTypeGlyphs(const FreeTypeGlyphs&) = delete;
  FreeTypeGlyphs& operator=(const FreeTypeGlyphs&) = delete;

  FT_Face mFace;
  std::string mPostScriptName;
  // Loading a glyph costs more than drawing it: each character's advance
  // and image (per anti-aliasing choice) is made once per font. Bounded,
  // should a text walk the whole of Unicode.
  std::unordered_map<uint32_t, double> mAdvances;
  std::unordered_map<uint64_t, GlyphCoverage> mImages;
  double mAscent = 0.0;
  double mDescent = 0.0;
  double mLeading = 0.0;
};

}  // namespace platform
