#pragma once

#include <cmath>
#include <complex>
#include <vector>

// Reference transforms for the tests: the O(n^2) DFT, accumulated in long
// double over twiddles computed once per size.
namespace TestDft {

// X[k] = sum x[j] e^(sign 2 pi i jk/n).
inline std::vector<std::complex<double>> Direct(const std::vector<std::complex<double>>& x,
                                                int sign) {
  const size_t n = x.size();
  const long double pi = 3.141592653589793238462643383279502884L;
  std::vector<long double> c(n), s(n);
  for (size_t m = 0; m < n; ++m) {
    const long double a = sign * 2.0L * pi * static_cast<long double>(m) / n;
    c[m] = std::cos(a);
    s[m] = std::sin(a);
  }
  std::vector<std::complex<double>> out(n);
  for (size_t k = 0; k < n; ++k) {
    long double re = 0.0L, im = 0.0L;
    size_t m = 0;
    for (size_t j = 0; j < n; ++j) {
      re += x[j].real() * c[m] - x[j].imag() * s[m];
      im += x[j].real() * s[m] + x[j].imag() * c[m];
      m += k;
      if (m >= n) m -= n;
    }
    out[k] = {static_cast<double>(re), static_cast<double>(im)};
  }
  return out;
}

inline std::vector<std::complex<double>> DirectReal(const std::vector<double>& x, int sign) {
  std::vector<std::complex<double>> z(x.begin(), x.end());
  return Direct(z, sign);
}

}  // namespace TestDft
