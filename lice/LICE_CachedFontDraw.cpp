#include <algorithm>

#include "lice/DecodeUTF8Char.h"
#include "lice/DrawContext.h"
#include "lice/GlyphBlitters.h"
#include "lice/LICE_CachedFont.h"
#include "lice/LICE_SysBitmap.h"

namespace {

constexpr int kAlignmentFlags = kDrawTextVCenter | kDrawTextCenter | kDrawTextBottom | kDrawTextRight;
// Font flags that only the glyph path can honour.
constexpr int kGlyphOnlyFontFlags = kFontVertical | kFontBottomUp | kFontRenderAllAtOnce | kFontBlur |
                                    kFontInvert | kFontMonochrome | kFontShadow | kFontOutline;
constexpr int kNativeLineHeight = 256;

// The drawing-context layer's 0x00RRGGBB from a pixel word (bytes A, R, G, B).
int ContextColor(LICE_pixel p) {
  return static_cast<int>((p >> 24) | ((p >> 8) & 0xFF00) | ((p << 8) & 0xFF0000));
}

}  // namespace

template <class OnGlyph, class OnLineFeed>
void LICE_CachedFont::WalkText(const char* text, int byteCount, int flags, OnGlyph glyph,
                               OnLineFeed lineFeed) {
  int remaining = byteCount;
  const char* p = text;
  while (*p && (byteCount < 0 || remaining > 0)) {
    int c = 0;
    const int n = DecodeUTF8Char(p, &c);
    p += n;
    if (remaining > 0) remaining = std::max(0, remaining - n);
    if (c == '\r') continue;
    if (c == '\n') {
      if (!(flags & kDrawTextSingleLine)) {
        lineFeed();
        continue;
      }
      c = ' ';
    }
    const GlyphEntry* entry = FindGlyph(c);
    if (!entry) {
      const int before = mExtendedChars.GetSize();
      RenderGlyph(c);
      if (mExtendedChars.GetSize() == before) continue;
      entry = FindGlyph(c);
    }
    if (entry->position < 0) continue;
    if (entry->position == 0) {
      RenderGlyph(c);
      entry = FindGlyph(c);
      if (entry->position <= 0) continue;
    }
    glyph(c, entry);
  }
}

bool LICE_CachedFont::UseNativePath(unsigned int flags) const {
  if (mLineHeight >= kNativeLineHeight) return true;
  return (mFlags & kFontPreferNative) && !(mFlags & kGlyphOnlyFontFlags) && mFont &&
         !(flags & (kDrawTextGlyphPath | kDrawTextUseColorAlpha));
}

int LICE_CachedFont::DrawText(LICE_IBitmap* bitmap, const char* text, int byteCount, LICE_Rect* rect,
                              unsigned int flags) {
  if (!text || !rect) return 0;
  if (!bitmap && !(flags & kDrawTextCalcRect)) return 0;
  const int effective = static_cast<int>(flags & ~kDrawTextGlyphPath);
  if (UseNativePath(flags)) {
    if (bitmap && bitmap->getDC()) return DrawNativeInContext(bitmap->getDC(), text, byteCount, rect, effective);
    return DrawNativeViaScratch(bitmap, text, byteCount, rect, effective);
  }
  if (effective & kDrawTextCalcRect) return MeasureGlyphs(text, byteCount, rect, effective);
  return DrawGlyphs(bitmap, text, byteCount, rect, flags);
}

void LICE_CachedFont::SetContextColors(DrawContext* dc) const {
  SetDCTextColor(dc, ContextColor(mTextColor));
  SetDCBkMode(dc, mBkMode);
  if (mBkMode == 1) SetDCBkColor(dc, ContextColor(mBkColor));
}

// Alpha and combine mode play no part here: the platform paints opaquely.
int LICE_CachedFont::DrawNativeInContext(DrawContext* dc, const char* text, int byteCount, LICE_Rect* rect,
                                         int flags) {
  DrawObject* previous = SelectDrawObject(dc, mFont);
  DrawRect r{rect->left, rect->top, rect->right, rect->bottom};
  SetContextColors(dc);
  const int result = DrawTextCT(dc, text, byteCount, &r, flags | kDrawTextNoPrefix);
  if (flags & kDrawTextCalcRect) *rect = LICE_Rect{r.left, r.top, r.right, r.bottom};
  SelectDrawObject(dc, previous);
  return result;
}

int LICE_CachedFont::DrawNativeViaScratch(LICE_IBitmap* bitmap, const char* text, int byteCount,
                                          LICE_Rect* rect, int flags) {
  if (!sNativeScratch) sNativeScratch = new LICE_SysBitmap(0, 0);
  if (sNativeScratch->getWidth() < 4 || sNativeScratch->getHeight() < 4) sNativeScratch->resize(4, 4);
  DrawContext* dc = sNativeScratch->getDC();
  if (!dc) return 0;
  DrawObject* previous = SelectDrawObject(dc, mFont);

  DrawRect m{0, 0, 0, 0};
  const int measured = DrawTextCT(dc, text, byteCount, &m,
                                  (flags & ~(kDrawTextCalcRect | kAlignmentFlags | kDrawTextNoPrefix)) |
                                      kDrawTextCalcRect | kDrawTextNoPrefix);
  const int mw = m.right - m.left, mh = m.bottom - m.top;
  if (flags & kDrawTextCalcRect) {
    rect->right = rect->left + mw;
    rect->bottom = rect->top + mh;
  }
  if ((flags & kDrawTextCalcRect) || !bitmap) {
    SelectDrawObject(dc, previous);
    return measured;
  }

  int left = rect->left, top = rect->top;
  if (flags & kDrawTextRight) {
    left = rect->right - mw;
  } else if (flags & kDrawTextCenter) {
    left = (rect->left + rect->right - mw) / 2;
  }
  if (flags & kDrawTextBottom) {
    top = rect->bottom - mh;
  } else if (flags & kDrawTextVCenter) {
    top = (rect->top + rect->bottom - mh) / 2;
  }
  int right = std::min(left + mw, bitmap->getWidth());
  int bottom = std::min(top + mh, bitmap->getHeight());
  int minLeft = 0, minTop = 0;
  if (!(flags & kDrawTextNoClip)) {
    right = std::min(right, rect->right);
    bottom = std::min(bottom, rect->bottom);
    minLeft = std::max(rect->left, 0);
    minTop = std::max(rect->top, 0);
  }
  int offsetX = 0, offsetY = 0;
  if (left < minLeft) {
    offsetX = left - minLeft;
    left = minLeft;
  }
  if (top < minTop) {
    offsetY = top - minTop;
    top = minTop;
  }
  const int boxW = right - left, boxH = bottom - top;
  if (boxW <= 0 || boxH <= 0) {
    SelectDrawObject(dc, previous);
    return measured;
  }

  const int drawFlags = flags & ~(kAlignmentFlags | kDrawTextNoClip);
  if (boxW > sNativeScratch->getWidth() || boxH > sNativeScratch->getHeight()) {
    SelectDrawObject(dc, previous);
    sNativeScratch->resize(boxW, boxH);
    dc = sNativeScratch->getDC();
    if (!dc) return measured;
    previous = SelectDrawObject(dc, mFont);
  }
  const LICE_Rect box{left, top, right, bottom};
  LICE_BlitCore(sNativeScratch, bitmap, 0, 0, &box, 1.0f, LICE_BLIT_MODE_COPY);
  SetContextColors(dc);
  DrawRect r{offsetX, offsetY, boxW, boxH};
  const int result = DrawTextCT(dc, text, byteCount, &r, drawFlags | kDrawTextNoPrefix);
  LICE_Blit(bitmap, sNativeScratch, left, top, 0, 0, boxW, boxH, mAlpha, LICE_BLIT_MODE_COPY);
  SelectDrawObject(dc, previous);
  return result;
}

int LICE_CachedFont::MeasureGlyphs(const char* text, int byteCount, LICE_Rect* rect, int flags) {
  const bool vertical = (mFlags & kFontVertical) != 0;
  int x = 0, y = 0, extentW = 0, extentH = 0;
  WalkText(
      text, byteCount, flags,
      [&](int, const GlyphEntry* g) {
        if (vertical) {
          extentW = std::max(extentW, x + g->width);
          extentH = std::max({extentH, y + g->advance, y + g->height});
          y += g->advance;
        } else {
          extentW = std::max({extentW, x + g->advance, x + g->width});
          extentH = std::max(extentH, y + g->height);
          x += g->advance;
        }
      },
      [&] {
        if (vertical) {
          x += mLineHeight;
          y = 0;
        } else {
          y += mLineHeight;
          x = 0;
        }
      });
  rect->right = rect->left + extentW;
  rect->bottom = rect->top + extentH;
  return vertical ? extentW : extentH;
}

int LICE_CachedFont::DrawGlyphs(LICE_IBitmap* bitmap, const char* text, int byteCount, LICE_Rect* rect,
                                unsigned int flags) {
  const int effective = static_cast<int>(flags & ~kDrawTextGlyphPath);
  const float savedAlpha = mAlpha;
  if (flags & kDrawTextUseColorAlpha) mAlpha = static_cast<float>(mAlpha * (LICE_GETA(mTextColor) / 255.0));
  if (mAlpha == 0.0f) {
    mAlpha = savedAlpha;
    return 0;
  }
  const int v = mFlags & (kFontVertical | kFontBottomUp);
  const bool vertical = (v & kFontVertical) != 0;

  auto measure = [&](int* mw, int* mh) {
    LICE_Rect m{0, 0, 0, 0};
    DrawText(bitmap, text, byteCount, &m,
             kDrawTextCalcRect | (flags & kDrawTextGlyphPath) | (effective & kDrawTextSingleLine));
    *mw = m.right;
    *mh = m.bottom;
  };
  int startX = rect->left, startY = rect->top;
  if (effective & kAlignmentFlags) {
    int mw = 0, mh = 0;
    measure(&mw, &mh);
    if (effective & kDrawTextCenter) {
      startX = rect->left + (rect->right - rect->left - mw) / 2;
    } else if (effective & kDrawTextRight) {
      startX = rect->right - mw;
    }
    if (effective & kDrawTextVCenter) {
      startY = rect->top + (rect->bottom - rect->top - mh) / 2;
    } else if (effective & kDrawTextBottom) {
      startY = rect->bottom - mh;
    }
    if (v == 3) startY += mh;
  } else if (v == 3) {
    int mw = 0, mh = 0;
    measure(&mw, &mh);
    startY = rect->top + mh;
  }

  LICE_Rect clip{0, 0, bitmap->getWidth(), bitmap->getHeight()};
  if (!(effective & kDrawTextNoClip)) {
    clip = LICE_Rect{std::max(rect->left, 0), std::max(rect->top, 0), std::min(rect->right, clip.right),
                     std::min(rect->bottom, clip.bottom)};
  }
  if (clip.right <= clip.left || clip.bottom <= clip.top) {
    mAlpha = savedAlpha;
    return 0;
  }

  int x = startX, y = startY, drawnW = startX, drawnH = startY;
  WalkText(
      text, byteCount, effective,
      [&](int c, const GlyphEntry* g) {
        if (g->position - 1 >= mCoverage.GetSize()) return;
        const int gw = g->width, gh = g->height, advance = g->advance;
        if (v == 3) y -= gh;
        const bool drawn = DrawGlyph(bitmap, c, x, y, clip);
        if (vertical) {
          const int drawnRight = x + gw;
          y += v == 3 ? gh - advance : advance;
          if (drawn) drawnW = std::max(drawnW, drawnRight);
        } else {
          const int drawnBottom = y + gh;
          x += advance;
          if (drawn) drawnH = std::max(drawnH, drawnBottom);
        }
      },
      [&] {
        if (vertical) {
          x += mLineHeight;
          y = startY;
        } else {
          y += mLineHeight;
          x = startX;
        }
      });
  mAlpha = savedAlpha;
  return vertical ? drawnW - startX : drawnH - startY;
}

bool LICE_CachedFont::DrawGlyph(LICE_IBitmap* bitmap, int character, int x, int y, const LICE_Rect& clip) {
  const GlyphEntry* g = FindGlyph(character);
  const unsigned char* src = GlyphCoverage(g);
  if (!src) return false;
  if (clip.right <= x || clip.bottom <= y || x + g->width <= clip.left || y + g->height <= clip.top) {
    return false;
  }
  int left = x, top = y;
  if (left < clip.left) {
    src += clip.left - left;
    left = clip.left;
  }
  if (top < clip.top) {
    src += static_cast<ptrdiff_t>(clip.top - top) * g->width;
    top = clip.top;
  }
  const int w = std::min(x + g->width, clip.right) - left;
  const int h = std::min(y + g->height, clip.bottom) - top;
  if (w <= 0 || h <= 0) return false;
  LICE_pixel* bits = bitmap->getBits();
  if (!bits) return false;
  int span = bitmap->getRowSpan();
  LICE_pixel* dest = bits + static_cast<ptrdiff_t>(top) * span + left;
  if (bitmap->isFlipped()) {
    dest = bits + static_cast<ptrdiff_t>(bitmap->getHeight() - 1 - top) * span + left;
    span = -span;
  }

  if (mBkMode == 1) LICE_FillRect(bitmap, left, top, w, h, mBkColor, mAlpha, mCombineMode & ~LICE_BLIT_USE_ALPHA);

  const EGlyphFamily family = (mFlags & kFontMonochrome)                   ? kGlyphMonochrome
                              : (mFlags & (kFontShadow | kFontOutline)) ? kGlyphEffect
                                                                          : kGlyphNormal;
  const GlyphColors colors{LICE_GETR(mTextColor),   LICE_GETG(mTextColor),   LICE_GETB(mTextColor),
                           LICE_GETR(mEffectColor), LICE_GETG(mEffectColor), LICE_GETB(mEffectColor)};
  int alpha = static_cast<int>(static_cast<double>(mAlpha) * 256.0);
  if (family != kGlyphNormal) alpha = std::min(alpha, 256);
  const int mode = mCombineMode & LICE_BLIT_MODE_MASK;

  if (family != kGlyphNormal && mAlpha == 1.0f && mode == LICE_BLIT_MODE_COPY) {
    // Whole colour words: nothing to blend at full strength.
    for (int row = 0; row < h; ++row, src += g->width, dest += span) {
      for (int col = 0; col < w; ++col) {
        const int c = src[col];
        if (!c) continue;
        dest[col] = family == kGlyphEffect && c != 255 ? mEffectColor : mTextColor;
      }
    }
    return true;
  }
  const GlyphBlitter blit = GetGlyphBlitter(family, mode);
  if (alpha == 0 || !blit) return true;
  blit(src, dest, g->width, span, w, h, colors, alpha);
  return true;
}
