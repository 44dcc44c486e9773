// The split-radix passes with several butterflies per vector: four complex
// points per 512-bit register (AVX-512F). Only these functions are built for
// that instruction set, and the transforms call them only when the
// processor has it.
//
// A butterfly's complex arithmetic is written with whole points, (re, im)
// side by side: the products against the twiddles and their swapped
// partners are formed as in the scalar code, then the real parts take their
// difference and the imaginary parts their sum (or the other way round),
// lane by lane under a mask. Every part of every point thus sees the scalar
// pass's operations in the scalar pass's order: a - b stays a - b, never
// a + (-b), and no multiply and add are fused (no instruction set enabled
// here includes FMA).
#include "dsp/convolution/SplitRadixButterflies.h"

#if defined(__x86_64__) || defined(__i386__)

#include <immintrin.h>

// GCC's AVX-512 headers fill unused lanes from a deliberately undefined
// value, which its own uninitialised-use warning then reports once inlined.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
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
  // (xr - yr, xi + yi) and (xr + yr, xi - yi): the sum everywhere, then the
  // difference over it in the lanes that want it, one operation each.
  static BRIMLOW_FFT_AVX512 V SubAdd(V x, V y) { return _mm512_mask_sub_pd(_mm512_add_pd(x, y), 0x55, x, y); }
  static BRIMLOW_FFT_AVX512 V AddSub(V x, V y) { return _mm512_mask_sub_pd(_mm512_add_pd(x, y), 0xAA, x, y); }
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
  static BRIMLOW_FFT_AVX512 void Run(double* x, int j, int q, V c, V s) {
    double* p0 = x + 2 * j;
    double* p1 = p0 + 2 * q;
    double* p2 = p1 + 2 * q;
    double* p3 = p2 + 2 * q;
    const V x0 = A::Load(p0), x1 = A::Load(p1), x2 = A::Load(p2), x3 = A::Load(p3);
    const V d0 = A::Sub(x0, x2), d1 = A::Sub(x1, x3);
    A::Store(p0, A::Add(x0, x2));
    A::Store(p1, A::Add(x1, x3));
    const V d1s = A::Swap(d1);  // (d1i, d1r)
    const V a = A::SubAdd(d0, d1s);  // (d0r - d1i, d0i + d1r)
    const V b = A::AddSub(d0, d1s);  // (d0r + d1i, d0i - d1r)
    // (ar c - ai s, ar s + ai c)
    const V ac = A::Mul(a, c), as = A::Mul(A::Swap(a), s);
    A::Store(p2, A::SubAdd(ac, as));
    // (br c + bi s, bi c - br s)
    const V bc = A::Mul(b, c), bs = A::Mul(A::Swap(b), s);
    A::Store(p3, A::AddSub(bc, bs));
  }
  static void Scalar(double* x, int j, int q, double c, double s) { ForwardButterfly(x, j, q, c, s); }
};

// InverseButterfly likewise.
template <class A>
struct InverseVec {
  using V = typename A::V;
  static BRIMLOW_FFT_AVX512 void Run(double* x, int j, int q, V c, V s) {
    double* p0 = x + 2 * j;
    double* p1 = p0 + 2 * q;
    double* p2 = p1 + 2 * q;
    double* p3 = p2 + 2 * q;
    const V x2 = A::Load(p2), x3 = A::Load(p3);
    // (p2r c + p2i s, p2i c - p2r s)
    const V p2c = A::Mul(x2, c), p2s = A::Mul(A::Swap(x2), s);
    const V a = A::AddSub(p2c, p2s);
    // (p3r c - p3i s, p3r s + p3i c)
    const V p3c = A::Mul(x3, c), p3s = A::Mul(A::Swap(x3), s);
    const V b = A::SubAdd(p3c, p3s);
    const V sum = A::Add(a, b), diff = A::Sub(a, b);
    const V e0 = A::Load(p0), e1 = A::Load(p1);
    A::Store(p0, A::Add(e0, sum));
    A::Store(p2, A::Sub(e0, sum));
    const V ds = A::Swap(diff);  // (di, dr)
    A::Store(p1, A::AddSub(e1, ds));  // (e1r + di, e1i - dr)
    A::Store(p3, A::SubAdd(e1, ds));  // (e1r - di, e1i + dr)
  }
  static void Scalar(double* x, int j, int q, double c, double s) { InverseButterfly(x, j, q, c, s); }
};

// SmallPass and LargePass of the butterfly B: the vector butterflies where
// kPoints of them fit, the scalar ones for the rest. Butterflies of one
// pass touch disjoint points, so their order is free.
template <class A, class B>
BRIMLOW_FFT_AVX512 void Pass(double* x, int n, const double* table) {
  using V = typename A::V;
  constexpr int kPoints = A::kPoints;
  const int q = n / 4;
  if (n < kFirstLargeSize) {
    // Entries j = 1 .. q - 1, so table + 2 (j - 1) holds the twiddles of
    // the points from j on.
    B::Scalar(x, 0, q, 1.0, 0.0);
    int j = 1;
    for (; j + kPoints <= q; j += kPoints) {
      const V t = A::Load(table + 2 * (j - 1));
      B::Run(x, j, q, A::Cos(t), A::Sin(t));
    }
    for (; j < q; ++j) B::Scalar(x, j, q, table[2 * (j - 1)], table[2 * (j - 1) + 1]);
    return;
  }
  const int e = n / 8;
  B::Scalar(x, 0, q, 1.0, 0.0);
  B::Scalar(x, e, q, kSqrtHalf, kSqrtHalf);
  int j = 1;
  for (; j + kPoints <= e; j += kPoints) {
    const V t = A::Load(table + 2 * (j - 1));
    B::Run(x, j, q, A::Cos(t), A::Sin(t));
    // The mirrored points q - j - kPoints + 1 .. q - j, in rising order,
    // take the twiddles of j + kPoints - 1 .. j with cosine and sine
    // exchanged.
    const V r = A::Reverse(t);
    B::Run(x, q - j - (kPoints - 1), q, A::Sin(r), A::Cos(r));
  }
  for (; j < e; ++j) {
    const double c = table[2 * (j - 1)];
    const double s = table[2 * (j - 1) + 1];
    B::Scalar(x, j, q, c, s);
    B::Scalar(x, q - j, q, s, c);
  }
}

}  // namespace

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
