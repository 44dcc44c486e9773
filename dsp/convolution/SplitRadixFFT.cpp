#include "dsp/convolution/SplitRadixFFT.h"

#include "dsp/convolution/SplitRadixButterflies.h"
#include "dsp/fft/SampleLanes.h"

#include <cmath>
#include <functional>
#include <mutex>
#include <vector>

namespace SplitRadixFFT {

namespace {

using namespace SplitRadixDetail;

constexpr int kMaxLog2 = 19;
constexpr int kPermutationEntries = (1 << (kMaxLog2 + 1)) - 16;
constexpr double kQuarterPi = 0.7853981633974483;

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

template <class T>
inline void Butterfly2(T* x) {
  const T ar = x[0], ai = x[1];
  x[0] = ar + x[2];
  x[1] = ai + x[3];
  x[2] = ar - x[2];
  x[3] = ai - x[3];
}

template <class T>
void Forward4(T* x) {
  const T s0r = x[0] + x[4], s0i = x[1] + x[5];  // x0 + x2
  const T s1r = x[2] + x[6], s1i = x[3] + x[7];  // x1 + x3
  const T d0r = x[0] - x[4], d0i = x[1] - x[5];  // x0 - x2
  const T d1r = x[2] - x[6], d1i = x[3] - x[7];  // x1 - x3
  x[0] = s0r + s1r;
  x[1] = s0i + s1i;
  x[2] = s0r - s1r;
  x[3] = s0i - s1i;
  x[4] = d0r - d1i;  // (x0 - x2) + i (x1 - x3)
  x[5] = d0i + d1r;
  x[6] = d0r + d1i;  // (x0 - x2) - i (x1 - x3)
  x[7] = d0i - d1r;
}

template <class T>
void Inverse4(T* x) {
  const T e0r = x[0] + x[2], e0i = x[1] + x[3];
  const T e1r = x[0] - x[2], e1i = x[1] - x[3];
  const T sr = x[4] + x[6], si = x[5] + x[7];
  const T dr = x[4] - x[6], di = x[5] - x[7];
  x[0] = e0r + sr;
  x[1] = e0i + si;
  x[4] = e0r - sr;
  x[5] = e0i - si;
  x[2] = e1r + di;
  x[3] = e1i - dr;
  x[6] = e1r - di;
  x[7] = e1i + dr;
}

template <class T>
void Forward8(T* x) {
  ForwardButterfly(x, 0, 2, 1.0, 0.0);
  ForwardButterfly(x, 1, 2, kSqrtHalf, kSqrtHalf);
  Butterfly2(x + 12);
  Butterfly2(x + 8);
  Forward4(x);
}

template <class T>
void Inverse8(T* x) {
  Inverse4(x);
  Butterfly2(x + 8);
  Butterfly2(x + 12);
  InverseButterfly(x, 0, 2, 1.0, 0.0);
  InverseButterfly(x, 1, 2, kSqrtHalf, kSqrtHalf);
}

// The passes of one size: the scalar ones of any element type, or a vector
// variant's for plain doubles.
template <class T>
struct ScalarPasses {
  static void Forward(T* x, int n, const double* table) {
    if (n < kFirstLargeSize) {
      SmallPass<T, ForwardButterfly<T>>(x, n, table);
    } else {
      LargePass<T, ForwardButterfly<T>>(x, n, table);
    }
  }
  static void Inverse(T* x, int n, const double* table) {
    if (n < kFirstLargeSize) {
      SmallPass<T, InverseButterfly<T>>(x, n, table);
    } else {
      LargePass<T, InverseButterfly<T>>(x, n, table);
    }
  }
  static void Forward4(T* x) { SplitRadixFFT::Forward4(x); }
  static void Forward8(T* x) { SplitRadixFFT::Forward8(x); }
  static void Inverse4(T* x) { SplitRadixFFT::Inverse4(x); }
  static void Inverse8(T* x) { SplitRadixFFT::Inverse8(x); }
};

struct Avx512Passes {
  static void Forward(double* x, int n, const double* table) { ForwardPassAvx512(x, n, table); }
  static void Inverse(double* x, int n, const double* table) { InversePassAvx512(x, n, table); }
  static void Forward4(double* x) { Forward4Avx512(x); }
  static void Forward8(double* x) { Forward8Avx512(x); }
  static void Inverse4(double* x) { Inverse4Avx512(x); }
  static void Inverse8(double* x) { Inverse8Avx512(x); }
};

template <class T, class Passes>
void Forward(T* x, int n, int log2n) {
  switch (n) {
    case 2:
      Butterfly2(x);
      return;
    case 4:
      Passes::Forward4(x);
      return;
    case 8:
      Passes::Forward8(x);
      return;
    default:
      break;
  }
  Passes::Forward(x, n, Twiddles(log2n));
  Forward<T, Passes>(x + 3 * n / 2, n / 4, log2n - 2);
  Forward<T, Passes>(x + n, n / 4, log2n - 2);
  Forward<T, Passes>(x, n / 2, log2n - 1);
}

template <class T, class Passes>
void Inverse(T* x, int n, int log2n) {
  switch (n) {
    case 2:
      Butterfly2(x);
      return;
    case 4:
      Passes::Inverse4(x);
      return;
    case 8:
      Passes::Inverse8(x);
      return;
    default:
      break;
  }
  Inverse<T, Passes>(x, n / 2, log2n - 1);
  Inverse<T, Passes>(x + n, n / 4, log2n - 2);
  Inverse<T, Passes>(x + 3 * n / 2, n / 4, log2n - 2);
  Passes::Inverse(x, n, Twiddles(log2n));
}

template <class T, class Passes>
void Run(T* data, int n, int log2n, int direction) {
  if (direction == 0) {
    Forward<T, Passes>(data, n, log2n);
  } else {
    Inverse<T, Passes>(data, n, log2n);
  }
}

bool CpuHas(FFTKernel kernel) {
#if defined(__x86_64__) || defined(__i386__)
  __builtin_cpu_init();
  switch (kernel) {
    case FFTKernel::kAvx512: return __builtin_cpu_supports("avx512f");
    default: return true;
  }
#else
  return kernel == FFTKernel::kPortable;
#endif
}

}  // namespace

void InitFFT(int maxSize) {
  int log2n = 0;
  while (log2n < kMaxLog2 && (1 << log2n) < maxSize) ++log2n;
  EnsureTwiddles(log2n);
}

bool IsSupportedSize(int n) { return n >= kMinSize && n <= kMaxSize && (n & (n - 1)) == 0; }

bool IsFFTKernelAvailable(FFTKernel kernel) { return CpuHas(kernel); }

FFTKernel BestFFTKernel() {
  static const FFTKernel best = [] {
    return CpuHas(FFTKernel::kAvx512) ? FFTKernel::kAvx512 : FFTKernel::kPortable;
  }();
  return best;
}

bool RunFFTWith(FFTKernel kernel, double* data, int n, int direction) {
  if (!data || !IsSupportedSize(n)) return false;
  const int log2n = Log2(n);
  EnsureTwiddles(log2n);
  if (!CpuHas(kernel)) kernel = BestFFTKernel();
  switch (kernel) {
#if defined(__x86_64__) || defined(__i386__)
    case FFTKernel::kAvx512: {
      if (n < 4) {
        Run<double, Avx512Passes>(data, n, log2n, direction);
        break;
      }
      const double* tables[kMaxLog2 + 1] = {};
      for (int k = 4; k <= log2n; ++k) tables[k] = Twiddles(k);
      if (direction == 0) {
        ForwardAvx512(data, n, log2n, tables);
      } else {
        InverseAvx512(data, n, log2n, tables);
      }
      break;
    }
#endif
    default: Run<double, ScalarPasses<double>>(data, n, log2n, direction); break;
  }
  return true;
}

bool RunFFT(double* data, int n, int direction) { return RunFFTWith(BestFFTKernel(), data, n, direction); }

void MultiplySpectraWith(FFTKernel kernel, const double* h, const double* x, double* work, int points,
                         bool accumulate) {
#if defined(__x86_64__) || defined(__i386__)
  if (kernel == FFTKernel::kAvx512 && CpuHas(kernel)) {
    MultiplySpectraAvx512(h, x, work, points, accumulate);
    return;
  }
#endif
  for (int k = 0; k < points; ++k) {
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

void MultiplySpectra(const double* h, const double* x, double* work, int points, bool accumulate) {
  MultiplySpectraWith(BestFFTKernel(), h, x, work, points, accumulate);
}

bool RunFFTPair(double* pairs, int n, int direction) {
  if (!pairs || !IsSupportedSize(n)) return false;
  const int log2n = Log2(n);
  EnsureTwiddles(log2n);
  Run<SampleLanes, ScalarPasses<SampleLanes>>(reinterpret_cast<SampleLanes*>(pairs), n, log2n, direction);
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
