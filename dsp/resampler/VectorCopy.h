#pragma once

#include <cstddef>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// Plain vector copies of samples between buffers that do not overlap. The C
// library copies a few kilobytes with a string instruction that some
// processors run many times slower than these loads and stores.
inline void CopyDoubles(double* to, const double* from, std::ptrdiff_t n) {
  std::ptrdiff_t i = 0;
#if defined(__SSE2__)
  for (; i + 4 <= n; i += 4) {
    const __m128d a = _mm_loadu_pd(from + i), b = _mm_loadu_pd(from + i + 2);
    _mm_storeu_pd(to + i, a);
    _mm_storeu_pd(to + i + 2, b);
  }
#endif
  for (; i < n; ++i) to[i] = from[i];
}

inline void CopyFloats(float* to, const float* from, std::ptrdiff_t n) {
  std::ptrdiff_t i = 0;
#if defined(__SSE2__)
  for (; i + 8 <= n; i += 8) {
    const __m128 a = _mm_loadu_ps(from + i), b = _mm_loadu_ps(from + i + 4);
    _mm_storeu_ps(to + i, a);
    _mm_storeu_ps(to + i + 4, b);
  }
#endif
  for (; i < n; ++i) to[i] = from[i];
}
