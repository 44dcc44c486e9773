#pragma once

#include "lice/lice.h"

struct DrawObject;

// Text drawing into any bitmap with one platform font (a font object of the
// drawing-context layer). Colours are pixel words; mode is the blend-mode
// word. DrawText answers the height of the drawn or measured text (the
// width for vertical fonts), 0 when nothing could be done.
class LICE_IFont {
 public:
  virtual ~LICE_IFont() = default;

  virtual void SetFromPlatformFont(DrawObject* font, int fontFlags) = 0;
  virtual LICE_pixel SetTextColor(LICE_pixel color) = 0;
  virtual LICE_pixel SetBkColor(LICE_pixel color) = 0;
  virtual LICE_pixel SetEffectColor(LICE_pixel color) = 0;
  virtual int SetBkMode(int mode) = 0;
  virtual void SetCombineMode(int mode, float alpha) = 0;
  // bitmap may be null when measuring; byteCount negative: to the NUL.
  virtual int DrawText(LICE_IBitmap* bitmap, const char* text, int byteCount, LICE_Rect* rect,
                       unsigned int flags) = 0;
  virtual LICE_pixel GetTextColor() const = 0;
  virtual DrawObject* GetPlatformFont() const = 0;
  virtual int GetLineHeight() const = 0;
};

// Font flags (SetFromPlatformFont).
enum EFontFlags {
  kFontVertical = 0x1,
  kFontBottomUp = 0x2,         // with kFontVertical: text runs upwards
  kFontRenderAllAtOnce = 0x4,  // render 0-127 at once, never anything above
  kFontBlur = 0x10,
  kFontInvert = 0x20,
  kFontMonochrome = 0x40,
  kFontShadow = 0x80,
  kFontOutline = 0x100,        // ignored with the shadow
  kFontOwnsPlatformFont = 0x200,
  kFontPreferNative = 0x400    // draw through the platform where allowed
};

// Draw flags of DrawText: the drawing-context layer's text flags, plus these.
constexpr unsigned int kDrawTextUseColorAlpha = 0x40000000u;  // alpha times the colour's A / 255; glyphs
constexpr unsigned int kDrawTextGlyphPath = 0x80000000u;
