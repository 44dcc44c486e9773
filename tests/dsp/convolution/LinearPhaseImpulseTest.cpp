#include "dsp/convolution/LinearPhaseImpulse.h"

#include <gtest/gtest.h>

#include "tests/dsp/RandomSignal.h"

#include <cmath>
#include <complex>
#include <random>
#include <vector>

#include "dsp/convolution/SplitRadixFFT.h"

namespace {

constexpr double kPi = 3.141592653589793;

std::vector<double> DftMagnitudes(const std::vector<double>& x) {
  const int n = static_cast<int>(x.size());
  std::vector<double> m(x.size());
  for (int k = 0; k < n; ++k) {
    std::complex<double> sum = 0;
    for (int j = 0; j < n; ++j) sum += x[j] * std::polar(1.0, -2 * kPi * ((static_cast<long long>(j) * k) % n) / n);
    m[k] = std::abs(sum);
  }
  return m;
}

// A unit impulse anywhere becomes a unit impulse at n / 2, also for lengths
// that are not powers of two.
TEST(LinearPhaseImpulse, UnitImpulseMovesToTheCentre) {
  for (int n : {2, 4, 16, 1024, 16384, 100, 37, 3}) {
    for (int at : {0, 1, n / 2, n - 1}) {
      std::vector<double> x(static_cast<size_t>(n), 0.0);
      x[static_cast<size_t>(at)] = 1.0;
      ASSERT_TRUE(MakeLinearPhaseImpulse(x.data(), n));
      for (int i = 0; i < n; ++i) {
        ASSERT_NEAR(x[static_cast<size_t>(i)], i == n / 2 ? 1.0 : 0.0, 1e-13) << n << " " << at << " " << i;
      }
    }
  }
}

TEST(LinearPhaseImpulse, KeepsMagnitudeAndBecomesSymmetric) {
  const int n = 256;
  const std::vector<double> x = RandomSignal(n, 17);
  std::vector<double> y = x;
  ASSERT_TRUE(MakeLinearPhaseImpulse(y.data(), n));
  for (int j = 1; j < n / 2; ++j) ASSERT_NEAR(y[n / 2 + j], y[n / 2 - j], 1e-13) << j;
  const std::vector<double> before = DftMagnitudes(x);
  const std::vector<double> after = DftMagnitudes(y);
  for (int k = 0; k < n; ++k) ASSERT_NEAR(after[k], before[k], 1e-11) << k;
}

TEST(LinearPhaseImpulse, OddLengthIsSymmetricAboutItsCentre) {
  const int n = 301;
  std::vector<double> y = RandomSignal(n, 5);
  ASSERT_TRUE(MakeLinearPhaseImpulse(y.data(), n));
  for (int j = 1; j <= n / 2; ++j) ASSERT_NEAR(y[n / 2 + j], y[n / 2 - j], 1e-13) << j;
}

TEST(LinearPhaseImpulse, ZerosStayZeros) {
  std::vector<double> x(512, 0.0);
  ASSERT_TRUE(MakeLinearPhaseImpulse(x.data(), 512));
  for (double v : x) EXPECT_EQ(v, 0.0);
}

TEST(LinearPhaseImpulse, LargestLengthIsAccepted) {
  const int n = SplitRadixFFT::kMaxSize;
  std::vector<double> x(static_cast<size_t>(n), 0.0);
  x[12345] = -2.0;
  ASSERT_TRUE(MakeLinearPhaseImpulse(x.data(), n));
  EXPECT_NEAR(x[n / 2], 2.0, 1e-12);  // magnitude only: the sign goes with the phase
  EXPECT_NEAR(x[12345], 0.0, 1e-12);
}

// Lengths the transform cannot take are refused, data untouched, instead
// of turning untransformed samples into "magnitudes".
TEST(LinearPhaseImpulse, UnsupportedLengthsAreRefused) {
  std::vector<double> x = RandomSignal(SplitRadixFFT::kMaxSize + 1, 3);
  const std::vector<double> before = x;
  for (int n : {SplitRadixFFT::kMaxSize + 1, 1, 0, -8}) {
    EXPECT_FALSE(MakeLinearPhaseImpulse(x.data(), n)) << n;
  }
  EXPECT_EQ(x, before);
  EXPECT_FALSE(MakeLinearPhaseImpulse(nullptr, 64));
}

}  // namespace
