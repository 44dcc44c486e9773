// One point a 256-bit register, (re A, im A, re B, im B). A product with a
// twiddle (wr, wi) is x wr, minus in the real parts and plus in the
// imaginary ones the swapped parts times wi: one multiply and one fused
// multiply-add with subtract, no move across the register's halves.
#include "dsp/resampler/HalfBlockPasses.h"

#include "dsp/resampler/RealFFTPairPasses.h"

#if defined(__x86_64__) || defined(__i386__)

#include <immintrin.h>

namespace HalfBlockPasses {

namespace {

#define BRIMLOW_HALF_FMA __attribute__((target("avx2,fma"), always_inline)) inline

// (re, im) -> (im, re) in each half.
BRIMLOW_HALF_FMA __m256d Swap(__m256d v) { return _mm256_permute_pd(v, 0x5); }

// x times (wr, wi), each broadcast.
BRIMLOW_HALF_FMA __m256d Times(__m256d x, __m256d wr, __m256d wi) {
  return _mm256_fmaddsub_pd(x, wr, _mm256_mul_pd(Swap(x), wi));
}

// Minus in the imaginary parts.
BRIMLOW_HALF_FMA __m256d NegateIm(__m256d v) { return _mm256_xor_pd(v, _mm256_set_pd(-0.0, 0.0, -0.0, 0.0)); }

struct Twiddles {
  __m256d w1r, w1i, w2r, w2i, w3r, w3i;
  BRIMLOW_HALF_FMA explicit Twiddles(const double* t)
      : w1r(_mm256_broadcast_sd(t)),
        w1i(_mm256_broadcast_sd(t + 1)),
        w2r(_mm256_broadcast_sd(t + 2)),
        w2i(_mm256_broadcast_sd(t + 3)),
        w3r(_mm256_broadcast_sd(t + 4)),
        w3i(_mm256_broadcast_sd(t + 5)) {}
};

// One radix-4 butterfly on registers, in place.
BRIMLOW_HALF_FMA void Butterfly(__m256d& a0, __m256d& b0, __m256d& c0, __m256d& d0, const Twiddles& t) {
  const __m256d a = _mm256_add_pd(a0, b0);
  const __m256d b = Times(_mm256_sub_pd(a0, b0), t.w1r, t.w1i);
  const __m256d cc = _mm256_add_pd(c0, d0);
  const __m256d d = Times(_mm256_sub_pd(c0, d0), t.w3r, t.w3i);
  a0 = _mm256_add_pd(a, cc);
  b0 = _mm256_add_pd(b, d);
  c0 = Times(_mm256_sub_pd(a, cc), t.w2r, t.w2i);
  d0 = Times(_mm256_sub_pd(b, d), t.w2r, t.w2i);
}

// The first pass (partners 1 apart) on points fetched by fetch(i), each
// group's four straight from where the reordering finds them.
template <class Fetch>
BRIMLOW_HALF_FMA void FirstPass(double* z, int m, const double* twiddles, const Fetch& fetch) {
  for (int g = 0; g < m / 4; ++g) {
    const int i = 4 * g;
    __m256d a = fetch(i), b = fetch(i + 1), c = fetch(i + 2), d = fetch(i + 3);
    Butterfly(a, b, c, d, Twiddles(twiddles + 6 * g));
    _mm256_storeu_pd(z + 4 * i, a);
    _mm256_storeu_pd(z + 4 * i + 4, b);
    _mm256_storeu_pd(z + 4 * i + 8, c);
    _mm256_storeu_pd(z + 4 * i + 12, d);
  }
}

// Even-phase point i of a doubling pair's compact blocks, times 2.
struct EvenPhasesAt {
  const double* currentA;
  const double* previousA;
  const double* currentB;
  const double* previousB;
  int m;
  const int32_t* rev;
  BRIMLOW_HALF_FMA __m256d operator()(int i) const {
    // Even-phase samples 2 j and 2 j + 1 are inputs 2 j and 2 j + 1 of
    // [current | previous], m of each.
    const int j = 2 * rev[i];
    const double* a = j < m ? currentA + j : previousA + (j - m);
    const double* b = j < m ? currentB + j : previousB + (j - m);
    const __m256d v = _mm256_insertf128_pd(_mm256_castpd128_pd256(_mm_loadu_pd(a)), _mm_loadu_pd(b), 1);
    return _mm256_mul_pd(v, _mm256_set1_pd(2.0));
  }
};

// Point i of a halving channel's phases.
struct PhasesAt {
  const double* current;
  const double* previous;
  int m;
  const int32_t* rev;
  BRIMLOW_HALF_FMA __m256d operator()(int i) const {
    // Filter-rate samples 4 j .. 4 j + 3 of [current | previous], 2 m of each.
    const int j = 4 * rev[i];
    const double* from = j < 2 * m ? current + j : previous + (j - 2 * m);
    // (even 2j, odd 2j, even 2j + 1, odd 2j + 1) to (even 2j, even 2j + 1, odd 2j, odd 2j + 1).
    return _mm256_permute4x64_pd(_mm256_loadu_pd(from), 0xD8);
  }
};

// The butterflies of one radix-4 group with partners s apart, from point
// `at` on.
template <LastPass kStore>
BRIMLOW_HALF_FMA void Group(double* z, int at, int s, const Twiddles& t) {
  double* pa = z + 4 * at;
  double* pb = pa + 4 * s;
  double* pc = pb + 4 * s;
  double* pd = pc + 4 * s;
  for (int c = 0; c < 4 * s; c += 4) {
    const __m256d a0 = _mm256_loadu_pd(pa + c), b0 = _mm256_loadu_pd(pb + c);
    const __m256d c0 = _mm256_loadu_pd(pc + c), d0 = _mm256_loadu_pd(pd + c);
    const __m256d a = _mm256_add_pd(a0, b0);
    const __m256d b = Times(_mm256_sub_pd(a0, b0), t.w1r, t.w1i);
    const __m256d cc = _mm256_add_pd(c0, d0);
    const __m256d d = Times(_mm256_sub_pd(c0, d0), t.w3r, t.w3i);
    if (kStore == kFirstHalfPhases) {
      _mm256_storeu_pd(pa + c, _mm256_permute4x64_pd(_mm256_add_pd(a, cc), 0xD8));
      _mm256_storeu_pd(pb + c, _mm256_permute4x64_pd(_mm256_add_pd(b, d), 0xD8));
      continue;
    }
    _mm256_storeu_pd(pa + c, _mm256_add_pd(a, cc));
    _mm256_storeu_pd(pb + c, _mm256_add_pd(b, d));
    if (kStore == kFirstHalf) continue;
    _mm256_storeu_pd(pc + c, Times(_mm256_sub_pd(a, cc), t.w2r, t.w2i));
    _mm256_storeu_pd(pd + c, Times(_mm256_sub_pd(b, d), t.w2r, t.w2i));
  }
}

// Group 0, whose twiddles are 1, 1 and i (forward) or -i (inverse): its
// products are exact moves and sign flips. twiddles: the pass table, whose
// first group's w3 says the direction.
template <LastPass kStore>
BRIMLOW_HALF_FMA void FirstGroup(double* z, int s, const double* twiddles) {
  // Times i: (-xi, xr); times -i: (xi, -xr).
  const __m256d flip = twiddles[5] > 0.0 ? _mm256_set_pd(0.0, -0.0, 0.0, -0.0) : _mm256_set_pd(-0.0, 0.0, -0.0, 0.0);
  double* pa = z;
  double* pb = pa + 4 * s;
  double* pc = pb + 4 * s;
  double* pd = pc + 4 * s;
  for (int c = 0; c < 4 * s; c += 4) {
    const __m256d a0 = _mm256_loadu_pd(pa + c), b0 = _mm256_loadu_pd(pb + c);
    const __m256d c0 = _mm256_loadu_pd(pc + c), d0 = _mm256_loadu_pd(pd + c);
    const __m256d a = _mm256_add_pd(a0, b0);
    const __m256d b = _mm256_sub_pd(a0, b0);
    const __m256d cc = _mm256_add_pd(c0, d0);
    const __m256d d = _mm256_xor_pd(Swap(_mm256_sub_pd(c0, d0)), flip);
    if (kStore == kFirstHalfPhases) {
      _mm256_storeu_pd(pa + c, _mm256_permute4x64_pd(_mm256_add_pd(a, cc), 0xD8));
      _mm256_storeu_pd(pb + c, _mm256_permute4x64_pd(_mm256_add_pd(b, d), 0xD8));
      continue;
    }
    _mm256_storeu_pd(pa + c, _mm256_add_pd(a, cc));
    _mm256_storeu_pd(pb + c, _mm256_add_pd(b, d));
    if (kStore == kFirstHalf) continue;
    _mm256_storeu_pd(pc + c, _mm256_sub_pd(a, cc));
    _mm256_storeu_pd(pd + c, _mm256_sub_pd(b, d));
  }
}

// The forward untangling of points P and K = m - P of the transform into
// the two bins of each channel's real spectrum.
BRIMLOW_HALF_FMA void ForwardUntangle(__m256d& j, __m256d& k, __m256d wkr, __m256d wki) {
  // (xr, xi) = (jr - kr, ji + ki); y = (wkr xr - wki xi, wkr xi + wki xr).
  const __m256d y = Times(_mm256_addsub_pd(j, k), wkr, wki);
  j = _mm256_sub_pd(j, y);
  k = _mm256_add_pd(k, NegateIm(y));
}

// The inverse untangling of bins P and K back into points of the
// transform's input.
BRIMLOW_HALF_FMA void InverseUntangle(__m256d& j, __m256d& k, __m256d wkr, __m256d negatedWki) {
  // (xr, xi) = (jr - kr, ji + ki); y = (wkr xr + wki xi, wkr xi - wki xr).
  const __m256d y = Times(_mm256_addsub_pd(j, k), wkr, negatedWki);
  j = _mm256_sub_pd(j, y);
  k = _mm256_add_pd(k, NegateIm(y));
}

// Point 0 forward, channel by channel: (re, im) to (re + im, re - im), DC
// and Nyquist.
BRIMLOW_HALF_FMA __m256d ForwardUntangleFirst(__m256d v) {
  return _mm256_blend_pd(_mm256_add_pd(v, Swap(v)), _mm256_sub_pd(Swap(v), v), 0xA);
}

// Point 0 inverse, channel by channel: (DC, Nyquist) to (a0, a1) with
// a1 = (DC - Nyquist) / 2, a0 = DC - a1.
BRIMLOW_HALF_FMA __m256d InverseUntangleFirst(__m256d v) {
  const __m256d a1 = _mm256_mul_pd(_mm256_set1_pd(0.5), _mm256_sub_pd(v, Swap(v)));
  return _mm256_blend_pd(_mm256_sub_pd(v, a1), Swap(a1), 0xA);
}

// A complex value in both halves times the table's two spectra.
BRIMLOW_HALF_FMA __m256d ByTable(__m256d x, const double* table) {
  return _mm256_fmaddsub_pd(x, _mm256_loadu_pd(table), _mm256_mul_pd(Swap(x), _mm256_loadu_pd(table + 4)));
}

// Channel 0 or 1 of a point in both halves.
BRIMLOW_HALF_FMA __m256d Channel0(__m256d v) { return _mm256_permute2f128_pd(v, v, 0x00); }
BRIMLOW_HALF_FMA __m256d Channel1(__m256d v) { return _mm256_permute2f128_pd(v, v, 0x11); }

// Two channels' phase pairs through the table, each channel's two products
// summed: A's into channel 0, B's into channel 1.
BRIMLOW_HALF_FMA __m256d PairByTable(__m256d a, __m256d b, const double* table) {
  const __m256d pa = ByTable(a, table), pb = ByTable(b, table);
  return _mm256_add_pd(_mm256_permute2f128_pd(pa, pb, 0x20), _mm256_permute2f128_pd(pa, pb, 0x31));
}

// Point i of an inverse's input, reordered.
struct ReorderedAt {
  const double* from;
  const int32_t* rev;
  BRIMLOW_HALF_FMA __m256d operator()(int i) const { return _mm256_loadu_pd(from + 4 * rev[i]); }
};

// The untangling twiddles of point P.
struct UntangleTwiddles {
  __m256d wkr, wki, negatedWki;
  BRIMLOW_HALF_FMA UntangleTwiddles(int p, const double* c, int nc, int ks) {
    const int kk = ks * p;
    wkr = _mm256_set1_pd(0.5 - c[nc - kk]);
    wki = _mm256_set1_pd(c[kk]);
    negatedWki = _mm256_set1_pd(-c[kk]);
  }
};

}  // namespace

bool Available() {
  static const bool has = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
  }();
  return has;
}

namespace {

BRIMLOW_HALF_FMA void PassesFrom(double* z, int m, int first, const double* twiddles, LastPass last) {
  for (int s = first; s < m; s <<= 2) {
    const int groups = m / (4 * s);
    if (groups == 1 && last != kAllPoints) {
      if (last == kFirstHalf) {
        FirstGroup<kFirstHalf>(z, s, twiddles);
      } else {
        FirstGroup<kFirstHalfPhases>(z, s, twiddles);
      }
      continue;
    }
    FirstGroup<kAllPoints>(z, s, twiddles);
    for (int g = 1; g < groups; ++g) Group<kAllPoints>(z, g * 4 * s, s, Twiddles(twiddles + 6 * g));
  }
}

}  // namespace

__attribute__((target("avx2,fma"))) void Passes(double* z, int m, const double* twiddles, LastPass last) {
  PassesFrom(z, m, 1, twiddles, last);
}

__attribute__((target("avx2,fma"))) void ForwardEvenPhases(const double* currentA, const double* previousA,
                                                            const double* currentB, const double* previousB, int m,
                                                            const int32_t* rev, const double* twiddles, double* z) {
  FirstPass(z, m, twiddles, EvenPhasesAt{currentA, previousA, currentB, previousB, m, rev});
  PassesFrom(z, m, 4, twiddles, kAllPoints);
}

__attribute__((target("avx2,fma"))) void ForwardPhases(const double* current, const double* previous, int m,
                                                        const int32_t* rev, const double* twiddles, double* z) {
  FirstPass(z, m, twiddles, PhasesAt{current, previous, m, rev});
  PassesFrom(z, m, 4, twiddles, kAllPoints);
}

__attribute__((target("avx2,fma"))) void InverseFromReordered(const double* from, int m, const int32_t* rev,
                                                               const double* twiddles, LastPass last, double* z) {
  FirstPass(z, m, twiddles, ReorderedAt{from, rev});
  PassesFrom(z, m, 4, twiddles, last);
}

__attribute__((target("avx2,fma"))) void FilterDoublingSpectra(double* x, int n, const double* table,
                                                                const double* c, int nc, int ks, double* lane0) {
  const int m = n >> 1;
  {
    const __m256d first = ForwardUntangleFirst(_mm256_loadu_pd(x));
    _mm256_storeu_pd(lane0, InverseUntangleFirst(ByTable(Channel0(first), table)));
    _mm256_storeu_pd(x, InverseUntangleFirst(ByTable(Channel1(first), table)));
  }
  for (int p = 1; p < m / 2; ++p) {
    const int k = m - p;
    const UntangleTwiddles t(p, c, nc, ks);
    __m256d xj = _mm256_loadu_pd(x + 4 * p), xk = _mm256_loadu_pd(x + 4 * k);
    ForwardUntangle(xj, xk, t.wkr, t.wki);
    __m256d j0 = ByTable(Channel0(xj), table + 8 * p), k0 = ByTable(Channel0(xk), table + 8 * k);
    __m256d j1 = ByTable(Channel1(xj), table + 8 * p), k1 = ByTable(Channel1(xk), table + 8 * k);
    InverseUntangle(j0, k0, t.wkr, t.negatedWki);
    InverseUntangle(j1, k1, t.wkr, t.negatedWki);
    _mm256_storeu_pd(lane0 + 4 * p, j0);
    _mm256_storeu_pd(lane0 + 4 * k, k0);
    _mm256_storeu_pd(x + 4 * p, j1);
    _mm256_storeu_pd(x + 4 * k, k1);
  }
  // The middle point pairs with itself: the untanglings leave it as it is.
  const __m256d middle = _mm256_loadu_pd(x + 2 * m);
  _mm256_storeu_pd(lane0 + 2 * m, ByTable(Channel0(middle), table + 4 * m));
  _mm256_storeu_pd(x + 2 * m, ByTable(Channel1(middle), table + 4 * m));
}

__attribute__((target("avx2,fma"))) void FilterHalvingSpectra(double* xa, const double* xb, int n,
                                                               const double* table, const double* c, int nc, int ks) {
  const int m = n >> 1;
  // Every step reads its points of both channels before it writes xa's.
  _mm256_storeu_pd(xa, InverseUntangleFirst(PairByTable(ForwardUntangleFirst(_mm256_loadu_pd(xa)),
                                                        ForwardUntangleFirst(_mm256_loadu_pd(xb)), table)));
  for (int p = 1; p < m / 2; ++p) {
    const int k = m - p;
    const UntangleTwiddles t(p, c, nc, ks);
    __m256d aj = _mm256_loadu_pd(xa + 4 * p), ak = _mm256_loadu_pd(xa + 4 * k);
    __m256d bj = _mm256_loadu_pd(xb + 4 * p), bk = _mm256_loadu_pd(xb + 4 * k);
    ForwardUntangle(aj, ak, t.wkr, t.wki);
    ForwardUntangle(bj, bk, t.wkr, t.wki);
    __m256d j = PairByTable(aj, bj, table + 8 * p), k2 = PairByTable(ak, bk, table + 8 * k);
    InverseUntangle(j, k2, t.wkr, t.negatedWki);
    _mm256_storeu_pd(xa + 4 * p, j);
    _mm256_storeu_pd(xa + 4 * k, k2);
  }
  const __m256d middle = PairByTable(_mm256_loadu_pd(xa + 2 * m), _mm256_loadu_pd(xb + 2 * m), table + 4 * m);
  _mm256_storeu_pd(xa + 2 * m, middle);
}

}  // namespace HalfBlockPasses

#else

namespace HalfBlockPasses {
bool Available() { return false; }
void Passes(double*, int, const double*, LastPass) {}
void ForwardEvenPhases(const double*, const double*, const double*, const double*, int, const int32_t*, const double*,
                       double*) {}
void ForwardPhases(const double*, const double*, int, const int32_t*, const double*, double*) {}
void InverseFromReordered(const double*, int, const int32_t*, const double*, LastPass, double*) {}
void FilterDoublingSpectra(double*, int, const double*, const double*, int, int, double*) {}
void FilterHalvingSpectra(double*, const double*, int, const double*, const double*, int, int) {}
}  // namespace HalfBlockPasses

#endif

namespace HalfBlockPasses {

bool SuitsSize(int n) {
  const int m = n >> 1;
  if (m < 16 || (m & (m - 1)) != 0) return false;
  int log2m = 0;
  while ((1 << log2m) < m) ++log2m;
  return (log2m & 1) == 0;
}

void MakePassTwiddles(int m, const double* w, double sign, double* twiddles) {
  for (int g = 0; g < m / 4; ++g) {
    const RealFFTDetail::GroupTwiddleValues t(g, w, sign);
    const double row[6] = {t.w1r, t.w1i, t.w2r, t.w2i, t.w3r, t.w3i};
    for (int i = 0; i < 6; ++i) twiddles[6 * g + i] = row[i];
  }
}

void MakeProductTable(int n, const double* p, const double* q, double* table) {
  const int m = n >> 1;
  const double first[8] = {p[0], p[1], q[0], q[1], 0.0, 0.0, 0.0, 0.0};
  for (int i = 0; i < 8; ++i) table[i] = first[i];
  for (int point = 1; point < m; ++point) {
    const double pr = p[2 * point], pi = p[2 * point + 1];
    const double qr = q[2 * point], qi = q[2 * point + 1];
    const double row[8] = {pr, pr, qr, qr, pi, pi, qi, qi};
    for (int i = 0; i < 8; ++i) table[8 * point + i] = row[i];
  }
}

}  // namespace HalfBlockPasses
