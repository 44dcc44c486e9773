#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

// The length of the well-formed UTF-8 sequence at s (n bytes there), its
// code point in *cp; 0 when it is not one. Strict: overlong forms,
// surrogates, values past U+10FFFF and cut-off sequences fail.
inline size_t UTF8SequenceAt(const unsigned char* s, size_t n, uint32_t* cp) {
  const unsigned b0 = s[0];
  size_t extra = 0;
  uint32_t value = 0;
  if (b0 < 0x80) {
    *cp = b0;
    return 1;
  }
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    extra = 1;
    value = b0 & 0x1F;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    extra = 2;
    value = b0 & 0x0F;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    extra = 3;
    value = b0 & 0x07;
  } else {
    return 0;
  }
  if (extra >= n) return 0;
  for (size_t k = 1; k <= extra; ++k) {
    const unsigned b = s[k];
    if ((b & 0xC0) != 0x80) return 0;
    value = (value << 6) | (b & 0x3F);
  }
  const uint32_t minimum[4] = {0, 0x80, 0x800, 0x10000};
  if (value < minimum[extra] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
  *cp = value;
  return extra + 1;
}

}  // namespace platform
