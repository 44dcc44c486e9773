#include "dsp/analyzer/AnalyzerFFT.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "dsp/fft/FFT.h"
#include "tests/dsp/fft/DirectDft.h"

namespace {

// The planned transform leaves the very bits the plain one does, at every
// length the analysers use and beyond, on noise, on loud and tiny values
// and on signed zeros.
TEST(AnalyzerFFT, LeavesTheBitsOfTheRealTransform) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> noise(-1.0, 1.0);
  for (int n = 4; n <= 32768; n *= 2) {
    AnalyzerFFT fft;
    ASSERT_TRUE(fft.Plan(n)) << n;
    for (int round = 0; round < 3; ++round) {
      std::vector<double> plain(n + 2, 0.0);
      for (int i = 0; i < n; ++i) {
        const double x = noise(random);
        plain[i] = round == 0 ? x : round == 1 ? x * (i % 3 == 0 ? 1e300 : 1e-300) : (i % 2 ? -0.0 : 0.0);
      }
      std::vector<double> planned = plain;
      ASSERT_TRUE(RealFFT(plain.data(), n, 1));
      ASSERT_TRUE(fft.Forward(planned.data(), n));
      ASSERT_EQ(std::memcmp(plain.data(), planned.data(), sizeof(double) * (n + 2)), 0) << n << " round " << round;
    }
  }
}

TEST(AnalyzerFFT, MatchesTheDirectTransform) {
  const int n = 64;
  std::vector<std::complex<double>> x(n);
  std::vector<double> data(n + 2, 0.0);
  for (int i = 0; i < n; ++i) {
    data[i] = std::sin(0.3 * i) + 0.25 * std::cos(1.7 * i + 0.2) + (i == 5 ? 1.0 : 0.0);
    x[i] = data[i];
  }
  AnalyzerFFT fft;
  ASSERT_TRUE(fft.Plan(n));
  ASSERT_TRUE(fft.Forward(data.data(), n));
  const std::vector<std::complex<double>> want = TestDft::Direct(x, +1);
  for (int k = 0; k <= n / 2; ++k) {
    EXPECT_NEAR(data[2 * k], want[k].real(), 1e-12) << k;
    EXPECT_NEAR(data[2 * k + 1], want[k].imag(), 1e-12) << k;
  }
}

TEST(AnalyzerFFT, RefusesLengthsItWasNotPlannedFor) {
  AnalyzerFFT fft;
  std::vector<double> data(34, 1.0);
  EXPECT_FALSE(fft.Forward(data.data(), 32));  // nothing planned
  for (int bad : {0, 2, 3, 12, -8}) EXPECT_FALSE(fft.Plan(bad)) << bad;
  EXPECT_EQ(fft.Length(), 0);
  ASSERT_TRUE(fft.Plan(16));
  EXPECT_FALSE(fft.Forward(data.data(), 32));
  EXPECT_EQ(data, std::vector<double>(34, 1.0));
  // A new length replaces the old one.
  ASSERT_TRUE(fft.Plan(32));
  EXPECT_TRUE(fft.Forward(data.data(), 32));
  EXPECT_EQ(data[0], 32.0);
}

}  // namespace
