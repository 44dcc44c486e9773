#pragma once

#include "dsp/resampler/LowPassKernel.h"

#include <cmath>
#include <vector>

namespace TestKernel {

// The kernel's taps at unit DC gain, recovered from its packed spectrum by
// the direct inverse DFT (a[0] = R[0], a[1] = R[n/2], then (R[k], I[k]) of
// sum x[j] e^(+2 pi i jk/n)), times the n/2 the converter's unscaled
// inverse transform applies.
inline std::vector<double> TapsFromSpectrum(const LowPassKernel& k) {
  const int n = 2 << k.log2Block;
  const long double pi = 3.141592653589793238462643383279502884L;
  const double* a = k.spectrum;
  std::vector<long double> c(n), s(n);
  for (int m = 0; m < n; ++m) {
    c[m] = std::cos(2.0L * pi * m / n);
    s[m] = std::sin(2.0L * pi * m / n);
  }
  std::vector<double> taps(n);
  for (int j = 0; j < n; ++j) {
    long double acc = a[0] + ((j & 1) ? -a[1] : a[1]);
    int m = 0;
    for (int q = 1; q < n / 2; ++q) {
      m += j;
      if (m >= n) m -= n;
      acc += 2.0L * (a[2 * q] * c[m] + a[2 * q + 1] * s[m]);
    }
    taps[j] = static_cast<double>(acc / n * (n / 2));
  }
  return taps;
}

// |H(f)| in dB of real taps, f as a fraction of the Nyquist frequency.
inline double MagnitudeDb(const std::vector<double>& taps, int length, double f) {
  const double pi = 3.14159265358979323846;
  double re = 0.0, im = 0.0;
  for (int i = 0; i < length; ++i) {
    re += taps[i] * std::cos(pi * f * i);
    im += taps[i] * std::sin(pi * f * i);
  }
  return 10.0 * std::log10(re * re + im * im);
}

}  // namespace TestKernel
