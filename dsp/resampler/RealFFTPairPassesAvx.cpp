// The radix-4 passes of the two-channel real FFT with two points in a
// 512-bit register: (re A, re B, im A, im B) of two neighbouring points.
// The twiddles of a group are the scalar code's, formed by the scalar
// code's formulas; a product with a twiddle forms, as the scalar code does,
// the two products of each part, then the difference for the real part and
// the sum for the imaginary one, lane by lane, so every double sees the same
// operations in the same order. The one fused form used takes the second
// operand times 1 or -1, which is exact: it rounds once, as the plain
// addition or subtraction does; no product of two values is ever fused.
//
// The AVX2 pass holds one point in a 256-bit register; it has no fused
// form, so a difference there is the sum with the second product's sign
// flipped, which IEEE arithmetic defines as the same operation.
#include "dsp/resampler/RealFFTPairPasses.h"

#include "dsp/convolution/CpuFeatures.h"

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

// 1 in every lane, -1 in the lanes of sub: y times it is exact, so
// fmadd(y, Signs(sub), x) rounds x + y or x - y once, as the plain
// addition and subtraction do.
BRIMLOW_PAIRS_AVX512 __m512d Signs(__mmask8 sub) {
  return _mm512_mask_mov_pd(_mm512_set1_pd(1.0), sub, _mm512_set1_pd(-1.0));
}

// (re, re, im, im) -> (im, im, re, re) in both points.
BRIMLOW_PAIRS_AVX512 __m512d Swap(__m512d v) { return _mm512_permutex_pd(v, 0x4E); }
// x times (wr, wi): (wr xr - wi xi, wr xi + wi xr), the products formed
// first, then their difference or sum.
BRIMLOW_PAIRS_AVX512 __m512d Times(__m512d x, __m512d wr, __m512d wi) {
  const __m512d t1 = _mm512_mul_pd(wr, x), t2 = _mm512_mul_pd(wi, Swap(x));
  return _mm512_fmadd_pd(t2, Signs(0x33), t1);
}

// The radix-4 groups g0 .. g1 - 1 of the pass with partners s apart.
BRIMLOW_PAIRS_AVX512 void Radix4Groups(double* z, int s, int g0, int g1, const double* w, double sign) {
  for (int g = g0; g < g1; ++g) {
    const GroupTwiddleValues t(g, w, sign);
    const __m512d v1r = _mm512_set1_pd(t.w1r), v1i = _mm512_set1_pd(t.w1i);
    const __m512d v2r = _mm512_set1_pd(t.w2r), v2i = _mm512_set1_pd(t.w2i);
    const __m512d v3r = _mm512_set1_pd(t.w3r), v3i = _mm512_set1_pd(t.w3i);
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

}  // namespace

__attribute__((target("avx512f"))) void Radix4PassPairsAvx512(double* z, int m, int s, const double* w,
                                                               double sign) {
  Radix4Groups(z, s, 0, m / (4 * s), w, sign);
}

namespace {

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

// Transform<SampleLanes> for an odd log2 m (m >= 8), with the reordering
// before it and the move to the two channels after it folded in: the
// radix-2 stage and the passes whose groups fit in a span of kSpan points
// run span by span, right after the span's points are fetched, while they
// are in the first-level cache; the wider passes run over all points
// after, and the last of them (one group of all m points) hands its
// results straight to the channels when asked. Every butterfly sees the
// inputs and the twiddles it sees pass after pass.
constexpr int kSpan = 128;

// Points i0 and i1 of the forward transform's input in one register: the
// channels side by side, position i taking complex point rev(i).
struct FetchChannels {
  const double* first;
  const double* second;
  const int32_t* bitReverse;
  BRIMLOW_PAIRS_AVX512 __m512d operator()(int i0, int i1) const {
    const int j0 = bitReverse[i0], j1 = bitReverse[i1];
    const __m256d a = _mm256_insertf128_pd(_mm256_castpd128_pd256(_mm_loadu_pd(first + 2 * j0)),
                                           _mm_loadu_pd(second + 2 * j0), 1);
    const __m256d b = _mm256_insertf128_pd(_mm256_castpd128_pd256(_mm_loadu_pd(first + 2 * j1)),
                                           _mm_loadu_pd(second + 2 * j1), 1);
    // (re A, im A, re B, im B) to (re A, re B, im A, im B).
    const __m512i order = _mm512_set_epi64(7, 5, 6, 4, 3, 1, 2, 0);
    return _mm512_permutexvar_pd(order, _mm512_insertf64x4(_mm512_castpd256_pd512(a), b, 1));
  }
};

// Points i0 and i1 of the inverse transform's input: position i taking
// point rev(i) of the untangled spectrum.
struct FetchPoints {
  const double* from;
  const int32_t* bitReverse;
  BRIMLOW_PAIRS_AVX512 __m512d operator()(int i0, int i1) const {
    return _mm512_insertf64x4(_mm512_castpd256_pd512(_mm256_loadu_pd(from + 4 * bitReverse[i0])),
                              _mm256_loadu_pd(from + 4 * bitReverse[i1]), 1);
  }
};

// The twiddles of radix-4 group g, formed as the scalar pass forms them.
struct GroupTwiddles {
  __m512d v1r, v1i, v2r, v2i, v3r, v3i;
  BRIMLOW_PAIRS_AVX512 GroupTwiddles(int g, const double* w, double sign) {
    const GroupTwiddleValues t(g, w, sign);
    v1r = _mm512_set1_pd(t.w1r);
    v1i = _mm512_set1_pd(t.w1i);
    v2r = _mm512_set1_pd(t.w2r);
    v2i = _mm512_set1_pd(t.w2i);
    v3r = _mm512_set1_pd(t.w3r);
    v3i = _mm512_set1_pd(t.w3i);
  }
};

// One radix-4 butterfly on registers a, b, c, d in place, the pass's
// operations on each lane.
BRIMLOW_PAIRS_AVX512 void Butterfly4(__m512d& a0, __m512d& b0, __m512d& c0, __m512d& d0, const GroupTwiddles& t) {
  const __m512d a = _mm512_add_pd(a0, b0);
  const __m512d b = Times(_mm512_sub_pd(a0, b0), t.v1r, t.v1i);
  const __m512d cc = _mm512_add_pd(c0, d0);
  const __m512d d = Times(_mm512_sub_pd(c0, d0), t.v3r, t.v3i);
  a0 = _mm512_add_pd(a, cc);
  b0 = _mm512_add_pd(b, d);
  c0 = Times(_mm512_sub_pd(a, cc), t.v2r, t.v2i);
  d0 = Times(_mm512_sub_pd(b, d), t.v2r, t.v2i);
}

// Points base .. base + 31 (base a multiple of 32) fetched, then through
// the radix-2 stage and the radix-4 passes with partners 2 and 8 apart,
// all in registers, and stored: the butterflies the separate passes would
// run on these points, with the same inputs and twiddles.
template <class Fetch>
BRIMLOW_PAIRS_AVX512 void Front32(double* z, int base, const double* w, double sign, const Fetch& fetch) {
  // x[4h + r]: points base + 8h + 2r and + 1 after the passes with
  // partners 2 apart.
  __m512d x[16];
  for (int k = 0; k < 8; ++k) {
    const int i = base + 4 * k;
    // Radix-2 butterflies i / 2 and i / 2 + 1: (points i | i + 2) against
    // (points i + 1 | i + 3), one twiddle, the odd butterfly's times i.
    const __m512d lo = fetch(i, i + 2), hi = fetch(i + 1, i + 3);
    const int g = i >> 2;
    const double tr = g ? w[2 * g] : 1.0;
    const double ti = g ? sign * w[2 * g + 1] : 0.0;
    const double oddR = -sign * ti;
    const double oddI = sign * tr;
    const __m512d sum = _mm512_add_pd(lo, hi);
    const __m512d product = Times(_mm512_sub_pd(lo, hi), Halves(tr, oddR), Halves(ti, oddI));
    // Points (i, i + 1) and (i + 2, i + 3).
    x[2 * k] = _mm512_shuffle_f64x2(sum, product, 0x44);
    x[2 * k + 1] = _mm512_shuffle_f64x2(sum, product, 0xEE);
  }
  for (int h = 0; h < 4; ++h) {
    const GroupTwiddles t((base >> 3) + h, w, sign);
    Butterfly4(x[4 * h], x[4 * h + 1], x[4 * h + 2], x[4 * h + 3], t);
  }
  {
    const GroupTwiddles t(base >> 5, w, sign);
    for (int r = 0; r < 4; ++r) Butterfly4(x[r], x[4 + r], x[8 + r], x[12 + r], t);
  }
  for (int r = 0; r < 16; ++r) _mm512_storeu_pd(z + 4 * (base + 2 * r), x[r]);
}

// Points i0 and i1 of a transform's input already in place.
struct FetchInPlace {
  const double* z;
  BRIMLOW_PAIRS_AVX512 __m512d operator()(int i0, int i1) const {
    return _mm512_insertf64x4(_mm512_castpd256_pd512(_mm256_loadu_pd(z + 4 * i0)), _mm256_loadu_pd(z + 4 * i1), 1);
  }
};

// Points j .. j + 3 of the channels (j a multiple of 4), each as
// (re A, re B, im A, im B): two whole lines of each channel a call.
struct QuadFromChannels {
  const double* first;
  const double* second;
  BRIMLOW_PAIRS_AVX512 void operator()(int j, __m512d* low, __m512d* high) const {
    const __m512d f = _mm512_loadu_pd(first + 2 * j), s = _mm512_loadu_pd(second + 2 * j);
    const __m512d re = _mm512_unpacklo_pd(f, s), im = _mm512_unpackhi_pd(f, s);
    *low = _mm512_permutex2var_pd(re, _mm512_set_epi64(11, 10, 3, 2, 9, 8, 1, 0), im);
    *high = _mm512_permutex2var_pd(re, _mm512_set_epi64(15, 14, 7, 6, 13, 12, 5, 4), im);
  }
};

// Points j .. j + 3 of the untangled spectrum.
struct QuadFromPoints {
  const double* from;
  BRIMLOW_PAIRS_AVX512 void operator()(int j, __m512d* low, __m512d* high) const {
    *low = _mm512_loadu_pd(from + 4 * j);
    *high = _mm512_loadu_pd(from + 4 * j + 8);
  }
};

// The span passes with the reordering fetched a line at a time, for m >=
// 4 kSpan: position i and i + k m / 4 (k < 4) take points rev(i) + rev2(k),
// neighbours in memory, so the four spans at i, i + m / 4, ... are fetched
// together and then run one after the other.
template <class Quad>
BRIMLOW_PAIRS_AVX512 void QuadSpanPasses(double* z, int m, const double* w, double sign, const int32_t* bitReverse,
                                         Quad quad) {
  const int quarter = m >> 2;
  for (int base = 0; base < quarter; base += kSpan) {
    for (int i = base; i < base + kSpan; ++i) {
      __m512d low, high;
      quad(bitReverse[i], &low, &high);
      _mm256_storeu_pd(z + 4 * i, _mm512_castpd512_pd256(low));
      _mm256_storeu_pd(z + 4 * (i + 2 * quarter), _mm512_extractf64x4_pd(low, 1));
      _mm256_storeu_pd(z + 4 * (i + quarter), _mm512_castpd512_pd256(high));
      _mm256_storeu_pd(z + 4 * (i + 3 * quarter), _mm512_extractf64x4_pd(high, 1));
    }
    for (int k = 0; k < 4; ++k) {
      const int start = base + k * quarter;
      for (int i = start; i < start + kSpan; i += 32) Front32(z, i, w, sign, FetchInPlace{z});
      for (int s = 32; 4 * s <= kSpan; s <<= 2) {
        Radix4Groups(z, s, start / (4 * s), (start + kSpan) / (4 * s), w, sign);
      }
    }
  }
}

// The passes of one span, each span's points fetched by fetch(i0, i1)
// first. Below 32 points the fetched points are stored and run through the
// passes one after the other.
template <class Fetch>
BRIMLOW_PAIRS_AVX512 void SpanPasses(double* z, int m, const double* w, double sign, Fetch fetch) {
  const int span = m < kSpan ? m : kSpan;
  for (int base = 0; base < m; base += span) {
    int s = 2;
    if (span >= 32) {
      for (int i = base; i < base + span; i += 32) Front32(z, i, w, sign, fetch);
      s = 32;
    } else {
      for (int i = base; i < base + span; i += 2) _mm512_storeu_pd(z + 4 * i, fetch(i, i + 1));
      Radix2Butterflies(z, base / 2, (base + span) / 2, w, sign);
    }
    for (; 4 * s <= span; s <<= 2) Radix4Groups(z, s, base / (4 * s), (base + span) / (4 * s), w, sign);
  }
}

// The first partner distance past the span passes.
inline int FirstWideStride(int m) {
  const int span = m < kSpan ? m : kSpan;
  int s = 2;
  while (4 * s <= span) s <<= 2;
  return s;
}

// Two points (re A, re B, im A, im B each) to the channels from point on.
BRIMLOW_PAIRS_AVX512 void PutToChannels(double* first, double* second, int point, __m512i lanes, __m512d v) {
  const __m512d split = _mm512_permutexvar_pd(lanes, v);
  _mm256_storeu_pd(first + 2 * point, _mm512_castpd512_pd256(split));
  _mm256_storeu_pd(second + 2 * point, _mm512_extractf64x4_pd(split, 1));
}

// The last pass (s = m / 4, group 0) with its four outputs split into the
// channels: point t of the pass's output goes to first[2 t], first[2 t + 1]
// (lane A) and second likewise (lane B).
BRIMLOW_PAIRS_AVX512 void LastPassToChannels(const double* z, int m, const double* w, double sign, double* first,
                                             double* second, bool firstHalfOnly) {
  const int s = m / 4;
  const int g = 0;
  const double w1r = g ? w[2 * g] : 1.0;
  const double w1i = g ? sign * w[2 * g + 1] : 0.0;
  const double w2r = w1r * w1r - w1i * w1i;
  const double w2i = 2.0 * w1r * w1i;
  const double w3r = -sign * w1i;
  const double w3i = sign * w1r;
  const __m512d v1r = _mm512_set1_pd(w1r), v1i = _mm512_set1_pd(w1i);
  const __m512d v2r = _mm512_set1_pd(w2r), v2i = _mm512_set1_pd(w2i);
  const __m512d v3r = _mm512_set1_pd(w3r), v3i = _mm512_set1_pd(w3i);
  const __m512i lanes = _mm512_set_epi64(7, 5, 3, 1, 6, 4, 2, 0);
  const double* pa = z;
  const double* pb = pa + 4 * s;
  const double* pc = pb + 4 * s;
  const double* pd = pc + 4 * s;
  for (int c = 0; c < 4 * s; c += 8) {
    const __m512d a0 = _mm512_loadu_pd(pa + c), b0 = _mm512_loadu_pd(pb + c);
    const __m512d c0 = _mm512_loadu_pd(pc + c), d0 = _mm512_loadu_pd(pd + c);
    const __m512d a = _mm512_add_pd(a0, b0);
    const __m512d b = Times(_mm512_sub_pd(a0, b0), v1r, v1i);
    const __m512d cc = _mm512_add_pd(c0, d0);
    const __m512d d = Times(_mm512_sub_pd(c0, d0), v3r, v3i);
    const int point = c / 4;
    PutToChannels(first, second, point, lanes, _mm512_add_pd(a, cc));
    PutToChannels(first, second, point + s, lanes, _mm512_add_pd(b, d));
    // Points 2s on make the second half.
    if (firstHalfOnly) continue;
    PutToChannels(first, second, point + 2 * s, lanes, Times(_mm512_sub_pd(a, cc), v2r, v2i));
    PutToChannels(first, second, point + 3 * s, lanes, Times(_mm512_sub_pd(b, d), v2r, v2i));
  }
}

// x (re, re, im, im per point) times (wr, wi) conjugated:
// (wr xr + wi xi, wr xi - wi xr).
BRIMLOW_PAIRS_AVX512 __m512d TimesConjugate(__m512d x, __m512d wr, __m512d wi) {
  const __m512d t1 = _mm512_mul_pd(wr, x), t2 = _mm512_mul_pd(wi, Swap(x));
  return _mm512_fmadd_pd(t2, Signs(0xCC), t1);
}

// (xr + yr, xi - yi) per point.
BRIMLOW_PAIRS_AVX512 __m512d AddRealSubImag(__m512d x, __m512d y) {
  return _mm512_fmadd_pd(y, Signs(0xCC), x);
}

// (xr - yr, xi + yi) per point.
BRIMLOW_PAIRS_AVX512 __m512d SubRealAddImag(__m512d x, __m512d y) {
  return _mm512_fmadd_pd(y, Signs(0x33), x);
}

// Points m - P and m - P - 1 in that order, from the register at point m - P - 1.
BRIMLOW_PAIRS_AVX512 __m512d LoadMirrored(const double* z, int point) {
  const __m512d v = _mm512_loadu_pd(z + 4 * point);
  return _mm512_shuffle_f64x2(v, v, 0x4E);
}
BRIMLOW_PAIRS_AVX512 void StoreMirrored(double* z, int point, __m512d v) {
  _mm512_storeu_pd(z + 4 * point, _mm512_shuffle_f64x2(v, v, 0x4E));
}

// The forward untangling of points P, P + 1 against their mirrors, the
// product with the kernel and the inverse untangling, in place: each point
// takes the three steps the separate loops give it, in their order.
BRIMLOW_PAIRS_AVX512 void UntangleFilterPair(double* p, int m, int point, const double* spectrum, const double* c,
                                             int nc, int ks) {
  const __m512i re = _mm512_set_epi64(2, 2, 2, 2, 0, 0, 0, 0);
  const __m512i im = _mm512_set_epi64(3, 3, 3, 3, 1, 1, 1, 1);
  // The mirrored bins' kernel, m - P and m - P - 1 in that order.
  const __m512i mirroredRe = _mm512_set_epi64(0, 0, 0, 0, 2, 2, 2, 2);
  const __m512i mirroredIm = _mm512_set_epi64(1, 1, 1, 1, 3, 3, 3, 3);
  const int kk0 = ks * point, kk1 = ks * (point + 1);
  const __m512d wkr = Halves(0.5 - c[nc - kk0], 0.5 - c[nc - kk1]);
  const __m512d wki = Halves(c[kk0], c[kk1]);
  const int mirror = m - point - 1;
  __m512d j = _mm512_loadu_pd(p + 4 * point);
  __m512d k = LoadMirrored(p, mirror);
  const __m512d y = Times(SubRealAddImag(j, k), wkr, wki);
  j = _mm512_sub_pd(j, y);
  k = AddRealSubImag(k, y);
  const __m512d kj = _mm512_castpd256_pd512(_mm256_loadu_pd(spectrum + 2 * point));
  const __m512d kk = _mm512_castpd256_pd512(_mm256_loadu_pd(spectrum + 2 * mirror));
  j = Times(j, _mm512_permutexvar_pd(re, kj), _mm512_permutexvar_pd(im, kj));
  k = Times(k, _mm512_permutexvar_pd(mirroredRe, kk), _mm512_permutexvar_pd(mirroredIm, kk));
  const __m512d yi = TimesConjugate(SubRealAddImag(j, k), wkr, wki);
  _mm512_storeu_pd(p + 4 * point, _mm512_sub_pd(j, yi));
  StoreMirrored(p, mirror, AddRealSubImag(k, yi));
}

// The same three steps for one point and its mirror, lane by lane.
inline void UntangleFilterOne(double* p, int m, int point, const double* spectrum, const double* c, int nc, int ks) {
  const int kk = ks * point;
  const double wkr = 0.5 - c[nc - kk], wki = c[kk];
  double* j = p + 4 * point;
  double* k = p + 4 * (m - point);
  const double* kj = spectrum + 2 * point;
  const double* km = spectrum + 2 * (m - point);
  for (int l = 0; l < 2; ++l) {
    double xr = j[l] - k[l];
    double xi = j[2 + l] + k[2 + l];
    double yr = wkr * xr - wki * xi;
    double yi = wkr * xi + wki * xr;
    double jr = j[l] - yr, ji = j[2 + l] - yi, kr = k[l] + yr, ki = k[2 + l] - yi;
    const double pjr = jr * kj[0] - ji * kj[1], pji = jr * kj[1] + ji * kj[0];
    const double pkr = kr * km[0] - ki * km[1], pki = kr * km[1] + ki * km[0];
    xr = pjr - pkr;
    xi = pji + pki;
    yr = wkr * xr + wki * xi;
    yi = wkr * xi - wki * xr;
    j[l] = pjr - yr;
    j[2 + l] = pji - yi;
    k[l] = pkr + yr;
    k[2 + l] = pki - yi;
  }
}

}  // namespace

__attribute__((target("avx512f"))) bool FilterPairAvx512(int n, double* first, double* second,
                                                          const double* spectrum, const double* w, const double* c,
                                                          int nc, int ks, const int32_t* bitReverse, double* work,
                                                          bool firstHalfOnly) {
  const int m = n >> 1;
  int log2m = 0;
  while ((1 << log2m) < m) ++log2m;
  if (m < 8 || (log2m & 1) == 0) return false;
  double* p = work;
  double* q = work + 2 * static_cast<size_t>(n);
  const int wide = FirstWideStride(m);

  // Forward: the two sequences side by side, position i taking complex
  // point rev(i), span by span with the narrow passes.
  if (m >= 4 * kSpan) {
    QuadSpanPasses(p, m, w, 1.0, bitReverse, QuadFromChannels{first, second});
  } else {
    SpanPasses(p, m, w, 1.0, FetchChannels{first, second, bitReverse});
  }
  for (int s = wide; s < m; s <<= 2) Radix4Groups(p, s, 0, m / (4 * s), w, 1.0);

  // Forward untangling, the product with the kernel and the inverse
  // untangling, pair of points by pair of points, in place.
  const int half = m >> 1;
  for (int l = 0; l < 2; ++l) {
    // Point 0: (re + im, re - im), its real factors, and back.
    const double x = p[l] - p[2 + l];
    const double dc = (p[l] + p[2 + l]) * spectrum[0];
    const double nyquist = x * spectrum[1];
    const double a1 = 0.5 * (dc - nyquist);
    p[l] = dc - a1;
    p[2 + l] = a1;
  }
  int point = 1;
  for (; point + 1 < half; point += 2) UntangleFilterPair(p, m, point, spectrum, c, nc, ks);
  for (; point < half; ++point) UntangleFilterOne(p, m, point, spectrum, c, nc, ks);
  // The middle point: the product alone (the untanglings leave it as it is).
  {
    const double kr = spectrum[2 * half], ki = spectrum[2 * half + 1];
    for (int l = 0; l < 2; ++l) {
      const double ar = p[4 * half + l], ai = p[4 * half + 2 + l];
      p[4 * half + l] = ar * kr - ai * ki;
      p[4 * half + 2 + l] = ar * ki + ai * kr;
    }
  }

  // Inverse: position i takes point rev(i), span by span with the narrow
  // passes, and the last pass hands its results to the channels.
  if (m >= 4 * kSpan) {
    QuadSpanPasses(q, m, w, -1.0, bitReverse, QuadFromPoints{p});
  } else {
    SpanPasses(q, m, w, -1.0, FetchPoints{p, bitReverse});
  }
  int s = wide;
  for (; 4 * s < m; s <<= 2) Radix4Groups(q, s, 0, m / (4 * s), w, -1.0);
  if (s < m) {
    LastPassToChannels(q, m, w, -1.0, first, second, firstHalfOnly);
    return true;
  }
  // No wide pass: the points go to the channels as they are.
  const __m512i a = _mm512_set_epi64(14, 12, 10, 8, 6, 4, 2, 0);
  const __m512i b = _mm512_set_epi64(15, 13, 11, 9, 7, 5, 3, 1);
  for (int i = 0; i < m; i += 4) {
    const __m512d z0 = _mm512_loadu_pd(q + 4 * i), z1 = _mm512_loadu_pd(q + 4 * i + 8);
    _mm512_storeu_pd(first + 2 * i, _mm512_permutex2var_pd(z0, a, z1));
    _mm512_storeu_pd(second + 2 * i, _mm512_permutex2var_pd(z0, b, z1));
  }
  return true;
}

bool HasAvx512() { return CpuFeatures::HasAvx512(); }

namespace {

#define BRIMLOW_PAIRS_AVX2 __attribute__((target("avx2"), always_inline)) inline

// (re, re, im, im) -> (im, im, re, re).
BRIMLOW_PAIRS_AVX2 __m256d Swap256(__m256d v) { return _mm256_permute2f128_pd(v, v, 0x01); }

// x times (wr, wi): (wr xr - wi xi, wr xi + wi xr), the products formed
// first, then their difference or sum.
BRIMLOW_PAIRS_AVX2 __m256d Times256(__m256d x, __m256d wr, __m256d wi, __m256d negateRe) {
  const __m256d t1 = _mm256_mul_pd(wr, x), t2 = _mm256_mul_pd(wi, Swap256(x));
  return _mm256_add_pd(t1, _mm256_xor_pd(t2, negateRe));
}

}  // namespace

__attribute__((target("avx2"))) void Radix4PassPairsAvx2(double* z, int m, int s, const double* w, double sign) {
  const __m256d negateRe = _mm256_set_pd(0.0, 0.0, -0.0, -0.0);
  const int groups = m / (4 * s);
  for (int g = 0; g < groups; ++g) {
    const GroupTwiddleValues t(g, w, sign);
    const __m256d v1r = _mm256_set1_pd(t.w1r), v1i = _mm256_set1_pd(t.w1i);
    const __m256d v2r = _mm256_set1_pd(t.w2r), v2i = _mm256_set1_pd(t.w2i);
    const __m256d v3r = _mm256_set1_pd(t.w3r), v3i = _mm256_set1_pd(t.w3i);
    // Four doubles a point.
    double* pa = z + 4 * (g * 4 * s);
    double* pb = pa + 4 * s;
    double* pc = pb + 4 * s;
    double* pd = pc + 4 * s;
    for (int c = 0; c < 4 * s; c += 4) {
      const __m256d a0 = _mm256_loadu_pd(pa + c), b0 = _mm256_loadu_pd(pb + c);
      const __m256d c0 = _mm256_loadu_pd(pc + c), d0 = _mm256_loadu_pd(pd + c);
      const __m256d a = _mm256_add_pd(a0, b0);
      const __m256d b = Times256(_mm256_sub_pd(a0, b0), v1r, v1i, negateRe);
      const __m256d cc = _mm256_add_pd(c0, d0);
      const __m256d d = Times256(_mm256_sub_pd(c0, d0), v3r, v3i, negateRe);
      _mm256_storeu_pd(pa + c, _mm256_add_pd(a, cc));
      _mm256_storeu_pd(pb + c, _mm256_add_pd(b, d));
      _mm256_storeu_pd(pc + c, Times256(_mm256_sub_pd(a, cc), v2r, v2i, negateRe));
      _mm256_storeu_pd(pd + c, Times256(_mm256_sub_pd(b, d), v2r, v2i, negateRe));
    }
  }
}

bool HasAvx2() { return CpuFeatures::HasAvx2(); }

// The reordering of the two-channel transform's points by the table, one
// point a register.
__attribute__((target("avx2"))) void BitReversePairsAvx2(double* z, int count, const int32_t* table) {
  for (int i = 0; i < count; ++i) {
    const int j = table[i];
    if (j > i) {
      const __m256d a = _mm256_loadu_pd(z + 4 * i), b = _mm256_loadu_pd(z + 4 * j);
      _mm256_storeu_pd(z + 4 * i, b);
      _mm256_storeu_pd(z + 4 * j, a);
    }
  }
}

// The untanglings of the two-channel real FFT, one point a register: the
// differences and sums of the scalar loop are sums with a sign flipped in
// the lanes that subtract, which IEEE arithmetic defines as the same
// operations.
__attribute__((target("avx2"))) void ForwardUntanglePairsAvx2(double* a, int n, const double* c, int nc, int ks) {
  const __m256d negateRe = _mm256_set_pd(0.0, 0.0, -0.0, -0.0);
  const __m256d negateIm = _mm256_set_pd(-0.0, -0.0, 0.0, 0.0);
  const int m = n >> 1;
  for (int j = 2, kk = 0; j < m; j += 2) {
    const int k = n - j;
    kk += ks;
    const __m256d wkr = _mm256_set1_pd(0.5 - c[nc - kk]);
    const __m256d wki = _mm256_set1_pd(c[kk]);
    const __m256d pj = _mm256_loadu_pd(a + 2 * j), pk = _mm256_loadu_pd(a + 2 * k);
    // (xr, xi) = (jr - kr, ji + ki); (yr, yi) = (wkr xr - wki xi, wkr xi + wki xr).
    const __m256d x = _mm256_add_pd(pj, _mm256_xor_pd(pk, negateRe));
    const __m256d y = Times256(x, wkr, wki, negateRe);
    // (jr - yr, ji - yi) and (kr + yr, ki - yi).
    _mm256_storeu_pd(a + 2 * j, _mm256_sub_pd(pj, y));
    _mm256_storeu_pd(a + 2 * k, _mm256_add_pd(pk, _mm256_xor_pd(y, negateIm)));
  }
  for (int l = 0; l < 2; ++l) {
    const double x = a[l] - a[2 + l];
    a[l] += a[2 + l];
    a[2 + l] = x;
  }
}

__attribute__((target("avx2"))) void InverseUntanglePairsAvx2(double* a, int n, const double* c, int nc, int ks) {
  const __m256d negateRe = _mm256_set_pd(0.0, 0.0, -0.0, -0.0);
  const __m256d negateIm = _mm256_set_pd(-0.0, -0.0, 0.0, 0.0);
  const int m = n >> 1;
  for (int l = 0; l < 2; ++l) {
    const double a1 = 0.5 * (a[l] - a[2 + l]);
    const double a0 = a[l] - a1;
    a[l] = a0;
    a[2 + l] = a1;
  }
  for (int j = 2, kk = 0; j < m; j += 2) {
    const int k = n - j;
    kk += ks;
    const __m256d wkr = _mm256_set1_pd(0.5 - c[nc - kk]);
    const __m256d wki = _mm256_set1_pd(c[kk]);
    const __m256d pj = _mm256_loadu_pd(a + 2 * j), pk = _mm256_loadu_pd(a + 2 * k);
    const __m256d x = _mm256_add_pd(pj, _mm256_xor_pd(pk, negateRe));
    // (wkr xr + wki xi, wkr xi - wki xr).
    const __m256d y = Times256(x, wkr, wki, negateIm);
    _mm256_storeu_pd(a + 2 * j, _mm256_sub_pd(pj, y));
    _mm256_storeu_pd(a + 2 * k, _mm256_add_pd(pk, _mm256_xor_pd(y, negateIm)));
  }
  // The middle point pairs with itself and is left as it is.
}

}  // namespace RealFFTDetail

#else

namespace RealFFTDetail {
void Radix4PassPairsAvx512(double*, int, int, const double*, double) {}
bool FilterPairAvx512(int, double*, double*, const double*, const double*, const double*, int, int, const int32_t*,
                      double*, bool) {
  return false;
}
bool HasAvx512() { return false; }
void Radix4PassPairsAvx2(double*, int, int, const double*, double) {}
void BitReversePairsAvx2(double*, int, const int32_t*) {}
void ForwardUntanglePairsAvx2(double*, int, const double*, int, int) {}
void InverseUntanglePairsAvx2(double*, int, const double*, int, int) {}
bool HasAvx2() { return false; }
}  // namespace RealFFTDetail

#endif
