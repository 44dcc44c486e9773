#include <cmath>

#include "lice/DrawContext.h"
#include "lice/DrawRecords.h"
#include "lice/TextLayout.h"
#include "platform/coregraphics/BitmapContext.h"

namespace {

platform::Color OpaqueColor(int color) {
  return platform::Color{((color >> 16) & 255) / 255.0, ((color >> 8) & 255) / 255.0,
                         (color & 255) / 255.0, 1.0};
}

}  // namespace

int DrawTextCT(DrawContext* ctx, const char* text, int byteCount, DrawRect* rect, int flags) {
  if (!IsLiveContext(ctx) || !text || !rect) return 0;
  const CleanedText cleaned = CleanDrawText(text, byteCount, flags);
  if (cleaned.text.empty() || !IsWellFormedUTF8(cleaned.text)) return 0;
  platform::Font* font = TextFont(ctx);
  if (!font) return 0;

  const TextLayout layout(cleaned, font, ctx->mTextCGColor);
  const int w = layout.Width();
  const int height = layout.Height() != 0 ? layout.Height() + 1 : 0;

  if (flags & kDrawTextCalcRect) {
    rect->right = rect->left + w;
    rect->bottom = rect->top + height;
    return height;
  }
  // A context without pixels (none is made here) has nothing to draw into.
  platform::BitmapContext* cg = ctx->mContext;
  if (!cg) return height;

  int x = rect->left;
  if (flags & kDrawTextRight) {
    x = rect->right - w;
  } else if (flags & kDrawTextCenter) {
    // Rounded as the cached fonts' glyph path centres, so that opaque and
    // translucent text land on the same pixels.
    x = rect->left + (rect->right - rect->left - w) / 2;
  }
  double y = rect->top;
  if (flags & kDrawTextBottom) {
    y = rect->bottom - height;
  } else if (flags & kDrawTextVCenter) {
    y = rect->top + (rect->bottom - rect->top - height) / 2;
  }

  cg->SaveState();
  if (!(flags & kDrawTextNoClip)) {
    cg->ClipToRect(rect->left, rect->top, static_cast<double>(rect->right) - rect->left,
                   static_cast<double>(rect->bottom) - rect->top);
  }
  const bool fillBackground = ctx->mBkMode == 1;
  const platform::Color background = OpaqueColor(ctx->mBkColor);
  if (const DrawObject* obj = SelectedFontObject(ctx)) {
    if (obj->mQuality != kFontQualityDefault) {
      cg->SetShouldAntialias(obj->mQuality == kFontQualityAntialiased);
    }
  }

  const auto& lines = layout.Lines();
  if (!cleaned.multiLine && !lines.empty()) {
    const platform::LineBounds& b = lines[0].bounds;
    if (fillBackground) cg->FillRect(background, x, y, w, height);
    platform::DrawTextLine(cg, lines[0].line, x, y + b.ascent);
  } else {
    // Every line starts at the same x: the block is placed by its widest line.
    for (const TextLayout::Line& l : lines) {
      const platform::LineBounds& b = l.bounds;
      const double lineHeight = b.ascent + b.descent + b.leading;
      if (fillBackground) cg->FillRect(background, x, y, b.width, lineHeight);
      platform::DrawTextLine(cg, l.line, x, y + b.ascent);
      y += std::floor(lineHeight + 0.5);
    }
  }
  cg->RestoreState();
  return height;
}
