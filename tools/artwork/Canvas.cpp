#include "tools/artwork/Canvas.h"

#include <cmath>
#include <cstdint>
#include <map>
#include <tuple>
#include <vector>

#include "lice/DrawContext.h"
#include "lice/LICE_CachedFont.h"
#include "lice/lice.h"
#include "tools/AtomicFile.h"
#include "tools/PngWriter.h"

struct Canvas::FontSlot {
  std::map<std::tuple<int, bool, bool>, std::unique_ptr<LICE_CachedFont>> fonts;
};

Canvas::Canvas(int width, int height, int frames, LICE_pixel clear)
    : mWidth(width), mHeight(height), mFrames(frames), mBitmap(width * 2, height * 2 * frames, 1),
      mFonts(std::make_unique<FontSlot>()) {
  LICE_pixel* bits = mBitmap.getBits();
  const int count = mBitmap.getRowSpan() * mBitmap.getHeight();
  for (int i = 0; i < count; ++i) bits[i] = clear;
}

Canvas::~Canvas() = default;

void Canvas::Fill(double x, double y, double w, double h, LICE_pixel color, float alpha) {
  const int l = S(x), t = S(y) + mOriginY * 2, r = S(x + w), b = S(y + h) + mOriginY * 2;
  LICE_FillRect(&mBitmap, l, t, r - l, b - t, color, alpha, LICE_BLIT_MODE_COPY);
}

void Canvas::VerticalGradient(double x, double y, double w, double h, LICE_pixel top, LICE_pixel bottom) {
  const int t = S(y), b = S(y + h);
  for (int row = t; row < b; ++row) {
    const double f = b - t > 1 ? static_cast<double>(row - t) / (b - t - 1) : 0.0;
    const auto mix = [f](int a, int c) { return static_cast<int>(a + (c - a) * f + 0.5); };
    const LICE_pixel color = LICE_RGBA(mix(LICE_GETR(top), LICE_GETR(bottom)), mix(LICE_GETG(top), LICE_GETG(bottom)),
                                       mix(LICE_GETB(top), LICE_GETB(bottom)), mix(LICE_GETA(top), LICE_GETA(bottom)));
    LICE_FillRect(&mBitmap, S(x), row + mOriginY * 2, S(x + w) - S(x), 1, color, 1.0f, LICE_BLIT_MODE_COPY);
  }
}

void Canvas::RoundRect(double x, double y, double w, double h, double radius, LICE_pixel color, float alpha) {
  radius = std::min(radius, std::min(w, h) / 2.0);
  if (radius <= 0.0) {
    Fill(x, y, w, h, color, alpha);
    return;
  }
  // The corners are discs; the body two overlapping bars drawn as three
  // disjoint pieces, so a translucent fill shows no darker seams.
  const int R = S(radius);
  const int l = S(x), t = S(y) + mOriginY * 2, r = S(x + w), b = S(y + h) + mOriginY * 2;
  LICE_FillRect(&mBitmap, l, t + R, r - l, b - t - 2 * R, color, alpha, LICE_BLIT_MODE_COPY);
  // Top and bottom strips between the corners, and the corner quarters.
  for (int row = 0; row < R; ++row) {
    const double dy = R - row - 0.5;
    const double span = std::sqrt(std::max(0.0, static_cast<double>(R) * R - dy * dy));
    const double left = l + R - span, right = r - R + span;
    const int il = static_cast<int>(std::ceil(left)), ir = static_cast<int>(std::floor(right));
    for (int pass = 0; pass < 2; ++pass) {
      const int py = pass == 0 ? t + row : b - 1 - row;
      LICE_FillRect(&mBitmap, il, py, ir - il, 1, color, alpha, LICE_BLIT_MODE_COPY);
      // The partly covered pixels at each end.
      const float fl = static_cast<float>(il - left), fr = static_cast<float>(right - ir);
      if (fl > 0.0f) LICE_FillRect(&mBitmap, il - 1, py, 1, 1, color, alpha * fl, LICE_BLIT_MODE_COPY);
      if (fr > 0.0f) LICE_FillRect(&mBitmap, ir, py, 1, 1, color, alpha * fr, LICE_BLIT_MODE_COPY);
    }
  }
}

void Canvas::Panel(double x, double y, double w, double h, double radius, LICE_pixel fill, LICE_pixel border,
                   double borderWidth) {
  RoundRect(x, y, w, h, radius, border);
  RoundRect(x + borderWidth, y + borderWidth, w - 2 * borderWidth, h - 2 * borderWidth,
            std::max(0.0, radius - borderWidth), fill);
}

void Canvas::Disc(double cx, double cy, double r, LICE_pixel color, float alpha) {
  LICE_FillCircle(&mBitmap, static_cast<float>(cx * kScale), static_cast<float>((cy + mOriginY) * kScale),
                  static_cast<float>(r * kScale), color, alpha, LICE_BLIT_MODE_COPY, true);
}

void Canvas::Arc(double cx, double cy, double r, double from, double to, double width, LICE_pixel color) {
  if (to < from) std::swap(from, to);
  // Round dots half a picture pixel apart make a smooth stroke.
  const double step = 0.25 / std::max(r, 0.5);
  for (double a = from;; a += step) {
    if (a > to) a = to;
    Disc(cx + r * std::sin(a), cy - r * std::cos(a), width / 2.0, color);
    if (a >= to) break;
  }
}

void Canvas::Line(double x1, double y1, double x2, double y2, double width, LICE_pixel color, float alpha) {
  const double length = std::hypot(x2 - x1, y2 - y1);
  if (length <= 0.0) return;
  if (width <= 0.6) {
    LICE_DrawLineFloat(&mBitmap, static_cast<float>(x1 * kScale), static_cast<float>((y1 + mOriginY) * kScale),
                       static_cast<float>(x2 * kScale), static_cast<float>((y2 + mOriginY) * kScale), color, alpha,
                       LICE_BLIT_MODE_COPY, true);
    return;
  }
  const int n = std::max(2, static_cast<int>(length * kScale * 2));
  for (int i = 0; i <= n; ++i) {
    const double f = static_cast<double>(i) / n;
    Disc(x1 + (x2 - x1) * f, y1 + (y2 - y1) * f, width / 2.0, color, alpha);
  }
}

void Canvas::Triangle(double x1, double y1, double x2, double y2, double x3, double y3, LICE_pixel color) {
  const int o = mOriginY * 2;
  LICE_FillTriangle(&mBitmap, S(x1), S(y1) + o, S(x2), S(y2) + o, S(x3), S(y3) + o, color, 1.0f,
                    LICE_BLIT_MODE_COPY);
}

LICE_CachedFont* Canvas::Font(double size, bool bold, bool condensed) {
  const int height = std::max(2, S(size));
  auto key = std::make_tuple(height, bold, condensed);
  auto found = mFonts->fonts.find(key);
  if (found != mFonts->fonts.end()) return found->second.get();
  DrawObject* platformFont = CreateFont(height, 0, 0, 0, bold ? 700 : 400, 0, 0, 0, 0, 0, 0, kFontQualityAntialiased,
                                        0, condensed ? "DejaVu Sans Condensed" : "DejaVu Sans");
  auto font = std::make_unique<LICE_CachedFont>();
  font->SetFromPlatformFont(platformFont, kFontOwnsPlatformFont);
  LICE_CachedFont* raw = font.get();
  mFonts->fonts.emplace(key, std::move(font));
  return raw;
}

double Canvas::TextWidth(const std::string& text, double size, bool bold, bool condensed) {
  LICE_Rect rect{0, 0, 0, 0};
  Font(size, bold, condensed)->DrawText(nullptr, text.c_str(), -1, &rect, kDrawTextCalcRect | kDrawTextSingleLine);
  return (rect.right - rect.left) / kScale;
}

void Canvas::Text(double x, double y, double w, double h, const std::string& text, double size, bool bold,
                  LICE_pixel color, EAlign align, bool condensed) {
  LICE_CachedFont* font = Font(size, bold, condensed);
  font->SetTextColor(color);
  font->SetBkMode(0);
  LICE_Rect rect{S(x), S(y) + mOriginY * 2, S(x + w), S(y + h) + mOriginY * 2};
  unsigned int flags = kDrawTextVCenter | kDrawTextSingleLine | kDrawTextNoPrefix | kDrawTextGlyphPath;
  if (align == kCenter) flags |= kDrawTextCenter;
  if (align == kRight) flags |= kDrawTextRight;
  font->DrawText(&mBitmap, text.c_str(), -1, &rect, flags);
}

bool Canvas::WritePNG(const std::string& path) {
  const int width = mBitmap.getWidth(), height = mBitmap.getHeight();
  std::vector<uint8_t> rgba(static_cast<size_t>(width) * height * 4);
  const LICE_pixel* bits = mBitmap.getBits();
  uint8_t* out = rgba.data();
  for (int y = 0; y < height; ++y) {
    const LICE_pixel* line = bits + static_cast<size_t>(y) * mBitmap.getRowSpan();
    for (int x = 0; x < width; ++x, out += 4) {
      out[0] = static_cast<uint8_t>(LICE_GETR(line[x]));
      out[1] = static_cast<uint8_t>(LICE_GETG(line[x]));
      out[2] = static_cast<uint8_t>(LICE_GETB(line[x]));
      out[3] = static_cast<uint8_t>(LICE_GETA(line[x]));
    }
  }
  AtomicFile file;
  return file.Open(path.c_str()) &&
         WriteRGBAAsPNG(file.File(), rgba.data(), width, height, static_cast<size_t>(width) * 4, 9) &&
         file.Finish() && file.Commit();
}
