#include "dsp/convolution/SplitRadixFFT.h"

#include <cmath>
#include <functional>
#include <mutex>
#include <vector>

namespace SplitRadixFFT {

namespace {

constexpr int kMaxLog2 = 19;
constexpr int kFirstLargeSize = 1024;  // from here the tables hold one octant
constexpr int kPermutationEntries = (1 << (kMaxLog2 + 1)) - 16;
constexpr double kQuarterPi = 0.7853981633974483;
constexpr double kSqrtHalf = 0.7071067811865476;

// Each size's twiddles (k = 4 .. 19) and the permutation blocks are made
// on first use, each exactly once: a program that never transforms more
// than 4096 points never spends the time or the memory of the 2^19 tables.
struct Tables {
  // Per size 2^k: (cos j s, sin j s) for j = 1 .. count, s = 2 pi / N.
  std::vector<double> twiddles[kMaxLog2 + 1];
  std::once_flag twiddlesMade[kMaxLog2 + 1];
  std::vector<int> permutation;
  std::once_flag permutationMade;
};

// step = (pi / 4) / (count + 1), doubled when asked: both give 2 pi / N for
// the counts used (N / 4 - 1 doubled, N / 8 - 1 single).
void MakeTwiddleTable(double* table, int count, bool doubled) {
  double step = kQuarterPi / (count + 1);
  if (doubled) step *= 2.0;
  for (int j = 1; j <= count; ++j) {
    table[2 * (j - 1)] = std::cos(j * step);
    table[2 * (j - 1) + 1] = std::sin(j * step);
  }
}

void MakeTwiddles(std::vector<double>& twiddles, int k) {
  const int n = 1 << k;
  const bool large = n >= kFirstLargeSize;
  const int count = large ? n / 8 - 1 : n / 4 - 1;
  twiddles.resize(2 * static_cast<size_t>(count));
  MakeTwiddleTable(twiddles.data(), count, !large);
}

// r(N, p) level by level from r(N/2, .) and r(N/4, .), then inverted into
// the permutation blocks.
void MakePermutation(std::vector<int>& permutation) {
  permutation.assign(kPermutationEntries, 0);
  std::vector<int> quarter{0, 2, 1, 3};       // r(4, .)
  std::vector<int> half{0, 4, 2, 6, 1, 5, 7, 3};  // r(8, .)
  for (int n = 16; n <= kMaxSize; n *= 2) {
    std::vector<int> r(static_cast<size_t>(n));
    const int h = n / 2;
    const int q = n / 4;
    for (int p = 0; p < h; ++p) r[p] = 2 * half[p];
    for (int p = 0; p < q; ++p) r[h + p] = 4 * quarter[p] + 1;
    for (int p = 0; p < q; ++p) r[h + q + p] = (4 * quarter[p] - 1) & (n - 1);
    int* block = permutation.data() + (n - 16);
    block[0] = 0;
    for (int p = 1; p < n; ++p) block[n - r[p]] = p;
    quarter.swap(half);
    half.swap(r);
  }
}

// Construct-on-first-use: the language guarantees one initialisation, and
// std::call_once that no thread sees a table before it is whole.
Tables& GetTables() {
  static Tables tables;
  return tables;
}

// Makes the twiddles of every size up to 2^log2n that the transforms of
// that size descend into.
void EnsureTwiddles(int log2n) {
  Tables& tables = GetTables();
  for (int k = 4; k <= log2n; ++k) std::call_once(tables.twiddlesMade[k], MakeTwiddles, std::ref(tables.twiddles[k]), k);
}

// Only after EnsureTwiddles of this size or a larger one.
const double* Twiddles(int log2n) { return GetTables().twiddles[log2n].data(); }

int Log2(int n) {
  int k = 0;
  while ((1 << k) < n) ++k;
  return k;
}

// ---- Forward: decimation in frequency, conjugate-pair split radix. -----
// With quarter q = N/4 and x0..x3 = x[j], x[j+q], x[j+2q], x[j+3q]:
//   x[j]    = x0 + x2,  x[j+q] = x1 + x3                  (even bins, size N/2)
//   x[j+2q] = ((x0 - x2) + i (x1 - x3)) w^j               (bins 4k + 1, size N/4)
//   x[j+3q] = ((x0 - x2) - i (x1 - x3)) w^-j              (bins 4k - 1, size N/4)
// with w = e^(2 pi i / N).

inline void ForwardButterfly(double* x, int j, int q, double c, double s) {
  double* p0 = x + 2 * j;
  double* p1 = p0 + 2 * q;
  double* p2 = p1 + 2 * q;
  double* p3 = p2 + 2 * q;
  const double d0r = p0[0] - p2[0], d0i = p0[1] - p2[1];
  const double d1r = p1[0] - p3[0], d1i = p1[1] - p3[1];
  p0[0] += p2[0];
  p0[1] += p2[1];
  p1[0] += p3[0];
  p1[1] += p3[1];
  const double ar = d0r - d1i, ai = d0i + d1r;  // d0 + i d1
  const double br = d0r + d1i, bi = d0i - d1r;  // d0 - i d1
  p2[0] = ar * c - ai * s;
  p2[1] = ar * s + ai * c;
  p3[0] = br * c + bi * s;
  p3[1] = bi * c - br * s;
}

// ---- Inverse: the transpose, decimation in time. -----
// With E0 = x[j], E1 = x[j+q] (size-N/2 result), A = x[j+2q], B = x[j+3q]
// (the two size-N/4 results), a = A w^-j, b = B w^j:
//   x[j] = E0 + (a + b), x[j+2q] = E0 - (a + b),
//   x[j+q] = E1 - i (a - b), x[j+3q] = E1 + i (a - b).

inline void InverseButterfly(double* x, int j, int q, double c, double s) {
  double* p0 = x + 2 * j;
  double* p1 = p0 + 2 * q;
  double* p2 = p1 + 2 * q;
  double* p3 = p2 + 2 * q;
  const double ar = p2[0] * c + p2[1] * s, ai = p2[1] * c - p2[0] * s;
  const double br = p3[0] * c - p3[1] * s, bi = p3[0] * s + p3[1] * c;
  const double sr = ar + br, si = ai + bi;
  const double dr = ar - br, di = ai - bi;
  const double e0r = p0[0], e0i = p0[1];
  const double e1r = p1[0], e1i = p1[1];
  p0[0] = e0r + sr;
  p0[1] = e0i + si;
  p2[0] = e0r - sr;
  p2[1] = e0i - si;
  p1[0] = e1r + di;  // E1 - i d
  p1[1] = e1i - dr;
  p3[0] = e1r - di;  // E1 + i d
  p3[1] = e1i + dr;
}

// Sizes 32 .. 512 (and 16): table entries j = 1 .. N/4 - 1.
template <void Butterfly(double*, int, int, double, double)>
void SmallPass(double* x, int n, const double* table) {
  const int q = n / 4;
  Butterfly(x, 0, q, 1.0, 0.0);
  for (int j = 1; j < q; ++j) Butterfly(x, j, q, table[2 * (j - 1)], table[2 * (j - 1) + 1]);
}

// Sizes 1024 .. 2^19: table entries j = 1 .. N/8 - 1; the second octant
// follows from w^(N/4 - j) = (sin j s, cos j s).
template <void Butterfly(double*, int, int, double, double)>
void LargePass(double* x, int n, const double* table) {
  const int q = n / 4;
  const int e = n / 8;
  Butterfly(x, 0, q, 1.0, 0.0);
  Butterfly(x, e, q, kSqrtHalf, kSqrtHalf);
  for (int j = 1; j < e; ++j) {
    const double c = table[2 * (j - 1)];
    const double s = table[2 * (j - 1) + 1];
    Butterfly(x, j, q, c, s);
    Butterfly(x, q - j, q, s, c);
  }
}

inline void Butterfly2(double* x) {
  const double ar = x[0], ai = x[1];
  x[0] = ar + x[2];
  x[1] = ai + x[3];
  x[2] = ar - x[2];
  x[3] = ai - x[3];
}

void Forward4(double* x) {
  const double s0r = x[0] + x[4], s0i = x[1] + x[5];  // x0 + x2
  const double s1r = x[2] + x[6], s1i = x[3] + x[7];  // x1 + x3
  const double d0r = x[0] - x[4], d0i = x[1] - x[5];  // x0 - x2
  const double d1r = x[2] - x[6], d1i = x[3] - x[7];  // x1 - x3
  x[0] = s0r + s1r;
  x[1] = s0i + s1i;
  x[2] = s0r - s1r;
  x[3] = s0i - s1i;
  x[4] = d0r - d1i;  // (x0 - x2) + i (x1 - x3)
  x[5] = d0i + d1r;
  x[6] = d0r + d1i;  // (x0 - x2) - i (x1 - x3)
  x[7] = d0i - d1r;
}

void Inverse4(double* x) {
  const double e0r = x[0] + x[2], e0i = x[1] + x[3];
  const double e1r = x[0] - x[2], e1i = x[1] - x[3];
  const double sr = x[4] + x[6], si = x[5] + x[7];
  const double dr = x[4] - x[6], di = x[5] - x[7];
  x[0] = e0r + sr;
  x[1] = e0i + si;
  x[4] = e0r - sr;
  x[5] = e0i - si;
  x[2] = e1r + di;
  x[3] = e1i - dr;
  x[6] = e1r - di;
  x[7] = e1i + dr;
}

void Forward8(double* x) {
  ForwardButterfly(x, 0, 2, 1.0, 0.0);
  ForwardButterfly(x, 1, 2, kSqrtHalf, kSqrtHalf);
  Butterfly2(x + 12);
  Butterfly2(x + 8);
  Forward4(x);
}

void Inverse8(double* x) {
  Inverse4(x);
  Butterfly2(x + 8);
  Butterfly2(x + 12);
  InverseButterfly(x, 0, 2, 1.0, 0.0);
  InverseButterfly(x, 1, 2, kSqrtHalf, kSqrtHalf);
}

void Forward(double* x, int n, int log2n) {
  switch (n) {
    case 2:
      Butterfly2(x);
      return;
    case 4:
      Forward4(x);
      return;
    case 8:
      Forward8(x);
      return;
    default:
      break;
  }
  if (n < kFirstLargeSize) {
    SmallPass<ForwardButterfly>(x, n, Twiddles(log2n));
  } else {
    LargePass<ForwardButterfly>(x, n, Twiddles(log2n));
  }
  Forward(x + 3 * n / 2, n / 4, log2n - 2);
  Forward(x + n, n / 4, log2n - 2);
  Forward(x, n / 2, log2n - 1);
}

void Inverse(double* x, int n, int log2n) {
  switch (n) {
    case 2:
      Butterfly2(x);
      return;
    case 4:
      Inverse4(x);
      return;
    case 8:
      Inverse8(x);
      return;
    default:
      break;
  }
  Inverse(x, n / 2, log2n - 1);
  Inverse(x + n, n / 4, log2n - 2);
  Inverse(x + 3 * n / 2, n / 4, log2n - 2);
  if (n < kFirstLargeSize) {
    SmallPass<InverseButterfly>(x, n, Twiddles(log2n));
  } else {
    LargePass<InverseButterfly>(x, n, Twiddles(log2n));
  }
}

}  // namespace

void InitFFT(int maxSize) {
  int log2n = 0;
  while (log2n < kMaxLog2 && (1 << log2n) < maxSize) ++log2n;
  EnsureTwiddles(log2n);
}

bool IsSupportedSize(int n) { return n >= kMinSize && n <= kMaxSize && (n & (n - 1)) == 0; }

bool RunFFT(double* data, int n, int direction) {
  if (!data || !IsSupportedSize(n)) return false;
  const int log2n = Log2(n);
  EnsureTwiddles(log2n);
  if (direction == 0) {
    Forward(data, n, log2n);
  } else {
    Inverse(data, n, log2n);
  }
  return true;
}

int ScrambledIndex(int n, int p) {
  if (n < 3) return p;
  const int h = n / 2;
  const int q = n / 4;
  if (p < h) return 2 * ScrambledIndex(h, p);
  const int r = p - h;
  if (r < q) return 4 * ScrambledIndex(q, r) + 1;
  return (4 * ScrambledIndex(q, r - q) - 1) & (n - 1);
}

const int* GetPermutationTable() {
  Tables& tables = GetTables();
  std::call_once(tables.permutationMade, MakePermutation, std::ref(tables.permutation));
  return tables.permutation.data();
}

const int* GetPermutation(int n) {
  if (n < 16 || !IsSupportedSize(n)) return nullptr;
  return GetPermutationTable() + (n - 16);
}

}  // namespace SplitRadixFFT
