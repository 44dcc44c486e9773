#pragma once

#include "lice/DrawContext.h"

namespace platform {
class BitmapContext;
struct Color;
struct Font;
}  // namespace platform

// The records behind the layer's handles. Only the layer's own files see
// them; everyone else holds opaque pointers.

struct DrawContext {
  platform::BitmapContext* mContext;
  void* mPixelBlock;               // owned, null for contexts without pixels
  DrawObject* mSelected[3];        // slot per object type 1, 2, 3 (font)
  int mTextColor;                  // 0x00RRGGBB
  int mBkColor;
  int mBkMode;
  bool mPooled;                    // on the free list: every operation ignores it
  DrawContext* mNextFree;
  platform::Color* mTextCGColor;   // the text colour, opaque, in the display space
};

struct DrawObject {
  int mType;                       // kDrawObjectFont; others reserved
  int mExtraRefs;                  // a delete only decrements while positive
  float mOrientationDeg;
  bool mPooled;
  DrawObject* mNextFree;
  platform::Font* mFont;           // null when the face could not be made
  unsigned char mQuality;          // EFontQuality
};

// Non-null and not on a free list.
inline bool IsLiveContext(const DrawContext* ctx) { return ctx && !ctx->mPooled; }
inline bool IsLiveObject(const DrawObject* obj) {
  return obj && !obj->mPooled && obj->mType >= 1 && obj->mType <= 3;
}

namespace platform {
struct ColorSpace;
}
// The colour space of every context and colour, made on first use and kept.
platform::ColorSpace* GetDisplayColorSpace();

// The context's selected font object when it is live and has a font, else null.
DrawObject* SelectedFontObject(DrawContext* ctx);
// The font text is laid out with: the selected font's, else the default
// label font (10 pixels, made on first need); null when neither exists.
platform::Font* TextFont(DrawContext* ctx);
