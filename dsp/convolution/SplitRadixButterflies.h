#pragma once

// The split-radix passes shared by SplitRadixFFT.cpp and the vector passes
// of SplitRadixFFTAvx.cpp; not for other callers.

namespace SplitRadixDetail {

constexpr int kFirstLargeSize = 1024;  // from here the tables hold one octant
constexpr double kSqrtHalf = 0.7071067811865476;

// ---- Forward: decimation in frequency, conjugate-pair split radix. -----
// With quarter q = N/4 and x0..x3 = x[j], x[j+q], x[j+2q], x[j+3q]:
//   x[j]    = x0 + x2,  x[j+q] = x1 + x3                  (even bins, size N/2)
//   x[j+2q] = ((x0 - x2) + i (x1 - x3)) w^j               (bins 4k + 1, size N/4)
//   x[j+3q] = ((x0 - x2) - i (x1 - x3)) w^-j              (bins 4k - 1, size N/4)
// with w = e^(2 pi i / N).

template <class T>
inline void ForwardButterfly(T* x, int j, int q, double c, double s) {
  T* p0 = x + 2 * j;
  T* p1 = p0 + 2 * q;
  T* p2 = p1 + 2 * q;
  T* p3 = p2 + 2 * q;
  const T d0r = p0[0] - p2[0], d0i = p0[1] - p2[1];
  const T d1r = p1[0] - p3[0], d1i = p1[1] - p3[1];
  p0[0] += p2[0];
  p0[1] += p2[1];
  p1[0] += p3[0];
  p1[1] += p3[1];
  const T ar = d0r - d1i, ai = d0i + d1r;  // d0 + i d1
  const T br = d0r + d1i, bi = d0i - d1r;  // d0 - i d1
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

template <class T>
inline void InverseButterfly(T* x, int j, int q, double c, double s) {
  T* p0 = x + 2 * j;
  T* p1 = p0 + 2 * q;
  T* p2 = p1 + 2 * q;
  T* p3 = p2 + 2 * q;
  const T ar = p2[0] * c + p2[1] * s, ai = p2[1] * c - p2[0] * s;
  const T br = p3[0] * c - p3[1] * s, bi = p3[0] * s + p3[1] * c;
  const T sr = ar + br, si = ai + bi;
  const T dr = ar - br, di = ai - bi;
  const T e0r = p0[0], e0i = p0[1];
  const T e1r = p1[0], e1i = p1[1];
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
template <class T, void Butterfly(T*, int, int, double, double)>
void SmallPass(T* x, int n, const double* table) {
  const int q = n / 4;
  Butterfly(x, 0, q, 1.0, 0.0);
  for (int j = 1; j < q; ++j) Butterfly(x, j, q, table[2 * (j - 1)], table[2 * (j - 1) + 1]);
}

// Sizes 1024 .. 2^19: table entries j = 1 .. N/8 - 1; the second octant
// follows from w^(N/4 - j) = (sin j s, cos j s).
template <class T, void Butterfly(T*, int, int, double, double)>
void LargePass(T* x, int n, const double* table) {
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

// Vector passes: ForwardPass or InversePass of SmallPass (n < 1024) or
// LargePass of the butterflies above, several j at a time, each point bit
// for bit as the scalar pass leaves it (SplitRadixFFTAvx.cpp).
void ForwardPassAvx512(double* x, int n, const double* table);
void InversePassAvx512(double* x, int n, const double* table);

// The transforms of 4 and 8 points (Forward4, Forward8, Inverse4 and
// Inverse8 of SplitRadixFFT.cpp) with their points in vector lanes, each
// double formed by the scalar code's operations in its order.
void Forward4Avx512(double* x);
void Forward8Avx512(double* x);
void Inverse4Avx512(double* x);
void Inverse8Avx512(double* x);

// The whole forward and inverse transforms of n >= 4 points with the
// vector passes and the small transforms above, as SplitRadixFFT.cpp's
// recursions run them; tables[k] is the twiddle table of size 2^k.
void ForwardAvx512(double* x, int n, int log2n, const double* const* tables);
void InverseAvx512(double* x, int n, int log2n, const double* const* tables);

// work[k] (+)= h[k] x[k] for `points` complex values, each product's parts
// as (hr xr - hi xi, hr xi + hi xr), accumulated or not.
void MultiplySpectraAvx512(const double* h, const double* x, double* work, int points, bool accumulate);

}  // namespace SplitRadixDetail
