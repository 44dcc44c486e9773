#pragma once

#include <memory>
#include <string>

#include "lice/LICE_MemBitmap.h"
#include "lice/LICE_Pixel.h"

class LICE_CachedFont;

// One image of the editor's artwork. Coordinates are editor pixels at
// 100 % and the picture is kept at twice that, as the editor loads it; a
// multi-frame image is a column of frames, each Frame(i) shifting the origin.
class Canvas {
 public:
  enum EAlign { kLeft, kCenter, kRight };

  // width and height of one frame at 100 %; clear is what is behind
  // everything not painted (its alpha usually 0).
  Canvas(int width, int height, int frames, LICE_pixel clear);
  ~Canvas();

  int Width() const { return mWidth; }
  int Height() const { return mHeight; }
  int Frames() const { return mFrames; }
  // Later drawing goes into frame i (0-based).
  void Frame(int i) { mOriginY = i * mHeight; }

  void Fill(double x, double y, double w, double h, LICE_pixel color, float alpha = 1.0f);
  void VerticalGradient(double x, double y, double w, double h, LICE_pixel top, LICE_pixel bottom);
  void RoundRect(double x, double y, double w, double h, double radius, LICE_pixel color, float alpha = 1.0f);
  // A rounded field with a border line of the given width.
  void Panel(double x, double y, double w, double h, double radius, LICE_pixel fill, LICE_pixel border,
             double borderWidth = 0.5);
  void Disc(double cx, double cy, double r, LICE_pixel color, float alpha = 1.0f);
  // A stroke of round ends; angles in radians, 0 up, growing clockwise.
  void Arc(double cx, double cy, double r, double from, double to, double width, LICE_pixel color);
  void Line(double x1, double y1, double x2, double y2, double width, LICE_pixel color, float alpha = 1.0f);
  void Triangle(double x1, double y1, double x2, double y2, double x3, double y3, LICE_pixel color);
  // size in 100 % pixels; the text is centred vertically in the box.
  void Text(double x, double y, double w, double h, const std::string& text, double size, bool bold,
            LICE_pixel color, EAlign align = kCenter, bool condensed = false);
  // The width the text would take, in 100 % pixels.
  double TextWidth(const std::string& text, double size, bool bold, bool condensed = false);

  // Writes the picture as an 8-bit RGBA PNG, whole or not at all (through a
  // temporary file beside it); false on any failure.
  bool WritePNG(const std::string& path);

 private:
  int S(double v) const { return static_cast<int>(v * kScale + 0.5); }
  LICE_CachedFont* Font(double size, bool bold, bool condensed);

  static constexpr double kScale = 2.0;
  int mWidth, mHeight, mFrames;
  int mOriginY = 0;
  LICE_MemBitmap mBitmap;
  struct FontSlot;
  std::unique_ptr<FontSlot> mFonts;
};

// 0xRRGGBB, opaque unless given.
inline LICE_pixel Rgb(unsigned rgb, int alpha = 255) {
  return LICE_RGBA((rgb >> 16) & 0xff, (rgb >> 8) & 0xff, rgb & 0xff, alpha);
}
