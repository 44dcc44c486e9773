#include <algorithm>
#include <climits>
#include <cstring>

#include "graphics/FontHeight.h"
#include "graphics/IGraphics.h"
#include "lice/DrawContext.h"
#include "lice/LICE_CachedFont.h"

// The font cache and the text calls.

namespace {

constexpr int kMinFontHeight = 2;
// Owned by the cached font, drawn natively where the platform can.
constexpr int kCachedFontFlags = kFontOwnsPlatformFont | kFontPreferNative;

char FontQuality(int quality) {
  if (quality == IText::kQualityDefault) return kFontQualityDefault;
  if (quality == IText::kQualityAntiAliased || quality == IText::kQualityClearType) return kFontQualityAntialiased;
  return kFontQualityNonAntialiased;
}

}  // namespace

int CorrectedFontHeight(int height, int lineHeight) {
  if (lineHeight <= 0 || lineHeight == height) return height;
  const double corrected = static_cast<double>(height) * height / lineHeight + 0.5;
  if (corrected >= INT_MAX) return INT_MAX;
  return std::max(kMinFontHeight, static_cast<int>(corrected));
}

LICE_IFont* IGraphics::CacheFont(IText* text) {
  if (!text) return nullptr;
  // Held from the look-up to the insertion: one font per key.
  WDL_MutexLock lock(mFonts.GetMutex());
  if (LICE_IFont* font = mFonts.Find(*text)) {
    text->mCached = font;
    return font;
  }

  char face[sizeof text->mFont];
  std::memcpy(face, text->mFont, sizeof face);
  face[sizeof face - 1] = '\0';
  const int tenths = text->mOrientation * 10;
  const int weight = text->mStyle == IText::kStyleBold ? 700 : 400;
  const char italic = text->mStyle == IText::kStyleItalic ? 1 : 0;
  const char quality = FontQuality(text->mQuality);
  const auto makePlatformFont = [&](int height) {
    return CreateFont(height, 0, tenths, tenths, weight, italic, 0, 0, 0, 0, 0, quality, 0, face);
  };

  const int height = std::max(kMinFontHeight, text->mSize);
  DrawObject* platformFont = makePlatformFont(height);
  if (!platformFont) return nullptr;
  LICE_CachedFont* font = new LICE_CachedFont;
  font->SetFromPlatformFont(platformFont, kCachedFontFlags);
  // One correction only, whatever line height it gives.
  const int corrected = CorrectedFontHeight(height, font->GetLineHeight());
  if (corrected != height) {
    if (DrawObject* second = makePlatformFont(corrected)) font->SetFromPlatformFont(second, kCachedFontFlags);
  }
  LICE_IFont* stored = mFonts.Add(font, *text);
  text->mCached = stored;
  return stored;
}

bool IGraphics::DrawIText(IText* text, const char* str, IRECT* rect, bool measure) {
  if (!str || !*str) return true;
  if (!text || !rect) return false;
  LICE_IFont* font = text->mCached ? text->mCached : CacheFont(text);
  if (!font) return false;
  font->SetTextColor(text->mColor.ToPixel());

  // The rectangle places the text; it does not clip it.
  unsigned int flags = kDrawTextNoClip;
  if (text->mAlign == IText::kAlignCenter) {
    flags |= kDrawTextCenter;
  } else if (text->mAlign != IText::kAlignNear) {
    flags |= kDrawTextRight;
  }
  if (text->mVAlign == IText::kVAlignMiddle) {
    flags |= kDrawTextVCenter;
  } else if (text->mVAlign == IText::kVAlignBottom) {
    flags |= kDrawTextBottom;
  }
  if (text->mColor.A < 255) flags |= kDrawTextUseColorAlpha;

  if (!measure) {
    if (mDrawing) {
      // The text lands somewhere between the rectangle's two edges on each
      // axis, as aligned; glyphs may reach a little past their extent.
      LICE_Rect extent{0, 0, 0, 0};
      font->DrawText(mDrawBitmap, str, -1, &extent, flags | kDrawTextCalcRect);
      const long long w = extent.right, h = extent.bottom;
      const long long pad = 4 + h;
      const auto span = [pad](long long lo, long long hi, long long size, bool low) {
        const long long a = std::min(lo, hi - size), b = std::max(lo, hi - size) + size;
        const long long v = low ? a - pad : b + pad;
        return static_cast<int>(std::clamp<long long>(v, INT_MIN / 2, INT_MAX / 2));
      };
      const IRECT reach(span(rect->L, rect->R, w, true), span(rect->T, rect->B, h, true),
                        span(rect->L, rect->R, w, false), span(rect->T, rect->B, h, false));
      if (!BeginReach(reach)) return true;
    }
    LICE_Rect r{rect->L, rect->T, rect->R, rect->B};
    font->DrawText(mDrawBitmap, str, -1, &r, flags);
    EndReach();
    return true;
  }
  LICE_Rect extent{0, 0, 0, 0};
  font->DrawText(mDrawBitmap, str, -1, &extent, flags | kDrawTextCalcRect);
  const int w = extent.right;
  const int h = extent.bottom;
  if (text->mAlign == IText::kAlignCenter) {
    rect->L = static_cast<int>((rect->L + rect->R) * 0.5) - w / 2;
    rect->R = rect->L + w;
  } else if (text->mAlign == IText::kAlignNear) {
    rect->R = rect->L + w;
  } else {
    rect->L = rect->R - w;
  }
  rect->B = rect->T + h;
  return true;
}

bool IGraphics::MeasureIText(IText* text, const char* str, IRECT* rect) { return DrawIText(text, str, rect, true); }
