#include "dsp/fft/FFT.h"

#include <cmath>
#include <utility>

namespace {

constexpr double kPi = 3.14159265358979323846;

bool IsPowerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }

}  // namespace

bool ComplexFFT(double* data, int n, int sign) {
  if (!IsPowerOfTwo(n)) return false;
  const int len = 2 * n;

  for (int i = 0, j = 0; i < len; i += 2) {
    if (j > i) {
      std::swap(data[i], data[j]);
      std::swap(data[i + 1], data[j + 1]);
    }
    int m = n;
    while (m >= 2 && j >= m) {
      j -= m;
      m >>= 1;
    }
    j += m;
  }

  // g counts doubles per group (two per point).
  for (int half = 2; half < len; half <<= 1) {
    const int g = half << 1;
    const double theta = sign * (2.0 * kPi / (g >> 1));
    // cos(theta) - 1 as -2 sin^2(theta/2) keeps the recurrence accurate for
    // the small angles of the long passes.
    const double s = std::sin(0.5 * theta);
    const double wpr = -2.0 * s * s;
    const double wpi = std::sin(theta);
    double wr = 1.0;
    double wi = 0.0;
    for (int m = 0; m < half; m += 2) {
      for (int a = m; a < len; a += g) {
        const int b = a + half;
        const double tr = wr * data[b] - wi * data[b + 1];
        const double ti = wr * data[b + 1] + wi * data[b];
        data[b] = data[a] - tr;
        data[b + 1] = data[a + 1] - ti;
        data[a] += tr;
        data[a + 1] += ti;
      }
      const double t = wr;
      wr += t * wpr - wi * wpi;
      wi += wi * wpr + t * wpi;
    }
  }

  if (sign < 0) {
    const double scale = 1.0 / n;
    for (int i = 0; i < len; ++i) data[i] *= scale;
  }
  return true;
}

bool RealFFT(double* data, int n, int sign) {
  if (n < 4 || !IsPowerOfTwo(n)) return false;
  const int half = n / 2;
  const double theta = (sign >= 0 ? 1.0 : -1.0) * kPi / half;
  const double c2 = sign >= 0 ? -0.5 : 0.5;

  if (sign >= 0) ComplexFFT(data, half, +1);

  // Splits the half-length transform of the packed samples into the
  // spectrum of the even and the odd samples and recombines them.
  const double s = std::sin(0.5 * theta);
  const double wpr = -2.0 * s * s;
  const double wpi = std::sin(theta);
  double wr = 1.0 + wpr;
  double wi = wpi;
  for (int k = 1; k < n / 4; ++k) {
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
    const double t = wr;
    wr += t * wpr - wi * wpi;
    wi += wi * wpr + t * wpi;
  }

  if (sign >= 0) {
    const double re = data[0];
    const double im = data[1];
    data[0] = re + im;
    data[n] = re - im;
    data[1] = 0.0;
    data[n + 1] = 0.0;
  } else {
    const double dc = data[0];
    data[0] = (dc + data[n]) * 0.5;
    data[1] = (dc - data[n]) * 0.5;
    data[n] = 0.0;
    data[n + 1] = 0.0;
    ComplexFFT(data, half, -1);
  }
  return true;
}
