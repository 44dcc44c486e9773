#pragma once

#include <complex>
#include <limits>

namespace Dsp {

using Complex = std::complex<double>;

// A pole or zero at infinity (an analogue zero of a low-pass prototype).
inline Complex InfinityPoint() { return Complex(std::numeric_limits<double>::infinity(), 0.0); }

// The conjugate of InfinityPoint() carries imaginary part -0.0, which must
// still count as infinity: -0.0 == 0.0 holds.
inline bool IsInfinity(const Complex& c) {
  return c.real() == std::numeric_limits<double>::infinity() && c.imag() == 0.0;
}

// Poles and zeros of one biquad stage. A first-order stage has its second
// pole and second zero exactly 0.
struct PoleZeroEntry {
  Complex pole1;
  Complex pole2;
  Complex zero1;
  Complex zero2;

  bool isFirstOrder() const { return pole2 == Complex() && zero2 == Complex(); }
};

}  // namespace Dsp
