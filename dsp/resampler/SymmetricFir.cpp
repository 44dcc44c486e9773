#include "dsp/resampler/SymmetricFir.h"

#include "dsp/convolution/CpuFeatures.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace {

// One output in the order every vector lane follows.
inline double OneOutput(const double* s, const double* taps, int32_t length, int32_t i) {
  const int32_t half = length / 2;
  double acc = 0.0;
  for (int32_t j = 0; j < half; ++j) acc += taps[j] * (s[i - j] + s[i - length + 1 + j]);
  if (length & 1) acc += taps[half] * s[i - half];
  return acc;
}

#if defined(__x86_64__)
__attribute__((target("avx512f"))) int32_t SymmetricFirAvx512(const double* s, const double* taps, int32_t length,
                                                               double* out, int32_t count, bool accumulate) {
  const int32_t half = length / 2;
  int32_t i = 0;
  for (; i + 16 <= count; i += 16) {
    __m512d a0 = _mm512_setzero_pd();
    __m512d a1 = _mm512_setzero_pd();
    for (int32_t j = 0; j < half; ++j) {
      const __m512d t = _mm512_set1_pd(taps[j]);
      const double* p = s + i - j;
      const double* q = s + i - length + 1 + j;
      a0 = _mm512_add_pd(a0, _mm512_mul_pd(t, _mm512_add_pd(_mm512_loadu_pd(p), _mm512_loadu_pd(q))));
      a1 = _mm512_add_pd(a1, _mm512_mul_pd(t, _mm512_add_pd(_mm512_loadu_pd(p + 8), _mm512_loadu_pd(q + 8))));
    }
    if (length & 1) {
      const __m512d t = _mm512_set1_pd(taps[half]);
      a0 = _mm512_add_pd(a0, _mm512_mul_pd(t, _mm512_loadu_pd(s + i - half)));
      a1 = _mm512_add_pd(a1, _mm512_mul_pd(t, _mm512_loadu_pd(s + i - half + 8)));
    }
    if (accumulate) {
      a0 = _mm512_add_pd(_mm512_loadu_pd(out + i), a0);
      a1 = _mm512_add_pd(_mm512_loadu_pd(out + i + 8), a1);
    }
    _mm512_storeu_pd(out + i, a0);
    _mm512_storeu_pd(out + i + 8, a1);
  }
  return i;
}

__attribute__((target("avx2"))) int32_t SymmetricFirAvx2(const double* s, const double* taps, int32_t length,
                                                          double* out, int32_t count, bool accumulate) {
  const int32_t half = length / 2;
  int32_t i = 0;
  // Four sums in flight hide the additions' latency; each output still sums
  // its products in the same order.
  for (; i + 16 <= count; i += 16) {
    __m256d a0 = _mm256_setzero_pd(), a1 = _mm256_setzero_pd();
    __m256d a2 = _mm256_setzero_pd(), a3 = _mm256_setzero_pd();
    for (int32_t j = 0; j < half; ++j) {
      const __m256d t = _mm256_set1_pd(taps[j]);
      const double* p = s + i - j;
      const double* q = s + i - length + 1 + j;
      a0 = _mm256_add_pd(a0, _mm256_mul_pd(t, _mm256_add_pd(_mm256_loadu_pd(p), _mm256_loadu_pd(q))));
      a1 = _mm256_add_pd(a1, _mm256_mul_pd(t, _mm256_add_pd(_mm256_loadu_pd(p + 4), _mm256_loadu_pd(q + 4))));
      a2 = _mm256_add_pd(a2, _mm256_mul_pd(t, _mm256_add_pd(_mm256_loadu_pd(p + 8), _mm256_loadu_pd(q + 8))));
      a3 = _mm256_add_pd(a3, _mm256_mul_pd(t, _mm256_add_pd(_mm256_loadu_pd(p + 12), _mm256_loadu_pd(q + 12))));
    }
    if (length & 1) {
      const __m256d t = _mm256_set1_pd(taps[half]);
      const double* m = s + i - half;
      a0 = _mm256_add_pd(a0, _mm256_mul_pd(t, _mm256_loadu_pd(m)));
      a1 = _mm256_add_pd(a1, _mm256_mul_pd(t, _mm256_loadu_pd(m + 4)));
      a2 = _mm256_add_pd(a2, _mm256_mul_pd(t, _mm256_loadu_pd(m + 8)));
      a3 = _mm256_add_pd(a3, _mm256_mul_pd(t, _mm256_loadu_pd(m + 12)));
    }
    if (accumulate) {
      a0 = _mm256_add_pd(_mm256_loadu_pd(out + i), a0);
      a1 = _mm256_add_pd(_mm256_loadu_pd(out + i + 4), a1);
      a2 = _mm256_add_pd(_mm256_loadu_pd(out + i + 8), a2);
      a3 = _mm256_add_pd(_mm256_loadu_pd(out + i + 12), a3);
    }
    _mm256_storeu_pd(out + i, a0);
    _mm256_storeu_pd(out + i + 4, a1);
    _mm256_storeu_pd(out + i + 8, a2);
    _mm256_storeu_pd(out + i + 12, a3);
  }
  for (; i + 8 <= count; i += 8) {
    __m256d a0 = _mm256_setzero_pd();
    __m256d a1 = _mm256_setzero_pd();
    for (int32_t j = 0; j < half; ++j) {
      const __m256d t = _mm256_set1_pd(taps[j]);
      const double* p = s + i - j;
      const double* q = s + i - length + 1 + j;
      a0 = _mm256_add_pd(a0, _mm256_mul_pd(t, _mm256_add_pd(_mm256_loadu_pd(p), _mm256_loadu_pd(q))));
      a1 = _mm256_add_pd(a1, _mm256_mul_pd(t, _mm256_add_pd(_mm256_loadu_pd(p + 4), _mm256_loadu_pd(q + 4))));
    }
    if (length & 1) {
      const __m256d t = _mm256_set1_pd(taps[half]);
      a0 = _mm256_add_pd(a0, _mm256_mul_pd(t, _mm256_loadu_pd(s + i - half)));
      a1 = _mm256_add_pd(a1, _mm256_mul_pd(t, _mm256_loadu_pd(s + i - half + 4)));
    }
    if (accumulate) {
      a0 = _mm256_add_pd(_mm256_loadu_pd(out + i), a0);
      a1 = _mm256_add_pd(_mm256_loadu_pd(out + i + 4), a1);
    }
    _mm256_storeu_pd(out + i, a0);
    _mm256_storeu_pd(out + i + 4, a1);
  }
  return i;
}
#endif

#if defined(__SSE2__)
int32_t SymmetricFirSse2(const double* s, const double* taps, int32_t length, double* out, int32_t count,
                         bool accumulate) {
  const int32_t half = length / 2;
  int32_t i = 0;
  for (; i + 4 <= count; i += 4) {
    __m128d a0 = _mm_setzero_pd();
    __m128d a1 = _mm_setzero_pd();
    for (int32_t j = 0; j < half; ++j) {
      const __m128d t = _mm_set1_pd(taps[j]);
      const double* p = s + i - j;
      const double* q = s + i - length + 1 + j;
      a0 = _mm_add_pd(a0, _mm_mul_pd(t, _mm_add_pd(_mm_loadu_pd(p), _mm_loadu_pd(q))));
      a1 = _mm_add_pd(a1, _mm_mul_pd(t, _mm_add_pd(_mm_loadu_pd(p + 2), _mm_loadu_pd(q + 2))));
    }
    if (length & 1) {
      const __m128d t = _mm_set1_pd(taps[half]);
      a0 = _mm_add_pd(a0, _mm_mul_pd(t, _mm_loadu_pd(s + i - half)));
      a1 = _mm_add_pd(a1, _mm_mul_pd(t, _mm_loadu_pd(s + i - half + 2)));
    }
    if (accumulate) {
      a0 = _mm_add_pd(_mm_loadu_pd(out + i), a0);
      a1 = _mm_add_pd(_mm_loadu_pd(out + i + 2), a1);
    }
    _mm_storeu_pd(out + i, a0);
    _mm_storeu_pd(out + i + 2, a1);
  }
  return i;
}
#endif

}  // namespace

void SymmetricFir(const double* s, const double* taps, int32_t length, double* out, int32_t count,
                  bool accumulate) {
  if (length <= 0 || count <= 0) return;
  int32_t i = 0;
#if defined(__x86_64__)
  static const bool kAvx512 = CpuFeatures::HasAvx512();
  static const bool kAvx2 = CpuFeatures::HasAvx2();
  if (kAvx512) {
    i = SymmetricFirAvx512(s, taps, length, out, count, accumulate);
  } else if (kAvx2) {
    i = SymmetricFirAvx2(s, taps, length, out, count, accumulate);
  }
#endif
#if defined(__SSE2__)
  i += SymmetricFirSse2(s + i, taps, length, out + i, count - i, accumulate);
#endif
  for (; i < count; ++i) {
    const double y = OneOutput(s, taps, length, i);
    out[i] = accumulate ? out[i] + y : y;
  }
}
