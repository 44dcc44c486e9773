#include "dsp/filters/BiquadStage.h"

#include <gtest/gtest.h>

#include <complex>

namespace {

using Dsp::Complex;

// The numerator keeps the zero where it is, 1 - zero z^-1: with -zero + z^-1
// the zero at DC of an odd-order high-pass would turn its pass band over.
TEST(BiquadStage, FirstOrderNumeratorIsOneMinusZeroDelay) {
  struct Case { double pole, zero, a1, b0, b1; };
  const Case cases[] = {
      {0.5, -1.0, -0.5, 1.0, 1.0},   // zero at Nyquist (low-pass)
      {-0.3, 1.0, 0.3, 1.0, -1.0},   // zero at DC (odd-order high-pass)
      {0.9, 0.25, -0.9, 1.0, -0.25}, // a shelf's zero inside the circle stays inside
  };
  for (const Case& c : cases) {
    Dsp::BiquadStage s;
    s.setFirstOrder(Complex(c.pole, 0.7), Complex(c.zero, 0.4));  // imaginary parts ignored
    EXPECT_EQ(s.a0, 1.0);
    EXPECT_EQ(s.a1, c.a1);
    EXPECT_EQ(s.a2, 0.0);
    EXPECT_EQ(s.b0, c.b0);
    EXPECT_EQ(s.b1, c.b1);
    EXPECT_EQ(s.b2, 0.0);
  }
}

TEST(BiquadStage, SecondOrderFromConjugateAndRealPairs) {
  Dsp::BiquadStage s;
  const Complex p = std::polar(0.9, 0.6);
  const Complex z = std::polar(1.0, 2.0);
  s.setSecondOrder(p, z, std::conj(p), std::conj(z));
  EXPECT_DOUBLE_EQ(s.a1, -2 * p.real());
  EXPECT_DOUBLE_EQ(s.a2, 0.81);
  EXPECT_DOUBLE_EQ(s.b1, -2 * z.real());
  EXPECT_DOUBLE_EQ(s.b2, 1.0);
  EXPECT_EQ(s.b0, 1.0);

  // Real roots, including an imaginary part of -0.0, use the product form.
  s.setSecondOrder(Complex(0.5, -0.0), Complex(-1.0, 0.0), Complex(-0.2, 0.0), Complex(1.0, -0.0));
  EXPECT_DOUBLE_EQ(s.a1, -(0.5 - 0.2));
  EXPECT_DOUBLE_EQ(s.a2, 0.5 * -0.2);
  EXPECT_DOUBLE_EQ(s.b1, 0.0);
  EXPECT_DOUBLE_EQ(s.b2, -1.0);
}

TEST(BiquadStage, ScaleNumeratorLeavesDenominator) {
  Dsp::BiquadStage s;
  s.setSecondOrder(Complex(0.5, 0.5), Complex(-1, 0), Complex(0.5, -0.5), Complex(-1, 0));
  s.scaleNumerator(0.25);
  EXPECT_DOUBLE_EQ(s.b0, 0.25);
  EXPECT_DOUBLE_EQ(s.b1, 0.5);
  EXPECT_DOUBLE_EQ(s.b2, 0.25);
  EXPECT_DOUBLE_EQ(s.a1, -1.0);
  EXPECT_DOUBLE_EQ(s.a2, 0.5);
}

}  // namespace
