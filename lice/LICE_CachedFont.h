#pragma once

#include "framework/containers/WDL_HeapBuf.h"
#include "framework/containers/WDL_TypedBuf.h"
#include "lice/LICE_IFont.h"

class LICE_SysBitmap;

// A font that draws into any LICE bitmap in one of two ways:
// - natively: the platform text drawing paints the string, into the
//   bitmap's own drawing context or a scratch bitmap blitted back;
// - by glyphs: each character is rendered once, white on black, into a
//   shared scratch bitmap; its coverage is kept (optionally blurred,
//   inverted, monochrome, shadowed, outlined or turned for vertical text)
//   and blended into the target with the text colour, mode and alpha.
// Opaque text with kFontPreferNative and no effects takes the native path;
// translucent text (kDrawTextUseColorAlpha) always takes the glyph path.
//
// There is no lock: the scratch bitmaps and the instance count are shared by
// every font, so all text drawing and font creation and destruction must
// happen on one thread at a time.
class LICE_CachedFont : public LICE_IFont {
 public:
  LICE_CachedFont();
  ~LICE_CachedFont() override;
  LICE_CachedFont(const LICE_CachedFont&) = delete;
  LICE_CachedFont& operator=(const LICE_CachedFont&) = delete;

  void SetFromPlatformFont(DrawObject* font, int fontFlags) override;
  LICE_pixel SetTextColor(LICE_pixel color) override;
  LICE_pixel SetBkColor(LICE_pixel color) override;
  LICE_pixel SetEffectColor(LICE_pixel color) override;
  int SetBkMode(int mode) override;
  void SetCombineMode(int mode, float alpha) override;
  int DrawText(LICE_IBitmap* bitmap, const char* text, int byteCount, LICE_Rect* rect,
               unsigned int flags) override;
  LICE_pixel GetTextColor() const override { return mTextColor; }
  DrawObject* GetPlatformFont() const override { return mFont; }
  int GetLineHeight() const override { return mLineHeight; }

  // One cached character. position: 0 not rendered yet, -1 cannot be
  // rendered, n > 0 the image starts at byte n - 1 of the coverage store.
  struct GlyphEntry {
    int position;
    int width;
    int height;
    int advance;
    int character;  // the extended list's sort key; 0 in the direct table
  };

  // Characters below 128 always have their direct entry; others null unless cached.
  const GlyphEntry* FindGlyph(int character) const;
  // The coverage image of an entry with a positive position.
  const unsigned char* GlyphCoverage(const GlyphEntry* entry) const;
  // Renders one character and fills its entry; false only when nothing
  // could be attempted (a line height above 1023, or a character from 128
  // up under kFontRenderAllAtOnce).
  bool RenderGlyph(int character);

  // The process-wide scratch bitmaps, null until first needed and again
  // after the last font went.
  static LICE_SysBitmap* GlyphScratch() { return sGlyphScratch; }
  static LICE_SysBitmap* NativeScratch() { return sNativeScratch; }
  static int InstanceCount() { return sInstanceCount; }

 private:
  GlyphEntry* FindGlyphEntry(int character);
  bool DrawGlyph(LICE_IBitmap* bitmap, int character, int x, int y, const LICE_Rect& clip);
  bool UseNativePath(unsigned int flags) const;
  int DrawNativeInContext(DrawContext* dc, const char* text, int byteCount, LICE_Rect* rect, int flags);
  int DrawNativeViaScratch(LICE_IBitmap* bitmap, const char* text, int byteCount, LICE_Rect* rect,
                           int flags);
  int MeasureGlyphs(const char* text, int byteCount, LICE_Rect* rect, int flags);
  int DrawGlyphs(LICE_IBitmap* bitmap, const char* text, int byteCount, LICE_Rect* rect,
                 unsigned int flags);
  void SetContextColors(DrawContext* dc) const;
  // Calls glyph(character, entry) for each drawable character and
  // lineFeed() at each line break.
  template <class OnGlyph, class OnLineFeed>
  void WalkText(const char* text, int byteCount, int flags, OnGlyph glyph, OnLineFeed lineFeed);

  LICE_pixel mTextColor = 0;
  LICE_pixel mBkColor = 0xFFFFFFFF;
  LICE_pixel mEffectColor = 0xFFFFFFFF;
  int mBkMode = 0;
  int mCombineMode = 0;
  float mAlpha = 1.0f;
  int mFlags = 0;
  int mLineHeight = 0;
  GlyphEntry mLowChars[128] = {};
  WDL_TypedBuf<GlyphEntry> mExtendedChars{4096};
  WDL_HeapBuf mCoverage{65536};
  DrawObject* mFont = nullptr;

  static int sInstanceCount;
  static LICE_SysBitmap* sGlyphScratch;
  static LICE_SysBitmap* sNativeScratch;
};
