#pragma once

#include <cstdint>

// A colour as alpha, red, green, blue, each 0..255.
struct IColor {
  int A = 255, R = 0, G = 0, B = 0;

  constexpr IColor() = default;
  constexpr IColor(int a, int r, int g, int b) : A(a), R(r), G(g), B(b) {}

  // The raster pixel: bytes in memory alpha, red, green, blue. Each channel
  // contributes only its low eight bits, so an out-of-range channel cannot
  // spill into its neighbour.
  constexpr uint32_t ToPixel() const {
    return (static_cast<uint32_t>(A) & 0xff) | (static_cast<uint32_t>(R) & 0xff) << 8 |
           (static_cast<uint32_t>(G) & 0xff) << 16 | (static_cast<uint32_t>(B) & 0xff) << 24;
  }

  constexpr bool operator==(const IColor& c) const { return A == c.A && R == c.R && G == c.G && B == c.B; }
  constexpr bool operator!=(const IColor& c) const { return !(*this == c); }
};

constexpr IColor kColorTransparent(0, 0, 0, 0);
constexpr IColor kColorBlack(255, 0, 0, 0);
constexpr IColor kColorGray(255, 127, 127, 127);
constexpr IColor kColorWhite(255, 255, 255, 255);
constexpr IColor kColorRed(255, 255, 0, 0);
constexpr IColor kColorGreen(255, 0, 255, 0);
constexpr IColor kColorBlue(255, 0, 0, 255);
constexpr IColor kColorYellow(255, 255, 255, 0);
constexpr IColor kColorOrange(255, 255, 127, 0);
