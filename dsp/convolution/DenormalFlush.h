#pragma once

#include <cstdint>
#include <cstring>

// Denormal and overflow filter for samples entering a transform: |v| below
// 2^-54 (biased exponent at most 0x3C8) and infinities and NaN (exponent
// 0x7FF) become 0, so that neither slows the transforms down nor spreads
// over a whole partition.
inline double FlushSample(double v) {
  uint64_t bits;
  std::memcpy(&bits, &v, sizeof(bits));
  const unsigned exponent = static_cast<unsigned>(bits >> 52) & 0x7FF;
  return (exponent <= 0x3C8 || exponent == 0x7FF) ? 0.0 : v;
}
