#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What the dialog windows draw on: pixels of four bytes X, R, G, B (as a
// ScreenWindow keeps them), filled and outlined in whole pixels, with text
// set by the same Core Text stand-in (fontconfig's sans-serif through
// FreeType) that draws the editor's labels.
namespace platform {

struct Font;

struct Rgb {
  uint8_t r, g, b;
};

class DialogCanvas {
 public:
  DialogCanvas(int width, int height);
  ~DialogCanvas();
  DialogCanvas(const DialogCanvas&) = delete;
  DialogCanvas& operator=(const DialogCanvas&) = delete;

  int Width() const { return mWidth; }
  int Height() const { return mHeight; }
  const uint8_t* Pixels() const { return mPixels.data(); }

  // Drawing outside the rectangle is left out until the clip is cleared.
  void SetClip(int x, int y, int width, int height);
  void ClearClip() { SetClip(0, 0, mWidth, mHeight); }

  void Fill(int x, int y, int width, int height, Rgb colour);
  // A line of the given thickness inside the rectangle's edge.
  void Outline(int x, int y, int width, int height, Rgb colour, int thickness = 1);

  // Text in UTF-8 (bytes that are not become U+FFFD) on a baseline. With a
  // width limit, a longer text loses its end (or, eliding the start, its
  // beginning) to an ellipsis.
  void Text(int x, int baseline, const std::string& text, Rgb colour, bool bold = false, int maxWidth = -1,
            bool elideStart = false);
  int TextWidth(const std::string& text, bool bold = false);
  int Ascent() const { return mAscent; }
  int Descent() const { return mDescent; }
  // The text broken at spaces (and at line breaks) into lines no wider
  // than the width; a word wider than it is broken where it must be.
  std::vector<std::string> Wrap(const std::string& text, int width, bool bold = false);

 private:
  std::string Fitted(const std::string& text, bool bold, int maxWidth, bool elideStart);

  int mWidth, mHeight;
  int mClipLeft = 0, mClipTop = 0, mClipRight = 0, mClipBottom = 0;
  std::vector<uint8_t> mPixels;
  Font* mRegular = nullptr;
  Font* mBold = nullptr;
  int mAscent = 10, mDescent = 3;
};

// Well-formed UTF-8: each byte that does not belong becomes U+FFFD.
std::string ValidUtf8(const std::string& text);

}  // namespace platform
