#include "dsp/filters/BiquadStage.h"

namespace Dsp {

void BiquadStage::setFirstOrder(const Complex& pole, const Complex& zero) {
  a0 = 1.0;
  a1 = -pole.real();
  a2 = 0.0;
  b0 = 1.0;
  b1 = -zero.real();
  b2 = 0.0;
}

void BiquadStage::setSecondOrder(const Complex& pole1, const Complex& zero1, const Complex& pole2,
                                 const Complex& zero2) {
  a0 = 1.0;
  if (pole1.imag() != 0.0) {
    a1 = -2.0 * pole1.real();
    const double magnitude = std::abs(pole1);
    a2 = magnitude * magnitude;
  } else {
    a1 = -(pole1.real() + pole2.real());
    a2 = pole1.real() * pole2.real();
  }
  b0 = 1.0;
  if (zero1.imag() != 0.0) {
    b1 = -2.0 * zero1.real();
    const double magnitude = std::abs(zero1);
    b2 = magnitude * magnitude;
  } else {
    b1 = -(zero1.real() + zero2.real());
    b2 = zero1.real() * zero2.real();
  }
}

void BiquadStage::scaleNumerator(double factor) {
  b0 *= factor;
  b1 *= factor;
  b2 *= factor;
}

}  // namespace Dsp
