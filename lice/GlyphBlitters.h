#pragma once

#include "lice/LICE_Pixel.h"

// Blending of a cached glyph's coverage into pixels, one loop per family and
// blend mode so that no inner loop asks either. Every blitter visits w x h
// pixels, skips coverage 0 and applies the mode's plain combiner with the
// source (r, g, b, 255):
// - normal: weight coverage + 1 at alpha 256, else min(256, coverage * alpha / 256);
// - monochrome: weight alpha;
// - effect: the text colour where coverage is 255, the effect colour
//   elsewhere, weight alpha.
// The copy blitters draw nothing at an alpha below 1.

struct GlyphColors {
  int r, g, b;     // text
  int er, eg, eb;  // effect (outline, shadow)
};

enum EGlyphFamily { kGlyphNormal = 0, kGlyphMonochrome = 1, kGlyphEffect = 2 };

typedef void (*GlyphBlitter)(const unsigned char* coverage, LICE_pixel* dest, int coverageSpan,
                             int destSpan, int w, int h, const GlyphColors& colors, int alpha);

// Null for a mode above 5.
GlyphBlitter GetGlyphBlitter(EGlyphFamily family, int mode);
