#include "platform/coretext/TestFont.h"

#include <algorithm>
#include <cmath>

namespace platform {

namespace {

bool IsPrintable(uint32_t c) { return c > 0x20 && c != 0x7F && !(c >= 0x80 && c < 0xA0); }

}  // namespace

TestFontGlyphs::TestFontGlyphs(double size) {
  const int n = std::max(2, size < 1e6 ? static_cast<int>(size) : 1000000);
  mAscent = 3 * n / 4;
  mDescent = n - mAscent;
  mAdvance = n / 2;
}

double TestFontGlyphs::Advance(uint32_t) { return mAdvance; }

bool TestFontGlyphs::Render(uint32_t codePoint, bool antialias, GlyphCoverage* out) {
  if (!IsPrintable(codePoint)) return false;
  out->left = 0;
  out->top = mAscent;
  out->width = std::max(1, mAdvance - 1);
  out->height = mAscent + mDescent;
  out->coverage.assign(static_cast<size_t>(out->width) * out->height, 255);
  out->coverage[0] = antialias ? kTestFontCornerCoverage : 0;
  return true;
}

}  // namespace platform
