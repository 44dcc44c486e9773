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

// The inverse untangling of points P and K = m - P, given their products,
// to their reordered places.
BRIMLOW_HALF_FMA void InverseUntangleTo(__m256d yj, __m256d yk, double wkr, double wki, double* to, int pj, int pk) {
  // (xr, xi) = (jr - kr, ji + ki); y = (wkr xr + wki xi, wkr xi - wki xr).
  const __m256d x = _mm256_addsub_pd(yj, yk);
  const __m256d y = Times(x, _mm256_set1_pd(wkr), _mm256_set1_pd(-wki));
  _mm256_storeu_pd(to + 4 * pj, _mm256_sub_pd(yj, y));
  _mm256_storeu_pd(to + 4 * pk, _mm256_add_pd(yk, NegateIm(y)));
}

// Point 0's inverse untangling, channel by channel: (DC, Nyquist) to
// (a0, a1) with a1 = (DC - Nyquist) / 2, a0 = DC - a1.
BRIMLOW_HALF_FMA void InverseUntangleFirst(__m256d y, double* to) {
  alignas(32) double v[4];
  _mm256_store_pd(v, y);
  for (int l = 0; l < 2; ++l) {
    const double a1 = 0.5 * (v[2 * l] - v[2 * l + 1]);
    to[2 * l] = v[2 * l] - a1;
    to[2 * l + 1] = a1;
  }
}

// A complex value in both halves times the table's two spectra.
BRIMLOW_HALF_FMA __m256d ByTable(__m256d x, const double* table) {
  return _mm256_fmaddsub_pd(x, _mm256_loadu_pd(table), _mm256_mul_pd(Swap(x), _mm256_loadu_pd(table + 4)));
}

struct LaneProduct {
  const double* x;
  int lane;
  const double* table;
  BRIMLOW_HALF_FMA __m256d operator()(int p) const {
    return ByTable(_mm256_broadcast_pd(reinterpret_cast<const __m128d*>(x + 4 * p + 2 * lane)), table + 8 * p);
  }
};

struct PairProduct {
  const double* xa;
  const double* xb;
  const double* table;
  BRIMLOW_HALF_FMA __m256d operator()(int p) const {
    const __m256d a = ByTable(_mm256_loadu_pd(xa + 4 * p), table + 8 * p);
    const __m256d b = ByTable(_mm256_loadu_pd(xb + 4 * p), table + 8 * p);
    // Each channel's even-phase product plus its odd-phase one.
    return _mm256_add_pd(_mm256_permute2f128_pd(a, b, 0x20), _mm256_permute2f128_pd(a, b, 0x31));
  }
};

template <class Product>
BRIMLOW_HALF_FMA void ProductForInverse(int n, const double* c, int nc, int ks, const int32_t* rev, double* out,
                                        const Product& product) {
  const int m = n >> 1;
  InverseUntangleFirst(product(0), out + 4 * rev[0]);
  for (int p = 1; p < m / 2; ++p) {
    const int k = m - p;
    const int kk = ks * p;
    InverseUntangleTo(product(p), product(k), 0.5 - c[nc - kk], c[kk], out, rev[p], rev[k]);
  }
  // The middle point pairs with itself and is left as it is.
  _mm256_storeu_pd(out + 4 * rev[m / 2], product(m / 2));
}

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
      const Twiddles t(twiddles);
      if (last == kFirstHalf) {
        Group<kFirstHalf>(z, 0, s, t);
      } else {
        Group<kFirstHalfPhases>(z, 0, s, t);
      }
      continue;
    }
    for (int g = 0; g < groups; ++g) Group<kAllPoints>(z, g * 4 * s, s, Twiddles(twiddles + 6 * g));
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

__attribute__((target("avx2,fma"))) void ForwardUntangle(double* z, int n, const double* c, int nc, int ks) {
  const int m = n >> 1;
  for (int p = 1; p < m / 2; ++p) {
    const int k = m - p;
    const int kk = ks * p;
    const __m256d pj = _mm256_loadu_pd(z + 4 * p), pk = _mm256_loadu_pd(z + 4 * k);
    // (xr, xi) = (jr - kr, ji + ki); y = (wkr xr - wki xi, wkr xi + wki xr).
    const __m256d x = _mm256_addsub_pd(pj, pk);
    const __m256d y = Times(x, _mm256_set1_pd(0.5 - c[nc - kk]), _mm256_set1_pd(c[kk]));
    _mm256_storeu_pd(z + 4 * p, _mm256_sub_pd(pj, y));
    _mm256_storeu_pd(z + 4 * k, _mm256_add_pd(pk, NegateIm(y)));
  }
  for (int l = 0; l < 2; ++l) {
    const double x = z[2 * l] - z[2 * l + 1];
    z[2 * l] += z[2 * l + 1];
    z[2 * l + 1] = x;
  }
}

__attribute__((target("avx2,fma"))) void MultiplyIntoLanesForInverse(const double* x, int lane, const double* table,
                                                                      int n, const double* c, int nc, int ks,
                                                                      const int32_t* rev, double* out) {
  ProductForInverse(n, c, nc, ks, rev, out, LaneProduct{x, lane, table});
}

__attribute__((target("avx2,fma"))) void MultiplyAddPairForInverse(const double* xa, const double* xb,
                                                                    const double* table, int n, const double* c,
                                                                    int nc, int ks, const int32_t* rev, double* out) {
  ProductForInverse(n, c, nc, ks, rev, out, PairProduct{xa, xb, table});
}

}  // namespace HalfBlockPasses

#else

namespace HalfBlockPasses {
bool Available() { return false; }
void Passes(double*, int, const double*, LastPass) {}
void ForwardEvenPhases(const double*, const double*, const double*, const double*, int, const int32_t*, const double*,
                       double*) {}
void ForwardPhases(const double*, const double*, int, const int32_t*, const double*, double*) {}
void ForwardUntangle(double*, int, const double*, int, int) {}
void MultiplyIntoLanesForInverse(const double*, int, const double*, int, const double*, int, int, const int32_t*,
                                 double*) {}
void MultiplyAddPairForInverse(const double*, const double*, const double*, int, const double*, int, int,
                               const int32_t*, double*) {}
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
