#include "dsp/resampler/RealFFTWithTables.h"

#include <cmath>
#include <type_traits>
#include <utility>

#include "dsp/fft/SampleLanes.h"
#include "dsp/resampler/RealFFTPairPasses.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// Reverses the order of `count` complex values (count a power of two).
// Without a table the reversed index is counted along, a few steps a point.
template <class T>
void BitReverse(T* z, int count, const int32_t* table) {
  if constexpr (std::is_same_v<T, SampleLanes>) {
    static const bool kAvx2 = RealFFTDetail::HasAvx2();
    if (table && kAvx2) {
      RealFFTDetail::BitReversePairsAvx2(reinterpret_cast<double*>(z), count, table);
      return;
    }
  }
  if (table) {
    for (int i = 0; i < count; ++i) {
      const int j = table[i];
      if (j > i) {
        std::swap(z[2 * i], z[2 * j]);
        std::swap(z[2 * i + 1], z[2 * j + 1]);
      }
    }
    return;
  }
  for (int i = 0, j = 0; i < count; ++i) {
    if (j > i) {
      std::swap(z[2 * i], z[2 * j]);
      std::swap(z[2 * i + 1], z[2 * j + 1]);
    }
    int bit = count >> 1;
    while (bit > 0 && (j & bit)) {
      j ^= bit;
      bit >>= 1;
    }
    j |= bit;
  }
}

// Twiddles e^(+2 pi i m / (n/2)) for m < n/8, the first quarter circle of
// the half-length complex transform, stored in bit-reversed order: entry g
// is then the twiddle of butterfly group g at every stage (see Transform).
void MakeTwiddles(int nw, double* w) {
  const int h = nw >> 1;
  const double delta = (kPi / 4) / h;
  w[0] = 1.0;
  w[1] = 0.0;
  w[h] = std::cos(delta * h);
  w[h + 1] = w[h];
  for (int j = 2; j < h; j += 2) {
    const double c = std::cos(delta * j);
    const double s = std::sin(delta * j);
    w[j] = c;
    w[j + 1] = s;
    w[nw - j] = s;
    w[nw - j + 1] = c;
  }
  BitReverse(w, nw >> 1, nullptr);
}

// c[k] = 0.5 cos(2 pi k / n) for 0 < k < n/4 (c[0] is not read).
void MakeSplitTable(int nc, double* c) {
  const int h = nc >> 1;
  const double delta = (kPi / 4) / h;
  c[0] = std::cos(delta * h);
  c[h] = 0.5 * c[0];
  for (int j = 1; j < h; ++j) {
    c[j] = 0.5 * std::cos(delta * j);
    c[nc - j] = 0.5 * std::sin(delta * j);
  }
}

// Complex transform of m points already in bit-reversed order, natural order
// out. Stage s (partners s apart) gives block b the twiddle
// e^(i pi rev(b) / blocks); with the table in bit-reversed order that is
// w[b/2] for even b and i w[b/2] for odd b, at every stage, and the next
// stage's twiddle for the pair of blocks is that value squared. Two stages
// are therefore fused into one radix-4 pass that reads one table entry per
// group. sign +1 or -1 picks the exponent (conjugate twiddles).
template <class T>
void Transform(T* z, int m, const double* w, double sign) {
  int s = 1;
  int log2m = 0;
  while ((1 << log2m) < m) ++log2m;
  if (log2m & 1) {
    // One radix-2 stage with partners 1 apart: block b holds points 2b, 2b+1.
    for (int b = 0; b < m / 2; ++b) {
      const int g = b >> 1;
      double tr = g ? w[2 * g] : 1.0;
      double ti = g ? sign * w[2 * g + 1] : 0.0;
      if (b & 1) {
        // Times i (or -i for the inverse).
        const double t = tr;
        tr = -sign * ti;
        ti = sign * t;
      }
      T* p = z + 4 * b;
      const T dr = p[0] - p[2];
      const T di = p[1] - p[3];
      p[0] += p[2];
      p[1] += p[3];
      p[2] = tr * dr - ti * di;
      p[3] = tr * di + ti * dr;
    }
    s = 2;
  }
  for (; s < m; s <<= 2) {
    if constexpr (std::is_same_v<T, SampleLanes>) {
      static const bool kAvx512 = RealFFTDetail::HasAvx512();
      static const bool kAvx2 = RealFFTDetail::HasAvx2();
      if (kAvx512 && s >= 2) {
        RealFFTDetail::Radix4PassPairsAvx512(reinterpret_cast<double*>(z), m, s, w, sign);
        continue;
      }
      if (kAvx2) {
        RealFFTDetail::Radix4PassPairsAvx2(reinterpret_cast<double*>(z), m, s, w, sign);
        continue;
      }
    }
    const int groups = m / (4 * s);
    for (int g = 0; g < groups; ++g) {
      const RealFFTDetail::GroupTwiddleValues t(g, w, sign);
      const double w1r = t.w1r, w1i = t.w1i, w2r = t.w2r, w2i = t.w2i, w3r = t.w3r, w3i = t.w3i;
      T* pa = z + 2 * (g * 4 * s);
      T* pb = pa + 2 * s;
      T* pc = pb + 2 * s;
      T* pd = pc + 2 * s;
      for (int t = 0; t < 2 * s; t += 2) {
        const T ar = pa[t] + pb[t], ai = pa[t + 1] + pb[t + 1];
        const T xr = pa[t] - pb[t], xi = pa[t + 1] - pb[t + 1];
        const T br = w1r * xr - w1i * xi, bi = w1r * xi + w1i * xr;
        const T cr = pc[t] + pd[t], ci = pc[t + 1] + pd[t + 1];
        const T yr = pc[t] - pd[t], yi = pc[t + 1] - pd[t + 1];
        const T dr = w3r * yr - w3i * yi, di = w3r * yi + w3i * yr;
        pa[t] = ar + cr;
        pa[t + 1] = ai + ci;
        pb[t] = br + dr;
        pb[t + 1] = bi + di;
        const T er = ar - cr, ei = ai - ci;
        const T fr = br - dr, fi = bi - di;
        pc[t] = w2r * er - w2i * ei;
        pc[t + 1] = w2r * ei + w2i * er;
        pd[t] = w2r * fr - w2i * fi;
        pd[t + 1] = w2r * fi + w2i * fr;
      }
    }
  }
}

}  // namespace

int RealFFTWorkAreaIpSize(int n) {
  return static_cast<int>(std::ceil(std::sqrt(n / 2.0) + 2.0));
}

namespace {

// The twiddle and split tables of a size, made in the work area the first
// time; returns the split table and sets its size and the step through it.
const double* EnsureTables(int n, int* ip, double* w, int* ncOut, int* ksOut) {
  int nw = ip[0];
  if (4 * nw < n) {
    nw = n >> 2;
    ip[0] = nw;
    if (nw > 2) MakeTwiddles(nw, w);
    // The split table sits behind the twiddles, which just moved its start.
    ip[1] = 0;
  }
  int nc = ip[1];
  if (4 * nc < n) {
    nc = n >> 2;
    ip[1] = nc;
    if (nc > 1) MakeSplitTable(nc, w + nw);
  }
  *ncOut = nc;
  // Table entries step by this much when the tables were built for a larger n.
  *ksOut = 2 * nc / (n >> 1);
  return w + nw;
}

// Untangle the transform of z[j] = a[2j] + i a[2j+1] into the spectrum of
// the real sequence: X[k] = Z[k] - x (1/2 + i e^(2 pi i k/n) / 2), with
// x = Z[k] - conj Z[m-k], and the mirror bin likewise.
template <class T>
void ForwardUntangle(T* a, int n, const double* c, int nc, int ks) {
  const int m = n >> 1;
  for (int j = 2, kk = 0; j < m; j += 2) {
    const int k = n - j;
    kk += ks;
    const double wkr = 0.5 - c[nc - kk];
    const double wki = c[kk];
    const T xr = a[j] - a[k];
    const T xi = a[j + 1] + a[k + 1];
    const T yr = wkr * xr - wki * xi;
    const T yi = wkr * xi + wki * xr;
    a[j] -= yr;
    a[j + 1] -= yi;
    a[k] += yr;
    a[k + 1] -= yi;
  }
  const T x = a[0] - a[1];
  a[0] += a[1];
  a[1] = x;
}

// The inverse untangling rebuilds Z[k] from X[k] and X[m-k], from `from`
// into `to` with complex point p placed at place(p): the identity in place,
// the bit reversal when the reordering goes along with it.
template <class T, class Place>
void InverseUntangle(const T* from, T* to, int n, const double* c, int nc, int ks, Place place) {
  const int m = n >> 1;
  const T a1 = 0.5 * (from[0] - from[1]);
  const T a0 = from[0] - a1;
  const int first = place(0);
  to[2 * first] = a0;
  to[2 * first + 1] = a1;
  for (int j = 2, kk = 0; j < m; j += 2) {
    const int k = n - j;
    kk += ks;
    const double wkr = 0.5 - c[nc - kk];
    const double wki = c[kk];
    const T xr = from[j] - from[k];
    const T xi = from[j + 1] + from[k + 1];
    const T yr = wkr * xr + wki * xi;
    const T yi = wkr * xi - wki * xr;
    const int pj = place(j >> 1), pk = place(k >> 1);
    const T aj = from[j] - yr, aj1 = from[j + 1] - yi, ak = from[k] + yr, ak1 = from[k + 1] - yi;
    to[2 * pj] = aj;
    to[2 * pj + 1] = aj1;
    to[2 * pk] = ak;
    to[2 * pk + 1] = ak1;
  }
  // The middle point pairs with itself and is left as it is.
  const int middle = place(m >> 1);
  const T mr = from[m], mi = from[m + 1];
  to[2 * middle] = mr;
  to[2 * middle + 1] = mi;
}

template <class T>
void RealFFT(int n, int direction, T* a, int* ip, double* w, const int32_t* bitReverse) {
  if (n < 4 || (n & (n - 1)) != 0) return;
  int nc = 0, ks = 0;
  const double* c = EnsureTables(n, ip, w, &nc, &ks);
  const int m = n >> 1;
  bool vector = false;
  if constexpr (std::is_same_v<T, SampleLanes>) {
    static const bool kAvx2 = RealFFTDetail::HasAvx2();
    vector = kAvx2;
  }
  if (direction >= 0) {
    BitReverse(a, m, bitReverse);
    Transform(a, m, w, 1.0);
    if (vector) {
      RealFFTDetail::ForwardUntanglePairsAvx2(reinterpret_cast<double*>(a), n, c, nc, ks);
    } else {
      ForwardUntangle(a, n, c, nc, ks);
    }
  } else {
    if (vector) {
      RealFFTDetail::InverseUntanglePairsAvx2(reinterpret_cast<double*>(a), n, c, nc, ks);
    } else {
      InverseUntangle(a, a, n, c, nc, ks, [](int p) { return p; });
    }
    BitReverse(a, m, bitReverse);
    Transform(a, m, w, -1.0);
  }
}

template <class T>
void MultiplyPacked(T* a, const double* k, int n) {
  a[0] *= k[0];
  a[1] *= k[1];
  for (int i = 2; i < n; i += 2) {
    const T re = a[i] * k[i] - a[i + 1] * k[i + 1];
    const T im = a[i] * k[i + 1] + a[i + 1] * k[i];
    a[i] = re;
    a[i + 1] = im;
  }
}

}  // namespace

void RealFFTWithTables(int n, int direction, double* a, int* ip, double* w, const int32_t* bitReverse) {
  RealFFT(n, direction, a, ip, w, bitReverse);
}

void RealFFTTwoWithTables(int n, int direction, double* lanes, int* ip, double* w, const int32_t* bitReverse) {
  RealFFT(n, direction, reinterpret_cast<SampleLanes*>(lanes), ip, w, bitReverse);
}

void MultiplyPackedSpectrum(int n, double* a, const double* spectrum) { MultiplyPacked(a, spectrum, n); }

void FilterPairWithTables(int n, double* first, double* second, const double* spectrum, int* ip, double* w,
                          const int32_t* bitReverse, double* work, bool firstHalfOnly) {
  if (n < 4 || (n & (n - 1)) != 0) return;
  static const bool kVector = RealFFTDetail::HasAvx512();
  if (kVector) {
    int nc = 0, ks = 0;
    const double* c = EnsureTables(n, ip, w, &nc, &ks);
    if (RealFFTDetail::FilterPairAvx512(n, first, second, spectrum, w, c, nc, ks, bitReverse, work, firstHalfOnly)) {
      return;
    }
  }
  FilterPairWithTablesLanes(n, first, second, spectrum, ip, w, bitReverse, work);
}

void FilterPairWithTablesLanes(int n, double* first, double* second, const double* spectrum, int* ip, double* w,
                               const int32_t* bitReverse, double* work) {
  if (n < 4 || (n & (n - 1)) != 0) return;
  int nc = 0, ks = 0;
  const double* c = EnsureTables(n, ip, w, &nc, &ks);
  const int m = n >> 1;
  SampleLanes* p = reinterpret_cast<SampleLanes*>(work);
  SampleLanes* q = p + n;
  // The two sequences go in side by side and already reordered: position
  // i takes complex point rev(i), (a[2 rev(i)], a[2 rev(i) + 1]), which the
  // forward transform's reordering would have swapped into it. Written in
  // order, read where the reordering says.
  for (int i = 0; i < m; ++i) {
    const int j = bitReverse[i];
    p[2 * i] = JoinLanes(first + 2 * j, second + 2 * j);
    p[2 * i + 1] = JoinLanes(first + 2 * j + 1, second + 2 * j + 1);
  }
  Transform(p, m, w, 1.0);
  ForwardUntangle(p, n, c, nc, ks);
  MultiplyPacked(p, spectrum, n);
  // The inverse untangling writes each point where the inverse's
  // reordering would have moved it.
  InverseUntangle(p, q, n, c, nc, ks, [bitReverse](int point) { return static_cast<int>(bitReverse[point]); });
  Transform(q, m, w, -1.0);
  for (int i = 0; i < n; i += 2) SplitLanes2(q[i], q[i + 1], first + i, second + i);
}

const double* RealFFTTables(int n, int* ip, double* w, int* nc, int* ks) { return EnsureTables(n, ip, w, nc, ks); }

void MakeBitReverseTable(int m, int32_t* table) {
  for (int i = 0, j = 0; i < m; ++i) {
    table[i] = j;
    int bit = m >> 1;
    while (bit > 0 && (j & bit)) {
      j ^= bit;
      bit >>= 1;
    }
    j |= bit;
  }
}
