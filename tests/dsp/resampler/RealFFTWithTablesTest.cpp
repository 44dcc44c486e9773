#include "dsp/resampler/RealFFTWithTables.h"

#include "tests/dsp/fft/DirectDft.h"

#include <gtest/gtest.h>

#include "tests/dsp/RandomSignal.h"

#include <random>
#include <vector>

namespace {

struct WorkArea {
  explicit WorkArea(int n) : ip(RealFFTWorkAreaIpSize(n), 0), w(n / 2, 0.0) {}
  std::vector<int> ip;
  std::vector<double> w;
};

// The packed layout: a[0] = R[0], a[1] = R[n/2], then (R[k], I[k]).
void ExpectPackedSpectrum(const std::vector<double>& a, const std::vector<double>& x) {
  const int n = static_cast<int>(x.size());
  const auto ref = TestDft::DirectReal(x, +1);
  const double tol = 1e-12 * n;
  EXPECT_NEAR(a[0], ref[0].real(), tol);
  EXPECT_NEAR(a[1], ref[n / 2].real(), tol);
  for (int k = 1; k < n / 2; ++k) {
    EXPECT_NEAR(a[2 * k], ref[k].real(), tol) << "n " << n << " k " << k;
    EXPECT_NEAR(a[2 * k + 1], ref[k].imag(), tol) << "n " << n << " k " << k;
  }
}

class RealFFTWithTablesSizes : public ::testing::TestWithParam<int> {};

TEST_P(RealFFTWithTablesSizes, ForwardMatchesDirectDftAndInverseGivesHalfNTimesInput) {
  const int n = GetParam();
  WorkArea area(n);
  const std::vector<double> x = RandomSignal(n, n);
  std::vector<double> a = x;
  RealFFTWithTables(n, 1, a.data(), area.ip.data(), area.w.data());
  ExpectPackedSpectrum(a, x);
  RealFFTWithTables(n, -1, a.data(), area.ip.data(), area.w.data());
  for (int i = 0; i < n; ++i) EXPECT_NEAR(a[i], 0.5 * n * x[i], 1e-12 * n) << i;
}

INSTANTIATE_TEST_SUITE_P(PowersOfTwo, RealFFTWithTablesSizes,
                         ::testing::Values(4, 8, 16, 32, 64, 128, 512, 2048, 4096, 8192));

TEST(RealFFTWithTables, UnitImpulseGivesFlatSpectrum) {
  const int n = 64;
  WorkArea area(n);
  std::vector<double> a(n, 0.0);
  a[0] = 1.0;
  RealFFTWithTables(n, 1, a.data(), area.ip.data(), area.w.data());
  for (int k = 0; k < n / 2; ++k) {
    EXPECT_NEAR(a[2 * k], 1.0, 1e-15);
    if (k > 0) {
      EXPECT_NEAR(a[2 * k + 1], 0.0, 1e-15);
    }
  }
}

TEST(RealFFTWithTables, TablesAreBuiltOnceAndServeLaterCalls) {
  const int n = 256;
  WorkArea area(n);
  std::vector<double> a = RandomSignal(n, 1);
  RealFFTWithTables(n, 1, a.data(), area.ip.data(), area.w.data());
  EXPECT_EQ(area.ip[0], n / 4);
  EXPECT_EQ(area.ip[1], n / 4);
  const std::vector<double> tables = area.w;
  const std::vector<double> x = RandomSignal(n, 2);
  a = x;
  RealFFTWithTables(n, 1, a.data(), area.ip.data(), area.w.data());
  EXPECT_EQ(area.w, tables);
  ExpectPackedSpectrum(a, x);
}

TEST(RealFFTWithTables, TablesOfALargerSizeServeASmallerOne) {
  WorkArea area(4096);
  std::vector<double> big = RandomSignal(4096, 3);
  RealFFTWithTables(4096, 1, big.data(), area.ip.data(), area.w.data());
  for (int n : {8, 64, 1024}) {
    const std::vector<double> x = RandomSignal(n, n + 5);
    std::vector<double> a = x;
    RealFFTWithTables(n, 1, a.data(), area.ip.data(), area.w.data());
    EXPECT_EQ(area.ip[0], 1024);
    ExpectPackedSpectrum(a, x);
  }
}

TEST(RealFFTWithTables, UnsupportedSizesLeaveDataUntouched) {
  WorkArea area(64);
  std::vector<double> a(64, 2.0);
  for (int n : {0, 2, 3, 48}) RealFFTWithTables(n, 1, a.data(), area.ip.data(), area.w.data());
  for (double v : a) EXPECT_EQ(v, 2.0);
  EXPECT_EQ(area.ip[0], 0);
}

}  // namespace
