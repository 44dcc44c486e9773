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

#include <cstdint>

// GCC's AVX-512 headers fill unused lanes from a deliberately undefined
// value, which its own uninitialised-use warning then reports once inlined.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#pragma GCC diagnostic ignored "-Wuninitialized"
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

namespace {

// The radix-4 groups g0 .. g1 - 1 of the pass with partners s apart.
BRIMLOW_PAIRS_AVX512 void Radix4Groups(double* z, int s, int g0, int g1, const double* w, double sign) {
  for (int g = g0; g < g1; ++g) {
    const double w1r = g ? w[2 * g] : 1.0;
    const double w1i = g ? sign * w[2 * g + 1] : 0.0;
    const double w2r = w1r * w1r - w1i * w1i;
    const double w2i = 2.0 * w1r * w1i;
    const double w3r = -sign * w1i;
    const double w3i = sign * w1r;
    const __m512d v1r = _mm512_set1_pd(w1r), v1i = _mm512_set1_pd(w1i);
    const __m512d v2r = _mm512_set1_pd(w2r), v2i = _mm512_set1_pd(w2i);
    const __m512d v3r = _mm512_set1_pd(w3r), v3i = _mm512_set1_pd(w3i);
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

// Two doubles, each filling one half of a register.
BRIMLOW_PAIRS_AVX512 __m512d Halves(double low, double high) {
  return _mm512_insertf64x4(_mm512_set1_pd(low), _mm256_set1_pd(high), 1);
}

// The radix-2 stage's butterflies b0 .. b1 - 1 (b0 and b1 even), two at a
// time: butterfly b takes points 2b and 2b + 1.
BRIMLOW_PAIRS_AVX512 void Radix2Butterflies(double* z, int b0, int b1, const double* w, double sign) {
  for (int b = b0; b < b1; b += 2) {
    // Butterfly b (even) and b + 1 share the group's twiddle, the odd one
    // times i (or -i for the inverse), formed as the scalar stage forms them.
    const int g = b >> 1;
    const double tr = g ? w[2 * g] : 1.0;
    const double ti = g ? sign * w[2 * g + 1] : 0.0;
    const double oddR = -sign * ti;
    const double oddI = sign * tr;
    double* p = z + 4 * (2 * b);
    const __m512d z0 = _mm512_loadu_pd(p), z1 = _mm512_loadu_pd(p + 8);
    // (points 2b | 2b + 2) and (points 2b + 1 | 2b + 3).
    const __m512d lo = _mm512_shuffle_f64x2(z0, z1, 0x44), hi = _mm512_shuffle_f64x2(z0, z1, 0xEE);
    const __m512d sum = _mm512_add_pd(lo, hi);
    const __m512d product = Times(_mm512_sub_pd(lo, hi), Halves(tr, oddR), Halves(ti, oddI));
    _mm512_storeu_pd(p, _mm512_shuffle_f64x2(sum, product, 0x44));
    _mm512_storeu_pd(p + 8, _mm512_shuffle_f64x2(sum, product, 0xEE));
  }
}

// Transform of Transform<SampleLanes> for an odd log2 m (m >= 4): the
// radix-2 stage and the passes whose groups fit in a span of kSpan points
// run span by span while the span is in the first-level cache, the wider
// passes over all points after. Every butterfly sees the inputs and the
// twiddles it sees pass after pass.
BRIMLOW_PAIRS_AVX512 void TransformPairs(double* z, int m, const double* w, double sign) {
  constexpr int kSpan = 128;
  const int span = m < kSpan ? m : kSpan;
  for (int base = 0; base < m; base += span) {
    Radix2Butterflies(z, base / 2, (base + span) / 2, w, sign);
    for (int s = 2; 4 * s <= span; s <<= 2) Radix4Groups(z, s, base / (4 * s), (base + span) / (4 * s), w, sign);
  }
  int s = 2;
  while (4 * s <= span) s <<= 2;
  for (; s < m; s <<= 2) Radix4Groups(z, s, 0, m / (4 * s), w, sign);
}

// x (re, re, im, im per point) times (wr, wi) conjugated:
// (wr xr + wi xi, wr xi - wi xr).
BRIMLOW_PAIRS_AVX512 __m512d TimesConjugate(__m512d x, __m512d wr, __m512d wi) {
  const __m512d t1 = _mm512_mul_pd(wr, x), t2 = _mm512_mul_pd(wi, Swap(x));
  return _mm512_mask_sub_pd(_mm512_add_pd(t1, t2), 0xCC, t1, t2);
}

// (xr + yr, xi - yi) per point.
BRIMLOW_PAIRS_AVX512 __m512d AddRealSubImag(__m512d x, __m512d y) {
  return _mm512_mask_sub_pd(_mm512_add_pd(x, y), 0xCC, x, y);
}

// (xr - yr, xi + yi) per point.
BRIMLOW_PAIRS_AVX512 __m512d SubRealAddImag(__m512d x, __m512d y) {
  return _mm512_mask_sub_pd(_mm512_add_pd(x, y), 0x33, x, y);
}

// Points m - P and m - P - 1 in that order, from the register at point m - P - 1.
BRIMLOW_PAIRS_AVX512 __m512d LoadMirrored(const double* z, int point) {
  const __m512d v = _mm512_loadu_pd(z + 4 * point);
  return _mm512_shuffle_f64x2(v, v, 0x4E);
}
BRIMLOW_PAIRS_AVX512 void StoreMirrored(double* z, int point, __m512d v) {
  _mm512_storeu_pd(z + 4 * point, _mm512_shuffle_f64x2(v, v, 0x4E));
}

// ForwardUntangle's step of point P against its mirror m - P, lane by lane.
inline void ForwardUntangleOne(double* a, int m, int point, double wkr, double wki) {
  double* j = a + 4 * point;
  double* k = a + 4 * (m - point);
  for (int l = 0; l < 2; ++l) {
    const double xr = j[l] - k[l];
    const double xi = j[2 + l] + k[2 + l];
    const double yr = wkr * xr - wki * xi;
    const double yi = wkr * xi + wki * xr;
    j[l] -= yr;
    j[2 + l] -= yi;
    k[l] += yr;
    k[2 + l] -= yi;
  }
}

}  // namespace

__attribute__((target("avx512f"))) bool FilterPairAvx512(int n, double* first, double* second,
                                                          const double* spectrum, const double* w, const double* c,
                                                          int nc, int ks, const int32_t* bitReverse, double* work) {
  const int m = n >> 1;
  int log2m = 0;
  while ((1 << log2m) < m) ++log2m;
  if (m < 8 || (log2m & 1) == 0) return false;
  double* p = work;
  double* q = work + 2 * static_cast<size_t>(n);
  // The two sequences side by side, position i taking complex point rev(i).
  const __m512i order = _mm512_set_epi64(7, 5, 6, 4, 3, 1, 2, 0);
  for (int i = 0; i < m; i += 2) {
    const int j0 = bitReverse[i], j1 = bitReverse[i + 1];
    const __m256d a = _mm256_insertf128_pd(_mm256_castpd128_pd256(_mm_loadu_pd(first + 2 * j0)),
                                           _mm_loadu_pd(second + 2 * j0), 1);
    const __m256d b = _mm256_insertf128_pd(_mm256_castpd128_pd256(_mm_loadu_pd(first + 2 * j1)),
                                           _mm_loadu_pd(second + 2 * j1), 1);
    // (re A, im A, re B, im B) to (re A, re B, im A, im B).
    _mm512_storeu_pd(p + 4 * i, _mm512_permutexvar_pd(order, _mm512_insertf64x4(_mm512_castpd256_pd512(a), b, 1)));
  }
  TransformPairs(p, m, w, 1.0);

  // Forward untangling, then the product with the kernel, point by point.
  const int half = m >> 1;
  {
    // Point 0: (re + im, re - im) from its real and imaginary parts.
    for (int l = 0; l < 2; ++l) {
      const double x = p[l] - p[2 + l];
      p[l] += p[2 + l];
      p[2 + l] = x;
    }
    int point = 1;
    for (; point + 1 < half; point += 2) {
      const int kk0 = ks * point, kk1 = ks * (point + 1);
      const __m512d wkr = Halves(0.5 - c[nc - kk0], 0.5 - c[nc - kk1]);
      const __m512d wki = Halves(c[kk0], c[kk1]);
      const __m512d j = _mm512_loadu_pd(p + 4 * point);
      const __m512d k = LoadMirrored(p, m - point - 1);
      const __m512d y = Times(SubRealAddImag(j, k), wkr, wki);
      _mm512_storeu_pd(p + 4 * point, _mm512_sub_pd(j, y));
      StoreMirrored(p, m - point - 1, AddRealSubImag(k, y));
    }
    for (; point < half; ++point) {
      const int kk = ks * point;
      ForwardUntangleOne(p, m, point, 0.5 - c[nc - kk], c[kk]);
    }
  }
  // DC and Nyquist by their real factors, the others as complex products.
  for (int l = 0; l < 2; ++l) {
    p[l] *= spectrum[0];
    p[2 + l] *= spectrum[1];
  }
  {
    const __m512i re = _mm512_set_epi64(2, 2, 2, 2, 0, 0, 0, 0);
    const __m512i im = _mm512_set_epi64(3, 3, 3, 3, 1, 1, 1, 1);
    int point = 1;
    for (; point + 1 < m; point += 2) {
      const __m512d k = _mm512_castpd256_pd512(_mm256_loadu_pd(spectrum + 2 * point));
      _mm512_storeu_pd(p + 4 * point, Times(_mm512_loadu_pd(p + 4 * point), _mm512_permutexvar_pd(re, k),
                                            _mm512_permutexvar_pd(im, k)));
    }
    for (; point < m; ++point) {
      const double kr = spectrum[2 * point], ki = spectrum[2 * point + 1];
      for (int l = 0; l < 2; ++l) {
        const double ar = p[4 * point + l], ai = p[4 * point + 2 + l];
        p[4 * point + l] = ar * kr - ai * ki;
        p[4 * point + 2 + l] = ar * ki + ai * kr;
      }
    }
  }

  // Inverse untangling, each point written where the inverse's reordering
  // puts it.
  {
    for (int l = 0; l < 2; ++l) {
      const double a1 = 0.5 * (p[l] - p[2 + l]);
      const double a0 = p[l] - a1;
      q[4 * bitReverse[0] + l] = a0;
      q[4 * bitReverse[0] + 2 + l] = a1;
    }
    int point = 1;
    for (; point + 1 < half; point += 2) {
      const int kk0 = ks * point, kk1 = ks * (point + 1);
      const __m512d wkr = Halves(0.5 - c[nc - kk0], 0.5 - c[nc - kk1]);
      const __m512d wki = Halves(c[kk0], c[kk1]);
      const __m512d j = _mm512_loadu_pd(p + 4 * point);
      const __m512d k = LoadMirrored(p, m - point - 1);
      const __m512d y = TimesConjugate(SubRealAddImag(j, k), wkr, wki);
      const __m512d aj = _mm512_sub_pd(j, y), ak = AddRealSubImag(k, y);
      _mm256_storeu_pd(q + 4 * bitReverse[point], _mm512_castpd512_pd256(aj));
      _mm256_storeu_pd(q + 4 * bitReverse[point + 1], _mm512_extractf64x4_pd(aj, 1));
      _mm256_storeu_pd(q + 4 * bitReverse[m - point], _mm512_castpd512_pd256(ak));
      _mm256_storeu_pd(q + 4 * bitReverse[m - point - 1], _mm512_extractf64x4_pd(ak, 1));
    }
    for (; point < half; ++point) {
      const int kk = ks * point;
      const double wkr = 0.5 - c[nc - kk], wki = c[kk];
      const double* j = p + 4 * point;
      const double* k = p + 4 * (m - point);
      double* to = q + 4 * bitReverse[point];
      double* toMirror = q + 4 * bitReverse[m - point];
      for (int l = 0; l < 2; ++l) {
        const double xr = j[l] - k[l];
        const double xi = j[2 + l] + k[2 + l];
        const double yr = wkr * xr + wki * xi;
        const double yi = wkr * xi - wki * xr;
        const double aj = j[l] - yr, aj1 = j[2 + l] - yi, ak = k[l] + yr, ak1 = k[2 + l] - yi;
        to[l] = aj;
        to[2 + l] = aj1;
        toMirror[l] = ak;
        toMirror[2 + l] = ak1;
      }
    }
    // The middle point pairs with itself and is left as it is.
    _mm256_storeu_pd(q + 4 * bitReverse[half], _mm256_loadu_pd(p + 4 * half));
  }
  TransformPairs(q, m, w, -1.0);

  // Back to the two channels: (re A, re B, im A, im B) per point.
  const __m512i a = _mm512_set_epi64(14, 12, 10, 8, 6, 4, 2, 0);
  const __m512i b = _mm512_set_epi64(15, 13, 11, 9, 7, 5, 3, 1);
  for (int i = 0; i < m; i += 4) {
    const __m512d z0 = _mm512_loadu_pd(q + 4 * i), z1 = _mm512_loadu_pd(q + 4 * i + 8);
    _mm512_storeu_pd(first + 2 * i, _mm512_permutex2var_pd(z0, a, z1));
    _mm512_storeu_pd(second + 2 * i, _mm512_permutex2var_pd(z0, b, z1));
  }
  return true;
}

bool HasAvx512() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx512f");
}

}  // namespace RealFFTDetail

#else

namespace RealFFTDetail {
void Radix4PassPairsAvx512(double*, int, int, const double*, double) {}
bool FilterPairAvx512(int, double*, double*, const double*, const double*, const double*, int, int, const int32_t*,
                      double*) {
  return false;
}
bool HasAvx512() { return false; }
}  // namespace RealFFTDetail

#endif
