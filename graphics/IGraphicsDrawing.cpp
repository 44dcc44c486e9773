#include <climits>
#include <cmath>

#include "graphics/IGraphics.h"
#include "lice/lice.h"

// The drawing calls controls make from their Draw: each turns the editor's
// types into the raster library's and paints into the surface. Only
// DrawBitmap clips to the draw area; the rest rely on the library's
// clipping to the surface and on Draw calling only controls that meet it.

namespace {

// Float coordinates truncate toward zero; a NaN or a value past int's
// range must not reach the cast.
int TruncToInt(float v) {
  if (std::isnan(v)) return 0;
  if (v >= 2147483520.0f) return INT_MAX;
  if (v <= -2147483648.0f) return INT_MIN;
  return static_cast<int>(v);
}

}  // namespace

bool IGraphics::DrawBitmap(IBitmap* bitmap, IRECT* dest, int srcX, int srcY, const IChannelBlend* blend) {
  if (!bitmap || !dest) return true;
  const IRECT r = dest->Intersection(mDrawRECT);
  if (r.Empty()) return true;
  // Clipping the left or top moves the source by the same amount, so the
  // visible part stays where the whole bitmap would have put it.
  LICE_Blit(mDrawBitmap, bitmap->mData, r.L, r.T, srcX + r.L - dest->L, srcY + r.T - dest->T, r.W(), r.H(),
            IChannelBlend::WeightOf(blend), IChannelBlend::ModeOf(blend));
  return true;
}

bool IGraphics::DrawBitmapFrame(IBitmap* bitmap, IRECT* dest, int frame, const IChannelBlend* blend) {
  if (!bitmap) return true;
  int srcX = 0;
  int srcY = 0;
  if (bitmap->mN >= 2 && frame >= 2) {
    const int size = bitmap->mFramesAreHorizontal ? bitmap->mW : bitmap->mH;
    const int offset = static_cast<int>(static_cast<double>(frame - 1) * size / bitmap->mN + 0.5);
    if (bitmap->mFramesAreHorizontal) {
      srcX = offset;
    } else {
      srcY = offset;
    }
  }
  return DrawBitmap(bitmap, dest, srcX, srcY, blend);
}

bool IGraphics::DrawLine(const IColor* color, float x1, float y1, float x2, float y2, const IChannelBlend* blend,
                         bool antiAlias) {
  if (!color) return true;
  LICE_DrawLine(mDrawBitmap, TruncToInt(x1), TruncToInt(y1), TruncToInt(x2), TruncToInt(y2), color->ToPixel(),
                IChannelBlend::WeightOf(blend), IChannelBlend::ModeOf(blend), antiAlias);
  return true;
}

bool IGraphics::DrawLineColorAlpha(const IColor* color, float x1, float y1, float x2, float y2,
                                   const IChannelBlend* blend, bool antiAlias) {
  if (!color) return true;
  LICE_DrawLine(mDrawBitmap, TruncToInt(x1), TruncToInt(y1), TruncToInt(x2), TruncToInt(y2), color->ToPixel(),
                static_cast<float>(color->A) / 255.0f, IChannelBlend::ModeOf(blend), antiAlias);
  return true;
}

bool IGraphics::DrawLineFloat(const IColor* color, float x1, float y1, float x2, float y2,
                              const IChannelBlend* blend, bool antiAlias) {
  if (!color) return true;
  LICE_DrawLineFloat(mDrawBitmap, x1, y1, x2, y2, color->ToPixel(), IChannelBlend::WeightOf(blend),
                     IChannelBlend::ModeOf(blend), antiAlias);
  return true;
}

bool IGraphics::FillIRect(const IColor* color, const IRECT* rect, const IChannelBlend* blend) {
  if (!color || !rect) return true;
  LICE_FillRect(mDrawBitmap, rect->L, rect->T, rect->W(), rect->H(), color->ToPixel(),
                IChannelBlend::WeightOf(blend), IChannelBlend::ModeOf(blend));
  return true;
}

bool IGraphics::FillRoundRect(const IColor* color, const IRECT* rect, const IChannelBlend* blend, int cornerRadius,
                              bool antiAlias) {
  if (!color || !rect) return true;
  const LICE_pixel pixel = color->ToPixel();
  const float alpha = IChannelBlend::WeightOf(blend);
  const int mode = IChannelBlend::ModeOf(blend);
  const int r = cornerRadius;
  const int w = rect->W();
  const int h = rect->H();
  // The middle column, then the two side strips between the corners, then
  // the four corner discs.
  LICE_FillRect(mDrawBitmap, rect->L + r, rect->T, w - 2 * r, h, pixel, alpha, mode);
  LICE_FillRect(mDrawBitmap, rect->L, rect->T + r, r, h - 2 * r, pixel, alpha, mode);
  LICE_FillRect(mDrawBitmap, rect->R - r, rect->T + r, r, h - 2 * r, pixel, alpha, mode);
  const float radius = static_cast<float>(r);
  const float left = static_cast<float>(rect->L + r);
  const float top = static_cast<float>(rect->T + r);
  const float right = static_cast<float>(rect->L + w - r - 1);
  const float bottom = static_cast<float>(rect->T + h - r - 1);
  LICE_FillCircle(mDrawBitmap, left, top, radius, pixel, alpha, mode, antiAlias);
  LICE_FillCircle(mDrawBitmap, right, bottom, radius, pixel, alpha, mode, antiAlias);
  LICE_FillCircle(mDrawBitmap, right, top, radius, pixel, alpha, mode, antiAlias);
  LICE_FillCircle(mDrawBitmap, left, bottom, radius, pixel, alpha, mode, antiAlias);
  return true;
}

bool IGraphics::FillCircle(const IColor* color, int cx, int cy, float radius, const IChannelBlend* blend,
                           bool antiAlias) {
  if (!color) return true;
  LICE_FillCircle(mDrawBitmap, static_cast<float>(cx), static_cast<float>(cy), radius, color->ToPixel(),
                  IChannelBlend::WeightOf(blend), IChannelBlend::ModeOf(blend), antiAlias);
  return true;
}

bool IGraphics::FillTriangle(const IColor* color, int x1, int y1, int x2, int y2, int x3, int y3,
                             const IChannelBlend* blend) {
  if (!color) return true;
  LICE_FillTriangle(mDrawBitmap, x1, y1, x2, y2, x3, y3, color->ToPixel(), IChannelBlend::WeightOf(blend),
                    IChannelBlend::ModeOf(blend));
  return true;
}
