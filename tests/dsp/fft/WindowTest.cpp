#include "dsp/fft/Window.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <numeric>

namespace {

constexpr double kPi = 3.14159265358979323846;

std::unique_ptr<double[]> Make(int n, int kind, bool normalise) {
  return std::unique_ptr<double[]>(MakeWindow(n, kind, normalise));
}

// I0 by its series, summed to convergence in long double.
double ReferenceI0(double x) {
  long double sum = 1.0L, term = 1.0L;
  for (int k = 1; k < 3000; ++k) {
    term *= (x / 2.0L / k) * (x / 2.0L / k);
    sum += term;
  }
  return static_cast<double>(sum);
}

struct CosineCase {
  int kind;
  std::vector<double> a;  // a0 + a1 cos(p) + ...
};

class CosineWindows : public ::testing::TestWithParam<CosineCase> {};

TEST_P(CosineWindows, MatchTheirCosineSums) {
  const CosineCase c = GetParam();
  for (int n : {2, 7, 64, 513}) {
    auto w = Make(n, c.kind, false);
    for (int i = 0; i < n; ++i) {
      double v = 0.0;
      for (size_t k = 0; k < c.a.size(); ++k) v += c.a[k] * std::cos(k * 2.0 * kPi * i / (n - 1));
      EXPECT_NEAR(w[i], v, 1e-12) << "kind " << c.kind << " n " << n << " i " << i;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, CosineWindows,
    ::testing::Values(CosineCase{0, {0.53836, -0.46164}}, CosineCase{-3, {0.53836, -0.46164}},
                      CosineCase{14, {0.53836, -0.46164}},
                      CosineCase{1, {0.42, -0.5, 0.08}}, CosineCase{7, {0.5, -0.5}},
                      CosineCase{9, {0.358750287312166, -0.4882901074726, 0.141279712970519,
                                     -0.011679892244715}},
                      CosineCase{10, {1.0, -1.93, 1.29, -0.388, 0.028}},
                      CosineCase{13, {0.2712203605850388, -0.4334446123274422, 0.2180041228929303,
                                      -0.06578534329560609, 0.01076186730534183,
                                      -0.0007700127105808265, 1.368088305992921e-5}}));

TEST(MakeWindow, HammingEndsAndFlatTopPeak) {
  auto h = Make(33, 0, false);
  EXPECT_NEAR(h[0], 0.07672, 1e-12);
  EXPECT_NEAR(h[32], 0.07672, 1e-12);
  // The flat top is left at its natural peak, not scaled to 1.
  auto f = Make(33, 10, false);
  EXPECT_NEAR(f[16], 4.636, 1e-12);
}

TEST(MakeWindow, HannSquaredTriangularRectangular) {
  const int n = 20;
  auto hs = Make(n, 11, false);
  auto tr = Make(n, 8, false);
  auto re = Make(n, 6, false);
  for (int i = 0; i < n; ++i) {
    const double hann = 0.5 - 0.5 * std::cos(2.0 * kPi * i / (n - 1));
    EXPECT_NEAR(hs[i], hann * hann, 1e-12);
    EXPECT_NEAR(tr[i], 1.0 - 2.0 * std::fabs(i - (n - 1) / 2.0) / (n - 1), 1e-12);
    EXPECT_EQ(re[i], 1.0);
  }
}

TEST(MakeWindow, KaiserCentresOnHalfLengthWithHalfSpan) {
  const double betas[] = {4, 5, 6, 8};
  for (int kind = 2; kind <= 5; ++kind) {
    const double beta = betas[kind - 2];
    for (int n : {16, 17}) {
      auto w = Make(n, kind, false);
      for (int i = 0; i < n; ++i) {
        const double r = (i - n / 2) / (n - 1.0);
        EXPECT_NEAR(w[i], ReferenceI0(beta * std::sqrt(1.0 - r * r)) / ReferenceI0(beta), 1e-13);
      }
      EXPECT_DOUBLE_EQ(w[n / 2], 1.0);
      // The half span keeps the ends far from zero.
      EXPECT_GT(w[0], 0.3);
    }
  }
}

TEST(MakeWindow, SincUsesRealHalfLength) {
  const int n = 9;
  auto w = Make(n, 12, false);
  for (int i = 0; i < n; ++i) {
    const double x = ((i - 4.5) / kPi) * 0.25;
    EXPECT_NEAR(w[i], std::sin(x) / x, 1e-15);
  }
  auto even = Make(8, 12, false);
  EXPECT_EQ(even[4], 1.0);
}

TEST(MakeWindow, NormalisedWindowsSumToOne) {
  for (int kind = 0; kind <= 13; ++kind) {
    auto w = Make(100, kind, true);
    EXPECT_NEAR(std::accumulate(w.get(), w.get() + 100, 0.0), 1.0, 1e-12) << kind;
  }
  auto rect = Make(10, 6, true);
  for (int i = 0; i < 10; ++i) EXPECT_DOUBLE_EQ(rect[i], 0.1);
}

TEST(MakeWindow, SinglePointTakesTheCentreValueWithoutDividingByZero) {
  for (int kind = 0; kind <= 13; ++kind) {
    auto w = Make(1, kind, false);
    ASSERT_TRUE(std::isfinite(w[0])) << kind;
    if (kind == 10) {
      EXPECT_NEAR(w[0], 4.636, 1e-12);
    } else if (kind != 12) {
      EXPECT_NEAR(w[0], 1.0, 1e-12) << kind;
    }
    auto normalised = Make(1, kind, true);
    EXPECT_DOUBLE_EQ(normalised[0], 1.0) << kind;
  }
  EXPECT_EQ(MakeWindow(0, 0, true), nullptr);
  EXPECT_EQ(MakeWindow(-5, 7, false), nullptr);
}

TEST(BesselI0Series, MatchesConvergedSeries) {
  for (double x : {0.0, 0.5, 4.0, 8.0, 30.0}) {
    EXPECT_NEAR(BesselI0Series(x) / ReferenceI0(x), 1.0, 1e-15) << x;
  }
}

// The stopping test compares a term with the sum: a NaN, or a sum past the
// double range (I0 of about 1420 and up), never met it and the loop ran for
// ever.
TEST(BesselI0Series, EndsOnNonFiniteAndOverflowingArguments) {
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_TRUE(std::isnan(BesselI0Series(std::numeric_limits<double>::quiet_NaN())));
  for (double x : {inf, -inf, 1500.0, -2000.0, 1e300}) EXPECT_EQ(BesselI0Series(x), inf) << x;
  // Still finite, and still the series, just below the overflow.
  EXPECT_NEAR(BesselI0Series(700.0) / ReferenceI0(700.0), 1.0, 1e-12);
}

}  // namespace
