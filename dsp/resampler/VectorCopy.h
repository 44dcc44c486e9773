#pragma once

#include <cstddef>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// Plain vector copies of samples between buffers that do not overlap. The C
// library copies a few kilobytes with a string instruction that some
// processors run many times slower than these loads and stores.
inline void CopyVectorBytes(void* to, const void* from, std::size_t bytes) {
  auto* out = static_cast<unsigned char*>(to);
  const auto* in = static_cast<const unsigned char*>(from);
  std::size_t i = 0;
#if defined(__SSE2__)
  for (; i + 32 <= bytes; i += 32) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i + 16));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), a);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i + 16), b);
  }
#endif
  if (i < bytes) std::memcpy(out + i, in + i, bytes - i);
}

inline void CopyDoubles(double* to, const double* from, std::ptrdiff_t n) {
  if (n > 0) CopyVectorBytes(to, from, static_cast<std::size_t>(n) * sizeof(double));
}

inline void CopyFloats(float* to, const float* from, std::ptrdiff_t n) {
  if (n > 0) CopyVectorBytes(to, from, static_cast<std::size_t>(n) * sizeof(float));
}
