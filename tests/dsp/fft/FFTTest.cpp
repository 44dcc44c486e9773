#include "dsp/fft/FFT.h"

#include "tests/dsp/fft/DirectDft.h"

#include <gtest/gtest.h>

#include "tests/dsp/RandomSignal.h"

#include <cmath>
#include <complex>
#include <random>
#include <vector>

namespace {

class ComplexFFTSizes : public ::testing::TestWithParam<int> {};

TEST_P(ComplexFFTSizes, BothDirectionsMatchTheDirectDft) {
  const int n = GetParam();
  const std::vector<double> data = RandomSignal(2 * n, n);
  std::vector<std::complex<double>> z(n);
  for (int k = 0; k < n; ++k) z[k] = {data[2 * k], data[2 * k + 1]};
  for (int sign : {+1, -1}) {
    std::vector<double> a = data;
    ASSERT_TRUE(ComplexFFT(a.data(), n, sign));
    const auto ref = TestDft::Direct(z, sign);
    const double scale = sign < 0 ? 1.0 / n : 1.0;
    const double tol = 1e-12 * n;
    for (int k = 0; k < n; ++k) {
      EXPECT_NEAR(a[2 * k], ref[k].real() * scale, tol) << "n " << n << " k " << k;
      EXPECT_NEAR(a[2 * k + 1], ref[k].imag() * scale, tol) << "n " << n << " k " << k;
    }
  }
}

TEST_P(ComplexFFTSizes, ForwardThenInverseRestoresInput) {
  const int n = GetParam();
  const std::vector<double> data = RandomSignal(2 * n, 7 * n);
  std::vector<double> a = data;
  ComplexFFT(a.data(), n, +1);
  ComplexFFT(a.data(), n, -1);
  for (int i = 0; i < 2 * n; ++i) EXPECT_NEAR(a[i], data[i], 1e-13);
}

INSTANTIATE_TEST_SUITE_P(PowersOfTwo, ComplexFFTSizes,
                         ::testing::Values(1, 2, 4, 8, 16, 64, 256, 1024));

class RealFFTSizes : public ::testing::TestWithParam<int> {};

TEST_P(RealFFTSizes, ForwardMatchesDirectDftAndInverseRestores) {
  const int n = GetParam();
  const std::vector<double> x = RandomSignal(n, 3 * n);
  std::vector<double> a(x);
  a.resize(n + 2, 99.0);
  ASSERT_TRUE(RealFFT(a.data(), n, +1));
  const auto ref = TestDft::DirectReal(x, +1);
  const double tol = 1e-12 * n;
  for (int k = 0; k <= n / 2; ++k) {
    EXPECT_NEAR(a[2 * k], ref[k].real(), tol) << "n " << n << " k " << k;
    EXPECT_NEAR(a[2 * k + 1], ref[k].imag(), tol) << "n " << n << " k " << k;
  }
  ASSERT_TRUE(RealFFT(a.data(), n, -1));
  for (int i = 0; i < n; ++i) EXPECT_NEAR(a[i], x[i], 1e-13);
}

INSTANTIATE_TEST_SUITE_P(PowersOfTwo, RealFFTSizes,
                         ::testing::Values(4, 8, 16, 32, 128, 1024, 8192));

TEST(RealFFT, ConstantLandsInDcOnly) {
  const int n = 64;
  std::vector<double> a(n + 2, 0.0);
  for (int i = 0; i < n; ++i) a[i] = 1.0;
  RealFFT(a.data(), n, +1);
  EXPECT_NEAR(a[0], n, 1e-12);
  for (int i = 1; i < n + 2; ++i) EXPECT_NEAR(a[i], 0.0, 1e-12) << i;
}

TEST(FFT, SizesThatAreNotPowersOfTwoAreRefused) {
  std::vector<double> a(64, 1.5);
  EXPECT_FALSE(ComplexFFT(a.data(), 3, +1));
  EXPECT_FALSE(ComplexFFT(a.data(), 0, +1));
  EXPECT_FALSE(RealFFT(a.data(), 2, +1));
  EXPECT_FALSE(RealFFT(a.data(), 12, +1));
  for (double v : a) EXPECT_EQ(v, 1.5);
}

}  // namespace
