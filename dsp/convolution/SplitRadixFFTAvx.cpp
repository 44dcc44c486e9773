// The split-radix passes with several butterflies per vector: four complex
// points per 512-bit register (AVX-512F). Only these functions are built for
// that instruction set, and the transforms call them only when the
// processor has it.
//
// A butterfly's complex arithmetic is written with whole points, (re, im)
// side by side: the products against the twiddles and their swapped
// partners are formed as in the scalar code, then the real parts take their
// difference and the imaginary parts their sum (or the other way round),
// lane by lane in one fused operation whose product is the second operand
// times 1 or -1: exact, so the one rounding is the plain addition's or
// subtraction's. No product of two data or twiddle values is ever fused
// into a sum, so every part of every point sees the scalar pass's
// operations in the scalar pass's order, rounded as they are.
#include "dsp/convolution/SplitRadixButterflies.h"

#if defined(__x86_64__) || defined(__i386__)

#include <immintrin.h>

// GCC's AVX-512 headers fill unused lanes from a deliberately undefined
// value, which its own uninitialised-use warning then reports once inlined.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#pragma GCC diagnostic ignored "-Wuninitialized"
#endif

namespace SplitRadixDetail {

namespace {

#define BRIMLOW_FFT_AVX512 __attribute__((target("avx512f"), always_inline)) inline

// Points per register, and the lane operations on whole points.
struct Avx512 {
  using V = __m512d;
  static constexpr int kPoints = 4;  // complex points per register
  static BRIMLOW_FFT_AVX512 V Load(const double* p) { return _mm512_loadu_pd(p); }
  static BRIMLOW_FFT_AVX512 void Store(double* p, V v) { _mm512_storeu_pd(p, v); }
  static BRIMLOW_FFT_AVX512 V Add(V a, V b) { return _mm512_add_pd(a, b); }
  static BRIMLOW_FFT_AVX512 V Sub(V a, V b) { return _mm512_sub_pd(a, b); }
  static BRIMLOW_FFT_AVX512 V Mul(V a, V b) { return _mm512_mul_pd(a, b); }
  // (xr - yr, xi + yi) and (xr + yr, xi - yi) in one operation: x times 1
  // is exact, so the fused forms round x - y and x + y once, as the plain
  // subtraction and addition do.
  static BRIMLOW_FFT_AVX512 V SubAdd(V x, V y) { return _mm512_fmaddsub_pd(x, _mm512_set1_pd(1.0), y); }
  static BRIMLOW_FFT_AVX512 V AddSub(V x, V y) { return _mm512_fmsubadd_pd(x, _mm512_set1_pd(1.0), y); }
  static BRIMLOW_FFT_AVX512 V Swap(V v) { return _mm512_permute_pd(v, 0x55); }
  static BRIMLOW_FFT_AVX512 V Cos(V t) { return _mm512_movedup_pd(t); }
  static BRIMLOW_FFT_AVX512 V Sin(V t) { return _mm512_permute_pd(t, 0xFF); }
  static BRIMLOW_FFT_AVX512 V Reverse(V t) {
    return _mm512_permutexvar_pd(_mm512_set_epi64(1, 0, 3, 2, 5, 4, 7, 6), t);
  }
};

// ForwardButterfly at points j .. j + kPoints - 1, twiddles (c, s) per point.
template <class A>
struct ForwardVec {
  using V = typename A::V;
  // The butterflies on points already in registers.
  static BRIMLOW_FFT_AVX512 void Regs(V& x0, V& x1, V& x2, V& x3, V c, V s) {
    const V d0 = A::Sub(x0, x2), d1 = A::Sub(x1, x3);
    x0 = A::Add(x0, x2);
    x1 = A::Add(x1, x3);
    const V d1s = A::Swap(d1);  // (d1i, d1r)
    const V a = A::SubAdd(d0, d1s);  // (d0r - d1i, d0i + d1r)
    const V b = A::AddSub(d0, d1s);  // (d0r + d1i, d0i - d1r)
    // (ar c - ai s, ar s + ai c)
    const V ac = A::Mul(a, c), as = A::Mul(A::Swap(a), s);
    x2 = A::SubAdd(ac, as);
    // (br c + bi s, bi c - br s)
    const V bc = A::Mul(b, c), bs = A::Mul(A::Swap(b), s);
    x3 = A::AddSub(bc, bs);
  }
  static BRIMLOW_FFT_AVX512 void Run(double* x, int j, int q, V c, V s) {
    double* p0 = x + 2 * j;
    double* p1 = p0 + 2 * q;
    double* p2 = p1 + 2 * q;
    double* p3 = p2 + 2 * q;
    V x0 = A::Load(p0), x1 = A::Load(p1), x2 = A::Load(p2), x3 = A::Load(p3);
    Regs(x0, x1, x2, x3, c, s);
    A::Store(p0, x0);
    A::Store(p1, x1);
    A::Store(p2, x2);
    A::Store(p3, x3);
  }
};

// InverseButterfly likewise.
template <class A>
struct InverseVec {
  using V = typename A::V;
  static BRIMLOW_FFT_AVX512 void Regs(V& x0, V& x1, V& x2, V& x3, V c, V s) {
    // (p2r c + p2i s, p2i c - p2r s)
    const V p2c = A::Mul(x2, c), p2s = A::Mul(A::Swap(x2), s);
    const V a = A::AddSub(p2c, p2s);
    // (p3r c - p3i s, p3r s + p3i c)
    const V p3c = A::Mul(x3, c), p3s = A::Mul(A::Swap(x3), s);
    const V b = A::SubAdd(p3c, p3s);
    const V sum = A::Add(a, b), diff = A::Sub(a, b);
    const V e0 = x0, e1 = x1;
    x0 = A::Add(e0, sum);
    x2 = A::Sub(e0, sum);
    const V ds = A::Swap(diff);  // (di, dr)
    x1 = A::AddSub(e1, ds);  // (e1r + di, e1i - dr)
    x3 = A::SubAdd(e1, ds);  // (e1r - di, e1i + dr)
  }
  static BRIMLOW_FFT_AVX512 void Run(double* x, int j, int q, V c, V s) {
    double* p0 = x + 2 * j;
    double* p1 = p0 + 2 * q;
    double* p2 = p1 + 2 * q;
    double* p3 = p2 + 2 * q;
    V x0 = A::Load(p0), x1 = A::Load(p1), x2 = A::Load(p2), x3 = A::Load(p3);
    Regs(x0, x1, x2, x3, c, s);
    A::Store(p0, x0);
    A::Store(p1, x1);
    A::Store(p2, x2);
    A::Store(p3, x3);
  }
};

// The twiddles of the points 0 .. 3 of a pass: (1, 0), then the table's
// entries 0 .. 2 moved up one point.
BRIMLOW_FFT_AVX512 __m512d FirstTwiddles(const double* table) {
  const __m512d entries = _mm512_maskz_loadu_pd(0x3F, table);
  return _mm512_mask_mov_pd(_mm512_permutexvar_pd(_mm512_set_epi64(5, 4, 3, 2, 1, 0, 0, 0), entries), 0x03,
                            _mm512_set_pd(0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 1.0));
}

// SmallPass and LargePass of the butterfly B, every butterfly in a vector
// (the quarter q is a multiple of kPoints from n = 16 on). The butterflies
// the scalar passes give fixed twiddles, (1, 0) at j = 0 and (sqrt 1/2,
// sqrt 1/2) at j = n / 8, take them in their lane, where the vector does
// what the scalar butterfly does with them. Butterflies of one pass touch
// disjoint points, so their order is free.
template <class A, class B>
BRIMLOW_FFT_AVX512 void Pass(double* x, int n, const double* table) {
  using V = typename A::V;
  constexpr int kPoints = A::kPoints;
  const int q = n / 4;
  const V first = FirstTwiddles(table);
  B::Run(x, 0, q, A::Cos(first), A::Sin(first));
  if (n < kFirstLargeSize) {
    // Entries j = 1 .. q - 1, so table + 2 (j - 1) holds the twiddles of
    // the points from j on.
    for (int j = kPoints; j < q; j += kPoints) {
      const V t = A::Load(table + 2 * (j - 1));
      B::Run(x, j, q, A::Cos(t), A::Sin(t));
    }
    return;
  }
  const int e = n / 8;
  for (int j = kPoints; j < e; j += kPoints) {
    const V t = A::Load(table + 2 * (j - 1));
    B::Run(x, j, q, A::Cos(t), A::Sin(t));
  }
  // The mirrored points q - j - kPoints + 1 .. q - j, in rising order,
  // take the twiddles of j + kPoints - 1 .. j with cosine and sine
  // exchanged; the last group reaches point e, whose entry j = e is not
  // in the table but (sqrt 1/2, sqrt 1/2).
  int j = 1;
  for (; j + kPoints <= e; j += kPoints) {
    const V r = A::Reverse(A::Load(table + 2 * (j - 1)));
    B::Run(x, q - j - (kPoints - 1), q, A::Sin(r), A::Cos(r));
  }
  const V last = _mm512_mask_mov_pd(_mm512_maskz_loadu_pd(0x3F, table + 2 * (j - 1)), 0xC0, _mm512_set1_pd(kSqrtHalf));
  const V r = A::Reverse(last);
  B::Run(x, q - j - (kPoints - 1), q, A::Sin(r), A::Cos(r));
}

// Lane indices and masks of the small transforms. A point is two lanes,
// (re, im); "sub" masks pick the lanes that take the difference.
BRIMLOW_FFT_AVX512 __m512d Points(__m512d v, int a, int b, int c, int d) {
  return _mm512_permutexvar_pd(_mm512_set_epi64(2 * d + 1, 2 * d, 2 * c + 1, 2 * c, 2 * b + 1, 2 * b, 2 * a + 1, 2 * a), v);
}
BRIMLOW_FFT_AVX512 __m512d AddOrSub(__m512d x, __m512d y, __mmask8 sub) {
  // x + y or x + (-y), that is x - y, in one rounding: y times -1 or 1 is exact.
  return _mm512_fmadd_pd(y, _mm512_mask_mov_pd(_mm512_set1_pd(1.0), sub, _mm512_set1_pd(-1.0)), x);
}

// Forward4 on the register's four points.
BRIMLOW_FFT_AVX512 __m512d Forward4Vec(__m512d x) {
  // (s0, s1, d0, d1) = (x0 + x2, x1 + x3, x0 - x2, x1 - x3).
  const __m512d sd = AddOrSub(Points(x, 0, 1, 0, 1), Points(x, 2, 3, 2, 3), 0xF0);
  // (s0 + s1, s0 - s1, (d0r - d1i, d0i + d1r), (d0r + d1i, d0i - d1r)).
  const __m512d k = Points(sd, 0, 0, 2, 2);
  const __m512d l = _mm512_permutexvar_pd(_mm512_set_epi64(6, 7, 6, 7, 3, 2, 3, 2), sd);
  return AddOrSub(k, l, 0x9C);
}

// Inverse4 likewise.
BRIMLOW_FFT_AVX512 __m512d Inverse4Vec(__m512d x) {
  // (e0, s, e1, d) = (x0 + x1, x2 + x3, x0 - x1, x2 - x3).
  const __m512d es = AddOrSub(Points(x, 0, 2, 0, 2), Points(x, 1, 3, 1, 3), 0xF0);
  // (e0 + s, (e1r + di, e1i - dr), e0 - s, (e1r - di, e1i + dr)).
  const __m512d k = Points(es, 0, 2, 0, 2);
  const __m512d l = _mm512_permutexvar_pd(_mm512_set_epi64(6, 7, 3, 2, 6, 7, 3, 2), es);
  return AddOrSub(k, l, 0x78);
}

// Butterfly2 on points (0, 1) and (2, 3).
BRIMLOW_FFT_AVX512 __m512d TwoButterflies2(__m512d x) {
  return AddOrSub(Points(x, 0, 0, 2, 2), Points(x, 1, 1, 3, 3), 0xCC);
}

// The twiddles of the two butterflies of 8 points, j = 0 and j = 1: (1, 0)
// and (sqrt 1/2, sqrt 1/2), per point of both halves.
BRIMLOW_FFT_AVX512 __m512d EightCos() {
  return _mm512_set_pd(kSqrtHalf, kSqrtHalf, 1.0, 1.0, kSqrtHalf, kSqrtHalf, 1.0, 1.0);
}
BRIMLOW_FFT_AVX512 __m512d EightSin() {
  return _mm512_set_pd(kSqrtHalf, kSqrtHalf, 0.0, 0.0, kSqrtHalf, kSqrtHalf, 0.0, 0.0);
}

// Forward8 on the points 0 .. 3 in lo and 4 .. 7 in hi.
BRIMLOW_FFT_AVX512 void Forward8Vec(__m512d& lo, __m512d& hi) {
  // ForwardButterfly at j = 0 and 1 with q = 2: p0, p1 the points 0 .. 3,
  // p2, p3 the points 4 .. 7.
  const __m512d d = _mm512_sub_pd(lo, hi);
  const __m512d sums = _mm512_add_pd(lo, hi);
  // (d0 | d0) against (swapped d1 | swapped d1): a = d0 + i d1 in the low
  // half, b = d0 - i d1 in the high one.
  const __m512d d0 = Points(d, 0, 1, 0, 1);
  const __m512d d1 = _mm512_permutexvar_pd(_mm512_set_epi64(6, 7, 4, 5, 6, 7, 4, 5), d);
  const __m512d ab = AddOrSub(d0, d1, 0xA5);
  // (ar c - ai s, ar s + ai c) and (br c + bi s, bi c - br s).
  const __m512d m1 = _mm512_mul_pd(ab, EightCos());
  const __m512d m2 = _mm512_mul_pd(_mm512_permute_pd(ab, 0x55), EightSin());
  hi = TwoButterflies2(AddOrSub(m1, m2, 0xA5));
  lo = Forward4Vec(sums);
}

// Inverse8 likewise.
BRIMLOW_FFT_AVX512 void Inverse8Vec(__m512d& lo, __m512d& hi) {
  const __m512d e = Inverse4Vec(lo);
  const __m512d p = TwoButterflies2(hi);
  // InverseButterfly at j = 0 and 1 with q = 2: a from p2 (low half), b
  // from p3 (high half): (p2r c + p2i s, p2i c - p2r s) and
  // (p3r c - p3i s, p3r s + p3i c).
  const __m512d m1 = _mm512_mul_pd(p, EightCos());
  const __m512d m2 = _mm512_mul_pd(_mm512_permute_pd(p, 0x55), EightSin());
  const __m512d ab = AddOrSub(m1, m2, 0x5A);
  // (a + b | a - b), then (sum | swapped difference).
  const __m512d sd = AddOrSub(Points(ab, 0, 1, 0, 1), Points(ab, 2, 3, 2, 3), 0xF0);
  const __m512d l = _mm512_mask_permute_pd(sd, 0xF0, sd, 0x55);
  // p0 = e0 + sum, p1 = (e1r + di, e1i - dr); p2 = e0 - sum,
  // p3 = (e1r - di, e1i + dr).
  lo = AddOrSub(e, l, 0xA0);
  hi = AddOrSub(e, l, 0x5F);
}

// The transforms of 16 points with all points in four registers: the pass
// (q = 4, one vector butterfly), then the two 4-point and the 8-point
// transforms of its outputs.
BRIMLOW_FFT_AVX512 void Forward16(double* x, const double* table) {
  using A = Avx512;
  __m512d z0 = A::Load(x), z1 = A::Load(x + 8), z2 = A::Load(x + 16), z3 = A::Load(x + 24);
  const __m512d t = FirstTwiddles(table);
  ForwardVec<A>::Regs(z0, z1, z2, z3, A::Cos(t), A::Sin(t));
  z3 = Forward4Vec(z3);
  z2 = Forward4Vec(z2);
  Forward8Vec(z0, z1);
  A::Store(x, z0);
  A::Store(x + 8, z1);
  A::Store(x + 16, z2);
  A::Store(x + 24, z3);
}

BRIMLOW_FFT_AVX512 void Inverse16(double* x, const double* table) {
  using A = Avx512;
  __m512d z0 = A::Load(x), z1 = A::Load(x + 8), z2 = A::Load(x + 16), z3 = A::Load(x + 24);
  Inverse8Vec(z0, z1);
  z2 = Inverse4Vec(z2);
  z3 = Inverse4Vec(z3);
  const __m512d t = FirstTwiddles(table);
  InverseVec<A>::Regs(z0, z1, z2, z3, A::Cos(t), A::Sin(t));
  A::Store(x, z0);
  A::Store(x + 8, z1);
  A::Store(x + 16, z2);
  A::Store(x + 24, z3);
}

// The recursions of SplitRadixFFT.cpp's Forward and Inverse (n >= 4), the
// small transforms inline.
__attribute__((target("avx512f"))) void ForwardRecursion(double* x, int n, int log2n, const double* const* tables) {
  switch (n) {
    case 4: _mm512_storeu_pd(x, Forward4Vec(_mm512_loadu_pd(x))); return;
    case 8: {
      __m512d lo = _mm512_loadu_pd(x), hi = _mm512_loadu_pd(x + 8);
      Forward8Vec(lo, hi);
      _mm512_storeu_pd(x, lo);
      _mm512_storeu_pd(x + 8, hi);
      return;
    }
    case 16: Forward16(x, tables[4]); return;
    default: break;
  }
  Pass<Avx512, ForwardVec<Avx512>>(x, n, tables[log2n]);
  ForwardRecursion(x + 3 * n / 2, n / 4, log2n - 2, tables);
  ForwardRecursion(x + n, n / 4, log2n - 2, tables);
  ForwardRecursion(x, n / 2, log2n - 1, tables);
}

__attribute__((target("avx512f"))) void InverseRecursion(double* x, int n, int log2n, const double* const* tables) {
  switch (n) {
    case 4: _mm512_storeu_pd(x, Inverse4Vec(_mm512_loadu_pd(x))); return;
    case 8: {
      __m512d lo = _mm512_loadu_pd(x), hi = _mm512_loadu_pd(x + 8);
      Inverse8Vec(lo, hi);
      _mm512_storeu_pd(x, lo);
      _mm512_storeu_pd(x + 8, hi);
      return;
    }
    case 16: Inverse16(x, tables[4]); return;
    default: break;
  }
  InverseRecursion(x, n / 2, log2n - 1, tables);
  InverseRecursion(x + n, n / 4, log2n - 2, tables);
  InverseRecursion(x + 3 * n / 2, n / 4, log2n - 2, tables);
  Pass<Avx512, InverseVec<Avx512>>(x, n, tables[log2n]);
}

}  // namespace

__attribute__((target("avx512f"))) void Forward4Avx512(double* x) {
  _mm512_storeu_pd(x, Forward4Vec(_mm512_loadu_pd(x)));
}

__attribute__((target("avx512f"))) void Inverse4Avx512(double* x) {
  _mm512_storeu_pd(x, Inverse4Vec(_mm512_loadu_pd(x)));
}

__attribute__((target("avx512f"))) void Forward8Avx512(double* x) {
  __m512d lo = _mm512_loadu_pd(x), hi = _mm512_loadu_pd(x + 8);
  Forward8Vec(lo, hi);
  _mm512_storeu_pd(x, lo);
  _mm512_storeu_pd(x + 8, hi);
}

__attribute__((target("avx512f"))) void Inverse8Avx512(double* x) {
  __m512d lo = _mm512_loadu_pd(x), hi = _mm512_loadu_pd(x + 8);
  Inverse8Vec(lo, hi);
  _mm512_storeu_pd(x, lo);
  _mm512_storeu_pd(x + 8, hi);
}

__attribute__((target("avx512f"))) void ForwardAvx512(double* x, int n, int log2n, const double* const* tables) {
  ForwardRecursion(x, n, log2n, tables);
}

__attribute__((target("avx512f"))) void InverseAvx512(double* x, int n, int log2n, const double* const* tables) {
  InverseRecursion(x, n, log2n, tables);
}

__attribute__((target("avx512f"))) void MultiplySpectraAvx512(const double* h, const double* x, double* work,
                                                              int points, bool accumulate) {
  using A = Avx512;
  int k = 0;
  for (; k + A::kPoints <= points; k += A::kPoints) {
    const __m512d hv = A::Load(h + 2 * k), xv = A::Load(x + 2 * k);
    // (hr xr, hr xi) and (hi xi, hi xr): the parts' two products each.
    const __m512d t1 = A::Mul(A::Cos(hv), xv), t2 = A::Mul(A::Sin(hv), A::Swap(xv));
    const __m512d p = A::SubAdd(t1, t2);
    A::Store(work + 2 * k, accumulate ? A::Add(A::Load(work + 2 * k), p) : p);
  }
  for (; k < points; ++k) {
    const double a = h[2 * k], b = h[2 * k + 1], c = x[2 * k], d = x[2 * k + 1];
    if (accumulate) {
      work[2 * k] += a * c - b * d;
      work[2 * k + 1] += a * d + b * c;
    } else {
      work[2 * k] = a * c - b * d;
      work[2 * k + 1] = a * d + b * c;
    }
  }
}

__attribute__((target("avx512f"))) void ForwardPassAvx512(double* x, int n, const double* table) {
  Pass<Avx512, ForwardVec<Avx512>>(x, n, table);
}
__attribute__((target("avx512f"))) void InversePassAvx512(double* x, int n, const double* table) {
  Pass<Avx512, InverseVec<Avx512>>(x, n, table);
}

}  // namespace SplitRadixDetail

#endif
