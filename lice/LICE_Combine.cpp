#include "lice/LICE_Combine.h"

#include <cstdint>

namespace {

// T[i] = floor(65536 / i) - 1: multiplying by it and shifting stands in for
// a division by i, a little low, which the conversions below rely on.
struct ReciprocalTable {
  uint16_t mValues[256];
  constexpr ReciprocalTable() : mValues() {
    for (int i = 1; i < 256; ++i) mValues[i] = static_cast<uint16_t>(65536 / i - 1);
  }
};
constexpr ReciprocalTable kReciprocal;

}  // namespace

// Hue runs 0..383 in six sectors of 64, saturation and value 0..255.
void LICE_CombineHSVAdjust(LICE_pixel* dest, int r, int g, int b, int a, int alpha) {
  const LICE_pixel d = *dest;
  const int dr = LICE_GETR(d);
  const int dg = LICE_GETG(d);
  const int db = LICE_GETB(d);

  int maxValue, base, n, delta;
  if (dr < dg) {
    if (dg > db) {
      maxValue = dg;
      base = 128;
      n = db - dr;
      delta = dg - (dr < db ? dr : db);
    } else {
      maxValue = db;
      base = 256;
      n = dr - dg;
      delta = db - (dr < dg ? dr : dg);
    }
  } else if (db >= dr) {
    maxValue = db;
    base = 256;
    n = dr - dg;
    delta = db - (dr < dg ? dr : dg);
  } else {
    maxValue = dr;
    n = dg - db;
    delta = dr - (dg < db ? dg : db);
    base = dg < db ? 383 : 0;  // 383, not 384: the wrap below keeps it in range
  }
  int h = base + ((kReciprocal.mValues[delta] + 1) * n) / 1024;
  int s = (kReciprocal.mValues[maxValue] * delta) / 256;
  int v = maxValue;

  h += ((r + r / 2 - 192) * alpha) / 256;
  if (h < 0) {
    h += 384;
  } else if (h > 383) {
    h -= 384;
  }
  s = LICE_Clamp255(s + ((g - 128) * alpha) / 128);
  v = LICE_Clamp255(v + ((b - 128) * alpha) / 128);

  const int p = ((256 - s) * v) / 256;
  auto q = [s, v](int t) { return (v * (16384 - t * s)) / 16384; };
  int nr, ng, nb;
  if (h < 64) {
    nr = v, ng = q(64 - h), nb = p;
  } else if (h < 128) {
    nr = q(h - 64), ng = v, nb = p;
  } else if (h < 192) {
    nr = p, ng = v, nb = q(192 - h);
  } else if (h < 256) {
    nr = p, ng = q(h - 192), nb = v;
  } else if (h < 320) {
    nr = q(320 - h), ng = p, nb = v;
  } else {
    nr = v, ng = p, nb = q(h - 320);
  }
  *dest = LICE_PackChannels(nr, ng, nb, a);
}
