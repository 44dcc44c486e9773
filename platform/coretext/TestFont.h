#pragma once

#include "platform/coretext/GlyphSource.h"

// The deterministic test font. For a font of n whole pixels (n at least 2):
//   ascent  = 3 * n / 4 (truncated), descent = n - ascent, leading = 0,
//   advance = n / 2 (truncated) for every character.
// Every printable character (above the space, except DEL and the C1
// controls) is a box max(1, advance - 1) pixels wide from the pen, covering
// the rows from baseline - ascent to baseline + descent (exclusive). Its
// top-left pixel has coverage 96 so that anti-aliasing and orientation show;
// with anti-aliasing off that pixel is empty. Every other pixel is 255.
namespace platform {

constexpr int kTestFontCornerCoverage = 96;

class TestFontGlyphs : public GlyphSource {
 public:
  explicit TestFontGlyphs(double size);

  double Ascent() const override { return mAscent; }
  double Descent() const override { return mDescent; }
  double Leading() const override { return 0.0; }
  std::string PostScriptName() const override { return "BrimlowTestFont"; }
  double Advance(uint32_t codePoint) override;
  bool Render(uint32_t codePoint, bool antialias, GlyphCoverage* out) override;

 private:
  int mAscent;
  int mDescent;
  int mAdvance;
};

}  // namespace platform
