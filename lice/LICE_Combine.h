#pragma once

// The per-pixel arithmetic of every drawing operation, defined once here and
// expanded inline by each operation's loops (only the HSV adjust is a called
// function).
//
// A channel combiner has
//   static void Combine(LICE_pixel* dest, int r, int g, int b, int a, int alpha)
// with r, g, b, a the source channels 0..255 and alpha the integer alpha
// (256 is full strength). A per-pixel operation, which is what the loops are
// templates over, has
//   static void Apply(LICE_pixel* dest, LICE_pixel src, int alpha)
// the channel combiners get theirs from LICE_ChannelOp; the whole-word
// shortcuts work on the packed word and ignore alpha.
//
// All arithmetic is 32-bit integer. Divisions are C++ divisions, which
// truncate toward zero: several terms, (d - c) * (256 - alpha) above all,
// are negative, and an arithmetic shift would round them the other way.

#include "lice/LICE_Pixel.h"

// The mode-5 combiner as a function: adjusts the destination's hue,
// saturation and value by the source's r, g and b (128 is neutral) and sets
// its alpha byte to a.
void LICE_CombineHSVAdjust(LICE_pixel* dest, int r, int g, int b, int a, int alpha);

inline int LICE_Clamp255(int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); }

// A result stored into a channel keeps its low 8 bits.
inline LICE_pixel LICE_PackChannels(int r, int g, int b, int a) { return LICE_RGBA(r, g, b, a); }

template <class Combiner>
struct LICE_ChannelOp {
  static inline void Apply(LICE_pixel* dest, LICE_pixel src, int alpha) {
    Combiner::Combine(dest, LICE_GETR(src), LICE_GETG(src), LICE_GETB(src), LICE_GETA(src), alpha);
  }
};

// ---- Plain combiners: the same rule on all four channels, alpha included.

struct LICE_CopyCombiner : LICE_ChannelOp<LICE_CopyCombiner> {
  static inline int Channel(int d, int c, int alpha) { return c + ((d - c) * (256 - alpha)) / 256; }
  static inline void Combine(LICE_pixel* dest, int r, int g, int b, int a, int alpha) {
    const LICE_pixel d = *dest;
    *dest = LICE_PackChannels(Channel(LICE_GETR(d), r, alpha), Channel(LICE_GETG(d), g, alpha),
                              Channel(LICE_GETB(d), b, alpha), Channel(LICE_GETA(d), a, alpha));
  }
};

struct LICE_AddCombiner : LICE_ChannelOp<LICE_AddCombiner> {
  static inline int Channel(int d, int c, int alpha) { return LICE_Clamp255(d + (c * alpha) / 256); }
  static inline void Combine(LICE_pixel* dest, int r, int g, int b, int a, int alpha) {
    const LICE_pixel d = *dest;
    *dest = LICE_PackChannels(Channel(LICE_GETR(d), r, alpha), Channel(LICE_GETG(d), g, alpha),
                              Channel(LICE_GETB(d), b, alpha), Channel(LICE_GETA(d), a, alpha));
  }
};

struct LICE_DodgeCombiner : LICE_ChannelOp<LICE_DodgeCombiner> {
  static inline int Channel(int d, int c, int alpha) {
    const int k = 256 - (c * alpha) / 256;
    return LICE_Clamp255(k >= 2 ? (d * 256) / k : d * 256);
  }
  static inline void Combine(LICE_pixel* dest, int r, int g, int b, int a, int alpha) {
    const LICE_pixel d = *dest;
    *dest = LICE_PackChannels(Channel(LICE_GETR(d), r, alpha), Channel(LICE_GETG(d), g, alpha),
                              Channel(LICE_GETB(d), b, alpha), Channel(LICE_GETA(d), a, alpha));
  }
};

struct LICE_MultiplyCombiner : LICE_ChannelOp<LICE_MultiplyCombiner> {
  static inline int Channel(int d, int c, int alpha) { return (d * (c * alpha + (256 - alpha) * 256)) >> 16; }
  static inline void Combine(LICE_pixel* dest, int r, int g, int b, int a, int alpha) {
    const LICE_pixel d = *dest;
    *dest = LICE_PackChannels(Channel(LICE_GETR(d), r, alpha), Channel(LICE_GETG(d), g, alpha),
                              Channel(LICE_GETB(d), b, alpha), Channel(LICE_GETA(d), a, alpha));
  }
};

struct LICE_OverlayCombiner : LICE_ChannelOp<LICE_OverlayCombiner> {
  static inline int Channel(int d, int c, int alpha) {
    const int s = c * alpha + (256 - alpha) * 128;
    return LICE_Clamp255((d * (s + ((32768 - s) * d) / 256)) >> 15);
  }
  static inline void Combine(LICE_pixel* dest, int r, int g, int b, int a, int alpha) {
    const LICE_pixel d = *dest;
    *dest = LICE_PackChannels(Channel(LICE_GETR(d), r, alpha), Channel(LICE_GETG(d), g, alpha),
                              Channel(LICE_GETB(d), b, alpha), Channel(LICE_GETA(d), a, alpha));
  }
};

struct LICE_HSVCombiner : LICE_ChannelOp<LICE_HSVCombiner> {
  static inline void Combine(LICE_pixel* dest, int r, int g, int b, int a, int alpha) {
    LICE_CombineHSVAdjust(dest, r, g, b, a, alpha);
  }
};

// ---- Source-alpha combiners (blits): the source's alpha byte sa scales the
// blend to sc2 = ((sa + 1) * alpha) / 256.

inline int LICE_SourceAlphaScale(int sa, int alpha) { return ((sa + 1) * alpha) / 256; }

// Copy: colour channels blend by sc2; the alpha byte accumulates coverage.
struct LICE_CopySourceAlphaCombiner : LICE_ChannelOp<LICE_CopySourceAlphaCombiner> {
  static inline void Combine(LICE_pixel* dest, int r, int g, int b, int a, int alpha) {
    if (a == 0) return;
    const int sc2 = LICE_SourceAlphaScale(a, alpha);
    const int sc = 256 - sc2;
    const LICE_pixel d = *dest;
    const int da = LICE_GETA(d) + sc2;
    *dest = LICE_PackChannels(r + ((LICE_GETR(d) - r) * sc) / 256, g + ((LICE_GETG(d) - g) * sc) / 256,
                              b + ((LICE_GETB(d) - b) * sc) / 256, da < 255 ? da : 255);
  }
};

// Copy at integer alpha exactly 256: an opaque source pixel is stored as it
// is, a translucent one blends by its own alpha.
struct LICE_CopySourceAlpha256Combiner : LICE_ChannelOp<LICE_CopySourceAlpha256Combiner> {
  static inline void Combine(LICE_pixel* dest, int r, int g, int b, int a, int /*alpha*/) {
    if (a == 0) return;
    if (a == 255) {
      *dest = LICE_PackChannels(r, g, b, 255);
      return;
    }
    const LICE_pixel d = *dest;
    const int sc = 255 - a;
    const int da = LICE_GETA(d) + a;
    *dest = LICE_PackChannels(r + ((LICE_GETR(d) - r) * sc) / 256, g + ((LICE_GETG(d) - g) * sc) / 256,
                              b + ((LICE_GETB(d) - b) * sc) / 256, da < 255 ? da : 255);
  }
};

// Add, dodge and multiply leave the destination alone under a transparent
// source; overlay and HSV adjust (kSkipTransparent false) still blend, at
// the small alpha (1 * alpha) / 256.
template <class Plain, bool kSkipTransparent>
struct LICE_SourceAlphaCombiner : LICE_ChannelOp<LICE_SourceAlphaCombiner<Plain, kSkipTransparent>> {
  static inline void Combine(LICE_pixel* dest, int r, int g, int b, int a, int alpha) {
    if (kSkipTransparent && a == 0) return;
    Plain::Combine(dest, r, g, b, a, LICE_SourceAlphaScale(a, alpha));
  }
};

// ---- Whole-word shortcuts: each byte is shifted and masked separately, so
// results differ from the copy combiner by rounding.

struct LICE_StoreWord {
  static inline void Apply(LICE_pixel* dest, LICE_pixel src, int) { *dest = src; }
};

struct LICE_HalfWord {
  static inline void Apply(LICE_pixel* dest, LICE_pixel src, int) {
    *dest = ((*dest >> 1) & 0x7f7f7f7fu) + ((src >> 1) & 0x7f7f7f7fu);
  }
};

// A quarter of the source over three quarters of the destination.
struct LICE_QuarterWord {
  static inline void Apply(LICE_pixel* dest, LICE_pixel src, int) {
    const LICE_pixel d = *dest;
    *dest = ((d >> 2) & 0x3f3f3f3fu) + ((d >> 1) & 0x7f7f7f7fu) + ((src >> 2) & 0x3f3f3f3fu);
  }
};

// Three quarters of the source over a quarter of the destination.
struct LICE_ThreeQuarterWord {
  static inline void Apply(LICE_pixel* dest, LICE_pixel src, int) {
    *dest = ((*dest >> 2) & 0x3f3f3f3fu) + ((src >> 2) & 0x3f3f3f3fu) + ((src >> 1) & 0x7f7f7f7fu);
  }
};

// Each byte becomes (d + c) >> 1: the lines' and discs' copy at alpha 128,
// which rounds differently from the half shortcut (1 over 1 stays 1).
struct LICE_AverageBytes {
  static inline void Apply(LICE_pixel* dest, LICE_pixel src, int) {
    const LICE_pixel d = *dest;
    *dest = (d & src) + (((d ^ src) >> 1) & 0x7f7f7f7fu);
  }
};
