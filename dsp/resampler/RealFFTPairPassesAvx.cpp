// The radix-4 passes of the two-channel real FFT with two points in a
// 512-bit register: (re A, re B, im A, im B) of two neighbouring points.
// The twiddles of a group are the scalar code's, formed by the scalar
// code's formulas; a product with a twiddle forms, as the scalar code does,
// the two products of each part, then the difference for the real part and
// the sum for the imaginary one, lane by lane under a mask, so every double sees
// the same operations in the same order. No instruction set enabled here
// includes FMA.
#include "dsp/resampler/RealFFTPairPasses.h"

#if defined(__x86_64__) || defined(__i386__)

#include <immintrin.h>

// GCC's AVX-512 headers fill unused lanes from a deliberately undefined
// value, which its own uninitialised-use warning then reports once inlined.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

namespace RealFFTDetail {

namespace {

#define BRIMLOW_PAIRS_AVX512 __attribute__((target("avx512f"), always_inline)) inline

// (re, re, im, im) -> (im, im, re, re) in both points.
BRIMLOW_PAIRS_AVX512 __m512d Swap(__m512d v) { return _mm512_permutex_pd(v, 0x4E); }
// x times (wr, wi): (wr xr - wi xi, wr xi + wi xr): the sum everywhere,
// then the difference over it in the real parts' lanes.
BRIMLOW_PAIRS_AVX512 __m512d Times(__m512d x, __m512d wr, __m512d wi) {
  const __m512d t1 = _mm512_mul_pd(wr, x), t2 = _mm512_mul_pd(wi, Swap(x));
  return _mm512_mask_sub_pd(_mm512_add_pd(t1, t2), 0x33, t1, t2);
}

}  // namespace

__attribute__((target("avx512f"))) void Radix4PassPairsAvx512(double* z, int m, int s, const double* w,
                                                               double sign) {
  const int groups = m / (4 * s);
  for (int g = 0; g < groups; ++g) {
    const double w1r = g ? w[2 * g] : 1.0;
    const double w1i = g ? sign * w[2 * g + 1] : 0.0;
    const double w2r = w1r * w1r - w1i * w1i;
    const double w2i = 2.0 * w1r * w1i;
    // i w1 (or -i w1 for the inverse).
    const double w3r = -sign * w1i;
    const double w3i = sign * w1r;
    const __m512d v1r = _mm512_set1_pd(w1r), v1i = _mm512_set1_pd(w1i);
    const __m512d v2r = _mm512_set1_pd(w2r), v2i = _mm512_set1_pd(w2i);
    const __m512d v3r = _mm512_set1_pd(w3r), v3i = _mm512_set1_pd(w3i);
    // Four doubles a point.
    double* pa = z + 4 * (g * 4 * s);
    double* pb = pa + 4 * s;
    double* pc = pb + 4 * s;
    double* pd = pc + 4 * s;
    for (int c = 0; c < 4 * s; c += 8) {
      const __m512d a0 = _mm512_loadu_pd(pa + c), b0 = _mm512_loadu_pd(pb + c);
      const __m512d c0 = _mm512_loadu_pd(pc + c), d0 = _mm512_loadu_pd(pd + c);
      const __m512d a = _mm512_add_pd(a0, b0);
      const __m512d b = Times(_mm512_sub_pd(a0, b0), v1r, v1i);
      const __m512d cc = _mm512_add_pd(c0, d0);
      const __m512d d = Times(_mm512_sub_pd(c0, d0), v3r, v3i);
      _mm512_storeu_pd(pa + c, _mm512_add_pd(a, cc));
      _mm512_storeu_pd(pb + c, _mm512_add_pd(b, d));
      _mm512_storeu_pd(pc + c, Times(_mm512_sub_pd(a, cc), v2r, v2i));
      _mm512_storeu_pd(pd + c, Times(_mm512_sub_pd(b, d), v2r, v2i));
    }
  }
}

bool HasAvx512() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx512f");
}

}  // namespace RealFFTDetail

#else

namespace RealFFTDetail {
void Radix4PassPairsAvx512(double*, int, int, const double*, double) {}
bool HasAvx512() { return false; }
}  // namespace RealFFTDetail

#endif
