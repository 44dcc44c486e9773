#pragma once

#include <cstdint>

// One pixel: straight (not premultiplied) alpha, 8 bits a channel, stored in
// memory as the bytes A, R, G, B. Read as a little-endian word the colour is
// A + R * 2^8 + G * 2^16 + B * 2^24; the platform drawing context keeps its
// pixels in the same order, with the first byte unused.
typedef uint32_t LICE_pixel;

#define LICE_GETA(v) (static_cast<int>((v) & 0xff))
#define LICE_GETR(v) (static_cast<int>(((v) >> 8) & 0xff))
#define LICE_GETG(v) (static_cast<int>(((v) >> 16) & 0xff))
#define LICE_GETB(v) (static_cast<int>(((v) >> 24) & 0xff))
#define LICE_RGBA(r, g, b, a)                                                                 \
  (static_cast<LICE_pixel>((a) & 0xff) | (static_cast<LICE_pixel>((r) & 0xff) << 8) |         \
   (static_cast<LICE_pixel>((g) & 0xff) << 16) | (static_cast<LICE_pixel>((b) & 0xff) << 24))

// The blend-mode word every drawing call takes. The low byte is the blend
// mode; any value above 5 draws nothing.
enum {
  LICE_BLIT_MODE_COPY = 0,
  LICE_BLIT_MODE_ADD = 1,
  LICE_BLIT_MODE_DODGE = 2,
  LICE_BLIT_MODE_MUL = 3,
  LICE_BLIT_MODE_OVERLAY = 4,
  LICE_BLIT_MODE_HSVADJ = 5,
  LICE_BLIT_MODE_MASK = 0xff,
  // Bits 8-15: the scaled blit's filter; 0x100 is bilinear, anything else
  // nearest pixel. Every other operation ignores them.
  LICE_BLIT_FILTER_MASK = 0xff00,
  LICE_BLIT_FILTER_BILINEAR = 0x100,
  // The source pixel's (or the colour's) alpha byte scales the blend.
  LICE_BLIT_USE_ALPHA = 0x10000,
};
