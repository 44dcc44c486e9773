#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "graphics/IGraphics.h"
#include "lice/lice.h"

// The drawing calls controls make from their Draw: each turns the editor's
// types into the raster library's and paints into the surface. During a
// Draw each changes only pixels of the draw area. Bitmaps and rectangle
// fills are cut to it, which leaves every pixel inside as it was. Lines,
// discs, triangles and text are drawn whole, as they would be without the
// area, since cutting their geometry would move the pixels they choose:
// one lying partly outside has the pixels outside it put back afterwards.

namespace {

// Float coordinates truncate toward zero; a NaN or a value past int's
// range must not reach the cast.
int TruncToInt(float v) {
  if (std::isnan(v)) return 0;
  if (v >= 2147483520.0f) return INT_MAX;
  if (v <= -2147483648.0f) return INT_MIN;
  return static_cast<int>(v);
}

// An edge in float pixels, floored, held a little beyond the surface so
// that no cast overflows (NaN goes to the low end).
int ReachEdge(double v, int limit) {
  if (!(v > -2.0)) return -2;
  if (v > limit + 2.0) return limit + 2;
  return static_cast<int>(std::floor(v));
}

// Every pixel a call between the two points can change: an antialiased
// pixel pair reaches one beyond the rounded-down coordinate, and one more
// on each side keeps the bound on the safe side.
IRECT ReachOf(double x1, double y1, double x2, double y2, int width, int height) {
  return IRECT(ReachEdge(std::min(x1, x2), width) - 1, ReachEdge(std::min(y1, y2), height) - 1,
               ReachEdge(std::max(x1, x2), width) + 3, ReachEdge(std::max(y1, y2), height) + 3);
}

// Held within half of int's range, so no edge arithmetic overflows; the
// reach is cut to the surface before use, so a held value is as good as
// the true one. Inline: lines come by the thousand a frame.
inline IRECT LineReach(int x1, int y1, int x2, int y2) {
  const auto lower = [](int v) { return std::max(v, INT_MIN / 2 + 1) - 1; };
  const auto upper = [](int v) { return std::min(v, INT_MAX / 2 - 2) + 2; };
  return IRECT(lower(std::min(x1, x2)), lower(std::min(y1, y2)), upper(std::max(x1, x2)), upper(std::max(y1, y2)));
}

// alpha / 255 for each alpha byte, the same quotients looked up instead of
// divided for every line.
float AlphaWeight(int alpha) {
  static const std::array<float, 256> weights = [] {
    std::array<float, 256> w{};
    for (int a = 0; a < 256; ++a) w[static_cast<size_t>(a)] = static_cast<float>(a) / 255.0f;
    return w;
  }();
  return alpha >= 0 && alpha <= 255 ? weights[static_cast<size_t>(alpha)] : static_cast<float>(alpha) / 255.0f;
}

}  // namespace

bool IGraphics::KeepAsideOutsideArea(const IRECT& reach) {
  if (!mDrawBitmap) return true;
  const IRECT surface(0, 0, mDrawBitmap->getWidth(), mDrawBitmap->getHeight());
  const IRECT r = reach.Intersection(surface);
  const IRECT& area = mDrawRECT;
  // Strict overlap: the area's right and bottom edges are outside it.
  if (r.Empty() || r.R <= area.L || r.L >= area.R || r.B <= area.T || r.T >= area.B) return false;
  if (r.L >= area.L && r.T >= area.T && r.R <= area.R && r.B <= area.B) return true;
  if (!mTmpBitmap) return false;
  mTmpBitmap->resize(r.W(), r.H());
  if (mTmpBitmap->getWidth() != r.W() || mTmpBitmap->getHeight() != r.H()) return false;
  LICE_Blit(mTmpBitmap, mDrawBitmap, 0, 0, r.L, r.T, r.W(), r.H(), 1.0f, LICE_BLIT_MODE_COPY);
  mSavedReach = r;
  return true;
}

void IGraphics::PutBackOutsideArea() {
  const IRECT r = mSavedReach;
  if (r.Empty()) return;
  mSavedReach = IRECT();
  const IRECT& a = mDrawRECT;
  // The bands above and below the area, then the parts left and right of
  // it between them.
  const int top = std::clamp(a.T, r.T, r.B);
  const int bottom = std::clamp(a.B, r.T, r.B);
  const auto restore = [&](int l, int t, int rr, int b) {
    if (rr > l && b > t) LICE_Blit(mDrawBitmap, mTmpBitmap, l, t, l - r.L, t - r.T, rr - l, b - t, 1.0f,
                                   LICE_BLIT_MODE_COPY);
  };
  restore(r.L, r.T, r.R, top);
  restore(r.L, bottom, r.R, r.B);
  restore(r.L, top, std::clamp(a.L, r.L, r.R), bottom);
  restore(std::clamp(a.R, r.L, r.R), top, r.R, bottom);
}

bool IGraphics::DrawBitmap(IBitmap* bitmap, IRECT* dest, int srcX, int srcY, const IChannelBlend* blend) {
  if (!bitmap || !dest) return true;
  Reach(*dest);
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
  const int ix1 = TruncToInt(x1), iy1 = TruncToInt(y1), ix2 = TruncToInt(x2), iy2 = TruncToInt(y2);
  if (!BeginReach(LineReach(ix1, iy1, ix2, iy2))) return true;
  LICE_DrawLine(mDrawBitmap, ix1, iy1, ix2, iy2, color->ToPixel(), IChannelBlend::WeightOf(blend),
                IChannelBlend::ModeOf(blend), antiAlias);
  EndReach();
  return true;
}

bool IGraphics::DrawLineColorAlpha(const IColor* color, float x1, float y1, float x2, float y2,
                                   const IChannelBlend* blend, bool antiAlias) {
  if (!color) return true;
  const int ix1 = TruncToInt(x1), iy1 = TruncToInt(y1), ix2 = TruncToInt(x2), iy2 = TruncToInt(y2);
  if (!BeginReach(LineReach(ix1, iy1, ix2, iy2))) return true;
  LICE_DrawLine(mDrawBitmap, ix1, iy1, ix2, iy2, color->ToPixel(), AlphaWeight(color->A),
                IChannelBlend::ModeOf(blend), antiAlias);
  EndReach();
  return true;
}

bool IGraphics::DrawLineFloat(const IColor* color, float x1, float y1, float x2, float y2,
                              const IChannelBlend* blend, bool antiAlias) {
  if (!color) return true;
  if (!BeginReach(ReachOf(x1, y1, x2, y2, mWidth, mHeight))) return true;
  LICE_DrawLineFloat(mDrawBitmap, x1, y1, x2, y2, color->ToPixel(), IChannelBlend::WeightOf(blend),
                     IChannelBlend::ModeOf(blend), antiAlias);
  EndReach();
  return true;
}

bool IGraphics::FillIRect(const IColor* color, const IRECT* rect, const IChannelBlend* blend) {
  if (!color || !rect) return true;
  // Each pixel of a fill is worked out alone: cutting it changes none.
  int l = rect->L, t = rect->T, r = rect->R, b = rect->B;
  Reach(*rect);
  if (mDrawing) {
    l = std::max(l, mDrawRECT.L);
    t = std::max(t, mDrawRECT.T);
    r = std::min(r, mDrawRECT.R);
    b = std::min(b, mDrawRECT.B);
    if (r <= l || b <= t) return true;
  }
  LICE_FillRect(mDrawBitmap, l, t, r - l, b - t, color->ToPixel(), IChannelBlend::WeightOf(blend),
                IChannelBlend::ModeOf(blend));
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
  const int margin = std::abs(r) + 2;
  if (!BeginReach(IRECT(rect->L - margin, rect->T - margin, rect->R + margin, rect->B + margin))) return true;
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
  EndReach();
  return true;
}

bool IGraphics::FillCircle(const IColor* color, int cx, int cy, float radius, const IChannelBlend* blend,
                           bool antiAlias) {
  if (!color) return true;
  const double rr = std::fabs(static_cast<double>(radius));
  if (!BeginReach(ReachOf(cx - rr, cy - rr, cx + rr, cy + rr, mWidth, mHeight))) return true;
  LICE_FillCircle(mDrawBitmap, static_cast<float>(cx), static_cast<float>(cy), radius, color->ToPixel(),
                  IChannelBlend::WeightOf(blend), IChannelBlend::ModeOf(blend), antiAlias);
  EndReach();
  return true;
}

bool IGraphics::FillTriangle(const IColor* color, int x1, int y1, int x2, int y2, int x3, int y3,
                             const IChannelBlend* blend) {
  if (!color) return true;
  if (!BeginReach(ReachOf(std::min({x1, x2, x3}), std::min({y1, y2, y3}), std::max({x1, x2, x3}),
                          std::max({y1, y2, y3}), mWidth, mHeight))) {
    return true;
  }
  LICE_FillTriangle(mDrawBitmap, x1, y1, x2, y2, x3, y3, color->ToPixel(), IChannelBlend::WeightOf(blend),
                    IChannelBlend::ModeOf(blend));
  EndReach();
  return true;
}
