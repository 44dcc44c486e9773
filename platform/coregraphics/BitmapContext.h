#pragma once

#include <cstddef>
#include <vector>

// Stand-in for the Core Graphics memory bitmap context on Linux: a context
// draws into pixel memory its caller owns, four bytes per pixel (an ignored
// byte, then R, G, B), rows top to bottom, y growing downwards, so that no
// flip is needed. It offers what the text layer draws with: a clip that is
// saved and restored, rectangle fills and the anti-aliasing switch.
namespace platform {

// Colour spaces carry no data here: every context is device RGB.
struct ColorSpace;
ColorSpace* DeviceRGBColorSpace();

// Components 0..1; alpha 1 is opaque.
struct Color {
  double red, green, blue, alpha;
};
Color* CreateColor(ColorSpace* space, const double components[4]);
void ReleaseColor(Color* color);

// The only pixel format the context supports: no alpha, the first byte of
// each pixel skipped.
constexpr int kAlphaNoneSkipFirst = 6;

struct PixelRect {
  int left, top, right, bottom;  // right and bottom exclusive
  bool IsEmpty() const { return right <= left || bottom <= top; }
};

class BitmapContext {
 public:
  BitmapContext(unsigned char* pixels, int width, int height, size_t bytesPerRow);

  void SaveState();
  void RestoreState();
  // Narrows the clip to the part of the rectangle it already covers.
  void ClipToRect(double x, double y, double width, double height);
  void SetShouldAntialias(bool on) { mState.antialias = on; }
  bool ShouldAntialias() const { return mState.antialias; }
  const PixelRect& Clip() const { return mState.clip; }

  // Fills the pixels whose centres lie inside the rectangle and the clip.
  void FillRect(const Color& color, double x, double y, double width, double height);

  // Blends one colour channel set into pixel (x, y) with the coverage
  // 0..255 as weight, d + (c - d) * coverage / 255 on bytes 1-3; the first
  // byte is never written. Points outside the clip are ignored.
  void BlendPixel(int x, int y, const unsigned char rgb[3], int coverage);
  // BlendPixel for pixels (x, y) to (x + n - 1, y) with the coverages given,
  // clipped once for the whole run (a glyph's row).
  void BlendRow(int x, int y, const unsigned char* coverage, int n, const unsigned char rgb[3]);

  int Width() const { return mWidth; }
  int Height() const { return mHeight; }

 private:
  struct State {
    PixelRect clip;
    bool antialias;
  };
  PixelRect DeviceRect(double x, double y, double width, double height) const;

  unsigned char* mPixels;
  int mWidth;
  int mHeight;
  size_t mBytesPerRow;
  State mState;
  std::vector<State> mSaved;
};

// Null when the parameters describe anything but 8-bit X,R,G,B pixels of at
// least width * 4 bytes per row, or no pixels.
BitmapContext* CreateBitmapContext(void* pixels, int width, int height, int bitsPerComponent,
                                   size_t bytesPerRow, ColorSpace* space, int alphaInfo);
void ReleaseBitmapContext(BitmapContext* context);

// A colour component 0..1 as a byte, rounded to the nearest.
unsigned char ComponentByte(double component);

}  // namespace platform
