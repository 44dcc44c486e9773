#include "dsp/convolution/SlicedFFT.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "dsp/convolution/CpuFeatures.h"
#include "dsp/convolution/SplitRadixFFT.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
// GCC's AVX-512 headers fill unused lanes from a deliberately undefined
// value, which its own uninitialised-use warning then reports once inlined.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#pragma GCC diagnostic ignored "-Wuninitialized"
#endif
#endif

namespace {

int Log2(int n) {
  int s = 0;
  while ((1 << s) < n) ++s;
  return s;
}

int ReverseBits(int v, int bits) {
  int r = 0;
  for (int b = 0; b < bits; ++b) r |= ((v >> b) & 1) << (bits - 1 - b);
  return r;
}

}  // namespace

bool SlicedFFT::Setup(int n, int pieceSize, int stepPoints) {
  mSize = mPiece = mStep = mLevels = 0;
  if (n < 4 || n > SplitRadixFFT::kMaxSize || (n & (n - 1)) != 0) return false;
  if (pieceSize < 2 || pieceSize > n / 2 || (pieceSize & (pieceSize - 1)) != 0) return false;
  if (stepPoints == 0) stepPoints = pieceSize;
  if (stepPoints < pieceSize || stepPoints > n || (stepPoints & (stepPoints - 1)) != 0) return false;
  const int levels = Log2(n / pieceSize);

  mTwiddleStart.Resize(levels);
  int total = 0;
  for (int l = 0; l < levels; ++l) total += (n >> l) / 2;
  mTwiddles.Resize(2 * total);
  mMirror.Resize(n);
  if (mTwiddleStart.GetSize() != levels || mTwiddles.GetSize() != 2 * total || mMirror.GetSize() != n) return false;
  int at = 0;
  for (int l = 0; l < levels; ++l) {
    const int size = n >> l;
    mTwiddleStart.Get()[l] = at;
    for (int j = 0; j < size / 2; ++j) {
      const double angle = 2.0 * M_PI * j / size;
      mTwiddles.Get()[2 * (at + j)] = std::cos(angle);
      mTwiddles.Get()[2 * (at + j) + 1] = std::sin(angle);
    }
    at += size / 2;
  }
  SplitRadixFFT::InitFFT(pieceSize);
  mSize = n;
  mPiece = pieceSize;
  mStep = stepPoints;
  mLevels = levels;

  std::vector<int> positionOf(static_cast<size_t>(n));
  for (int p = 0; p < n; ++p) positionOf[static_cast<size_t>(BinAt(p))] = p;
  for (int p = 0; p < n; ++p) mMirror.Get()[p] = positionOf[static_cast<size_t>((n - BinAt(p)) & (n - 1))];
  return true;
}

int SlicedFFT::BinAt(int p) const {
  // Each pass sends the even bins to the first half of a block and the odd
  // ones to the second, so piece q holds the bins of residue
  // bitreverse(q) modulo 2^s, in the piece transform's own order.
  const int q = p / mPiece;
  return ReverseBits(q, mLevels) + (SplitRadixFFT::ScrambledIndex(mPiece, p % mPiece) << mLevels);
}

namespace {

// The butterflies of one chunk over n points (lo and hi each n complex, w
// their twiddles). Each value is formed as the plain loops form it, so the
// vector variant gives the same bits.
void ForwardPlain(double* lo, double* hi, const double* w, int n, bool hiZero) {
  if (hiZero) {
    for (int j = 0; j < n; ++j) {
      const double ur = lo[2 * j], ui = lo[2 * j + 1];
      const double wr = w[2 * j], wi = w[2 * j + 1];
      hi[2 * j] = ur * wr - ui * wi;
      hi[2 * j + 1] = ur * wi + ui * wr;
    }
    return;
  }
  for (int j = 0; j < n; ++j) {
    const double ur = lo[2 * j], ui = lo[2 * j + 1];
    const double vr = hi[2 * j], vi = hi[2 * j + 1];
    const double dr = ur - vr, di = ui - vi;
    const double wr = w[2 * j], wi = w[2 * j + 1];
    lo[2 * j] = ur + vr;
    lo[2 * j + 1] = ui + vi;
    hi[2 * j] = dr * wr - di * wi;
    hi[2 * j + 1] = dr * wi + di * wr;
  }
}

void InversePlain(double* lo, double* hi, const double* w, int n) {
  for (int j = 0; j < n; ++j) {
    const double ar = lo[2 * j], ai = lo[2 * j + 1];
    const double br = hi[2 * j], bi = hi[2 * j + 1];
    // b times the conjugate twiddle.
    const double wr = w[2 * j], wi = w[2 * j + 1];
    const double cr = br * wr + bi * wi, ci = bi * wr - br * wi;
    lo[2 * j] = ar + cr;
    lo[2 * j + 1] = ai + ci;
    hi[2 * j] = ar - cr;
    hi[2 * j + 1] = ai - ci;
  }
}

#if defined(__x86_64__) || defined(__i386__)

#define BRIMLOW_SLICED_AVX512 __attribute__((target("avx512f")))

// d times w, four complex values at once: (dr wr - di wi, di wr + dr wi).
BRIMLOW_SLICED_AVX512 inline __m512d Times(__m512d d, __m512d w) {
  const __m512d t1 = _mm512_mul_pd(d, _mm512_movedup_pd(w));
  const __m512d t2 = _mm512_mul_pd(_mm512_permute_pd(d, 0x55), _mm512_permute_pd(w, 0xFF));
  return _mm512_mask_sub_pd(_mm512_add_pd(t1, t2), 0x55, t1, t2);
}

// b times the conjugate of w: (br wr + bi wi, bi wr - br wi).
BRIMLOW_SLICED_AVX512 inline __m512d TimesConjugate(__m512d b, __m512d w) {
  const __m512d t1 = _mm512_mul_pd(b, _mm512_movedup_pd(w));
  const __m512d t2 = _mm512_mul_pd(_mm512_permute_pd(b, 0x55), _mm512_permute_pd(w, 0xFF));
  return _mm512_mask_sub_pd(_mm512_add_pd(t1, t2), 0xAA, t1, t2);
}

BRIMLOW_SLICED_AVX512 void ForwardAvx512(double* lo, double* hi, const double* w, int n, bool hiZero) {
  int j = 0;
  if (hiZero) {
    for (; j + 4 <= n; j += 4) {
      _mm512_storeu_pd(hi + 2 * j, Times(_mm512_loadu_pd(lo + 2 * j), _mm512_loadu_pd(w + 2 * j)));
    }
  } else {
    for (; j + 4 <= n; j += 4) {
      const __m512d u = _mm512_loadu_pd(lo + 2 * j), v = _mm512_loadu_pd(hi + 2 * j);
      _mm512_storeu_pd(lo + 2 * j, _mm512_add_pd(u, v));
      _mm512_storeu_pd(hi + 2 * j, Times(_mm512_sub_pd(u, v), _mm512_loadu_pd(w + 2 * j)));
    }
  }
  ForwardPlain(lo + 2 * j, hi + 2 * j, w + 2 * j, n - j, hiZero);
}

BRIMLOW_SLICED_AVX512 void InverseAvx512(double* lo, double* hi, const double* w, int n) {
  int j = 0;
  for (; j + 4 <= n; j += 4) {
    const __m512d a = _mm512_loadu_pd(lo + 2 * j);
    const __m512d c = TimesConjugate(_mm512_loadu_pd(hi + 2 * j), _mm512_loadu_pd(w + 2 * j));
    _mm512_storeu_pd(lo + 2 * j, _mm512_add_pd(a, c));
    _mm512_storeu_pd(hi + 2 * j, _mm512_sub_pd(a, c));
  }
  InversePlain(lo + 2 * j, hi + 2 * j, w + 2 * j, n - j);
}

#define BRIMLOW_SLICED_AVX2 __attribute__((target("avx2")))

// As Times and TimesConjugate, two complex values at once.
BRIMLOW_SLICED_AVX2 inline __m256d Times2(__m256d d, __m256d w) {
  const __m256d t1 = _mm256_mul_pd(d, _mm256_movedup_pd(w));
  const __m256d t2 = _mm256_mul_pd(_mm256_permute_pd(d, 0x5), _mm256_permute_pd(w, 0xF));
  return _mm256_addsub_pd(t1, t2);
}

BRIMLOW_SLICED_AVX2 inline __m256d TimesConjugate2(__m256d b, __m256d w) {
  const __m256d t1 = _mm256_mul_pd(b, _mm256_movedup_pd(w));
  const __m256d t2 = _mm256_mul_pd(_mm256_permute_pd(b, 0x5), _mm256_permute_pd(w, 0xF));
  // t1 - (-t2) and t1 + (-t2) are t1 + t2 and t1 - t2 exactly.
  return _mm256_addsub_pd(t1, _mm256_xor_pd(t2, _mm256_set1_pd(-0.0)));
}

BRIMLOW_SLICED_AVX2 void ForwardAvx2(double* lo, double* hi, const double* w, int n, bool hiZero) {
  int j = 0;
  if (hiZero) {
    for (; j + 2 <= n; j += 2) {
      _mm256_storeu_pd(hi + 2 * j, Times2(_mm256_loadu_pd(lo + 2 * j), _mm256_loadu_pd(w + 2 * j)));
    }
  } else {
    for (; j + 2 <= n; j += 2) {
      const __m256d u = _mm256_loadu_pd(lo + 2 * j), v = _mm256_loadu_pd(hi + 2 * j);
      _mm256_storeu_pd(lo + 2 * j, _mm256_add_pd(u, v));
      _mm256_storeu_pd(hi + 2 * j, Times2(_mm256_sub_pd(u, v), _mm256_loadu_pd(w + 2 * j)));
    }
  }
  ForwardPlain(lo + 2 * j, hi + 2 * j, w + 2 * j, n - j, hiZero);
}

BRIMLOW_SLICED_AVX2 void InverseAvx2(double* lo, double* hi, const double* w, int n) {
  int j = 0;
  for (; j + 2 <= n; j += 2) {
    const __m256d a = _mm256_loadu_pd(lo + 2 * j);
    const __m256d c = TimesConjugate2(_mm256_loadu_pd(hi + 2 * j), _mm256_loadu_pd(w + 2 * j));
    _mm256_storeu_pd(lo + 2 * j, _mm256_add_pd(a, c));
    _mm256_storeu_pd(hi + 2 * j, _mm256_sub_pd(a, c));
  }
  InversePlain(lo + 2 * j, hi + 2 * j, w + 2 * j, n - j);
}

#endif

}  // namespace

namespace {

using ForwardKernel = void (*)(double* lo, double* hi, const double* w, int n, bool hiZero);
using InverseKernel = void (*)(double* lo, double* hi, const double* w, int n);

ForwardKernel PickForward() {
#if defined(__x86_64__) || defined(__i386__)
  if (CpuFeatures::HasAvx512()) return ForwardAvx512;
  if (CpuFeatures::HasAvx2()) return ForwardAvx2;
#endif
  return ForwardPlain;
}

InverseKernel PickInverse() {
#if defined(__x86_64__) || defined(__i386__)
  if (CpuFeatures::HasAvx512()) return InverseAvx512;
  if (CpuFeatures::HasAvx2()) return InverseAvx2;
#endif
  return InversePlain;
}

// Hands the butterflies t in [begin, end) of a pass over blocks of 2 half
// points to kernel(lo, hi, w, run), one stretch a block of the pass.
template <class Kernel>
void ForEachRun(double* data, const double* table, int half, int begin, int end, Kernel&& kernel) {
  for (int t = begin; t < end;) {
    const int j = t % half;
    const int run = std::min(half - j, end - t);
    double* lo = data + 2 * (static_cast<size_t>(t / half) * 2 * half + static_cast<size_t>(j));
    double* hi = lo + 2 * static_cast<size_t>(half);
    kernel(lo, hi, table + 2 * static_cast<size_t>(j), run);
    t += run;
  }
}

}  // namespace

void SlicedFFT::ForwardChunk(double* data, int level, int chunk, bool upperHalfZero) const {
  static const ForwardKernel kForward = PickForward();
  const double* table = mTwiddles.Get() + 2 * static_cast<size_t>(mTwiddleStart.Get()[level]);
  // Only the first pass sees the padding: later passes take its output.
  const bool hiZero = upperHalfZero && level == 0;
  const int begin = chunk * (mStep / 2);
  ForEachRun(data, table, (mSize >> level) / 2, begin, begin + mStep / 2,
             [hiZero](double* lo, double* hi, const double* w, int run) { kForward(lo, hi, w, run, hiZero); });
}

void SlicedFFT::InverseChunk(double* data, int level, int chunk) const {
  static const InverseKernel kInverse = PickInverse();
  const double* table = mTwiddles.Get() + 2 * static_cast<size_t>(mTwiddleStart.Get()[level]);
  const int begin = chunk * (mStep / 2);
  ForEachRun(data, table, (mSize >> level) / 2, begin, begin + mStep / 2, kInverse);
}

void SlicedFFT::ForwardStep(double* data, int step, bool upperHalfZero) const {
  const int perPass = StepsPerPass();
  if (step < mLevels * perPass) {
    ForwardChunk(data, step / perPass, step % perPass, upperHalfZero);
  } else if (step < StepCount()) {
    const int group = mStep / mPiece;
    const int first = (step - mLevels * perPass) * group;
    for (int q = first; q < first + group; ++q) {
      SplitRadixFFT::RunFFT(data + 2 * static_cast<size_t>(q) * mPiece, mPiece, 0);
    }
  }
}

void SlicedFFT::InverseStep(double* data, int step) const {
  const int perPass = StepsPerPass();
  if (step < perPass) {
    const int group = mStep / mPiece;
    for (int q = step * group; q < (step + 1) * group; ++q) {
      SplitRadixFFT::RunFFT(data + 2 * static_cast<size_t>(q) * mPiece, mPiece, 1);
    }
  } else if (step < StepCount()) {
    const int k = step - perPass;
    InverseChunk(data, mLevels - 1 - k / perPass, k % perPass);
  }
}

void SlicedFFT::Run(double* data, int direction) const {
  for (int step = 0; step < StepCount(); ++step) {
    if (direction == 0) {
      ForwardStep(data, step);
    } else {
      InverseStep(data, step);
    }
  }
}
