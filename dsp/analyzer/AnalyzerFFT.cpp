#include "dsp/analyzer/AnalyzerFFT.h"

#include <cmath>
#include <new>
#include <utility>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

constexpr double kPi = 3.14159265358979323846;

bool IsPowerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }

}  // namespace

bool AnalyzerFFT::Plan(int n) {
  if (n < 4 || !IsPowerOfTwo(n)) {
    mLength = 0;
    return false;
  }
  if (n == mLength) return true;
  mLength = 0;
  const int points = n / 2;
  const int len = 2 * points;
  try {
    mSwaps.clear();
    for (int i = 0, j = 0; i < len; i += 2) {
      if (j > i) {
        mSwaps.push_back(i);
        mSwaps.push_back(j);
      }
      int m = points;
      while (m >= 2 && j >= m) {
        j -= m;
        m >>= 1;
      }
      j += m;
    }
    // The recurrences of the transform, run here once: the same values.
    mTwiddles.clear();
    for (int half = 2; half < len; half <<= 1) {
      const double theta = 2.0 * kPi / half;
      const double s = std::sin(0.5 * theta);
      const double wpr = -2.0 * s * s;
      const double wpi = std::sin(theta);
      double wr = 1.0;
      double wi = 0.0;
      for (int m = 0; m < half; m += 2) {
        mTwiddles.insert(mTwiddles.end(), {wr, wr, -wi, wi});
        const double t = wr;
        wr += t * wpr - wi * wpi;
        wi += wi * wpr + t * wpi;
      }
    }
    mSplit.clear();
    const double theta = kPi / points;
    const double s = std::sin(0.5 * theta);
    const double wpr = -2.0 * s * s;
    const double wpi = std::sin(theta);
    double wr = 1.0 + wpr;
    double wi = wpi;
    for (int k = 1; k < n / 4; ++k) {
      mSplit.push_back(wr);
      mSplit.push_back(wi);
      const double t = wr;
      wr += t * wpr - wi * wpi;
      wi += wi * wpr + t * wpi;
    }
  } catch (const std::bad_alloc&) {
    return false;
  }
  mLength = n;
  return true;
}

bool AnalyzerFFT::Forward(double* data, int n) const {
  if (n != mLength || n == 0) return false;
  const int len = n;  // doubles of the half-length complex transform
  for (size_t k = 0; k < mSwaps.size(); k += 2) {
    const int i = mSwaps[k], j = mSwaps[k + 1];
    std::swap(data[i], data[j]);
    std::swap(data[i + 1], data[j + 1]);
  }

  // Group by group, each butterfly with its factor: the passes' own
  // arithmetic (x - y is x + -y, and -(a b) is (-a) b, exactly).
  const double* w = mTwiddles.data();
  for (int half = 2; half < len; half <<= 1) {
    const int g = half << 1;
    for (int a0 = 0; a0 < len; a0 += g) {
      const double* f = w;
      for (int m = 0; m < half; m += 2, f += 4) {
        double* pa = data + a0 + m;
        double* pb = pa + half;
#ifdef __SSE2__
        const __m128d b = _mm_loadu_pd(pb);
        const __m128d a = _mm_loadu_pd(pa);
        const __m128d swapped = _mm_shuffle_pd(b, b, 1);
        const __m128d t = _mm_add_pd(_mm_mul_pd(_mm_loadu_pd(f), b), _mm_mul_pd(_mm_loadu_pd(f + 2), swapped));
        _mm_storeu_pd(pb, _mm_sub_pd(a, t));
        _mm_storeu_pd(pa, _mm_add_pd(a, t));
#else
        const double wr = f[0], wi = f[3];
        const double tr = wr * pb[0] - wi * pb[1];
        const double ti = wr * pb[1] + wi * pb[0];
        pb[0] = pa[0] - tr;
        pb[1] = pa[1] - ti;
        pa[0] += tr;
        pa[1] += ti;
#endif
      }
    }
    w += 2 * half;
  }

  const int half = n / 2;
  const double c2 = -0.5;
  const double* f = mSplit.data();
  for (int k = 1; k < n / 4; ++k, f += 2) {
    const double wr = f[0], wi = f[1];
    const int i1 = 2 * k;
    const int i3 = 2 * (half - k);
    const double h1r = 0.5 * (data[i1] + data[i3]);
    const double h1i = 0.5 * (data[i1 + 1] - data[i3 + 1]);
    const double h2r = -c2 * (data[i1 + 1] + data[i3 + 1]);
    const double h2i = c2 * (data[i1] - data[i3]);
    data[i1] = h1r + wr * h2r - wi * h2i;
    data[i1 + 1] = h1i + wr * h2i + wi * h2r;
    data[i3] = h1r - wr * h2r + wi * h2i;
    data[i3 + 1] = -h1i + wr * h2i + wi * h2r;
  }
  const double re = data[0];
  const double im = data[1];
  data[0] = re + im;
  data[n] = re - im;
  data[1] = 0.0;
  data[n + 1] = 0.0;
  return true;
}
