#include "plugin/controller/ReferenceGrid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "tests/plugin/controller/ReferencePoints.h"

namespace {

// The display range every grid frequency is held to.
double HeldToDisplay(double f) { return std::min(std::max(f, 10.0), 20000.0); }

// Linear interpolation through the points by bisection, holding the end
// values outside them: the test's own evaluation of the rule.
double Interpolate(const std::vector<double>& f, const std::vector<double>& m, double x) {
  if (x < f.front()) return m.front();
  if (x >= f.back()) return m.back();
  const size_t hi = std::upper_bound(f.begin(), f.end(), x) - f.begin();
  const size_t lo = hi - 1;
  return m[lo] + (x - f[lo]) * (m[hi] - m[lo]) / (f[hi] - f[lo]);
}

struct GridCase {
  const char* name;
  std::vector<double> frequencies;
  double halfBandHz;
  int curveCount;
};

std::vector<GridCase> GridCases() {
  const std::vector<double> capture = referencetest::CapturePointFrequencies();
  return {
      {"Capture44k1", capture, 22050.0, 4096},
      {"Capture48k", capture, 24000.0, 4096},
      {"Capture96kPastDisplayTop", capture, 48000.0, 8192},
      {"Capture32kBelowDisplayTop", capture, 16000.0, 1024},
      {"TwoGridPoints", capture, 24000.0, 2},
      // Grid frequencies outside the points hold the end values.
      {"PointsEndBelowGridTop", {10.0, 100.0, 1000.0, 5000.0}, 22050.0, 2048},
      {"PointsStartAboveGridBottom", {300.0, 2000.0, 30000.0}, 22050.0, 2048},
      {"GridPointOnEveryReferencePoint", {10.0, 1000.0, 2000.0, 3000.0, 4000.0}, 4000.0, 5},
  };
}

class LayReferenceOnGridCases : public ::testing::TestWithParam<GridCase> {};

TEST_P(LayReferenceOnGridCases, MatchesLinearInterpolationAtEachGridFrequency) {
  const GridCase c = GetParam();
  std::vector<double> magnitudes;
  for (double f : c.frequencies) magnitudes.push_back(1.0 + std::sin(std::log(f)) + 1e-3 * f);
  std::vector<double> curve(c.curveCount, -1.0);
  LayReferenceOnGrid(c.frequencies.data(), magnitudes.data(), static_cast<int>(c.frequencies.size()),
                     c.halfBandHz, curve.data(), c.curveCount);
  for (int i = 0; i < c.curveCount; ++i) {
    const double f = HeldToDisplay(i * c.halfBandHz / (c.curveCount - 1));
    const double want = Interpolate(c.frequencies, magnitudes, f);
    ASSERT_NEAR(curve[i], want, 1e-12 * std::max(1.0, std::fabs(want))) << "grid point " << i << " at " << f << " Hz";
  }
}

INSTANTIATE_TEST_SUITE_P(Grids, LayReferenceOnGridCases, ::testing::ValuesIn(GridCases()),
                         [](const ::testing::TestParamInfo<GridCase>& info) { return std::string(info.param.name); });

TEST(LayReferenceOnGrid, GridValueIStandsForIHalfBandsOverCountMinusOne) {
  // A reference whose magnitude equals its frequency shows the grid
  // frequency itself: a wrong half band or step moves every value.
  const std::vector<double> f = {0.0, 30000.0};
  for (const double halfBand : {22050.0, 24000.0, 16000.0}) {
    std::vector<double> curve(4096);
    LayReferenceOnGrid(f.data(), f.data(), 2, halfBand, curve.data(), 4096);
    for (int i = 0; i < 4096; i += 97) {
      EXPECT_NEAR(curve[i], HeldToDisplay(i * halfBand / 4095.0), 1e-9) << halfBand << " Hz, point " << i;
    }
  }
}

TEST(LayReferenceOnGrid, EndCasesStayFinite) {
  std::vector<double> curve(512);
  // A reference never loaded: every frequency and magnitude zero.
  const std::vector<double> zeros(134, 0.0);
  std::fill(curve.begin(), curve.end(), -1.0);
  LayReferenceOnGrid(zeros.data(), zeros.data(), 134, 24000.0, curve.data(), 512);
  for (double v : curve) ASSERT_EQ(v, 0.0);

  // Repeated frequencies (a span of zero) and a frequency that falls.
  const std::vector<double> f = {10.0, 500.0, 500.0, 400.0, 22050.0};
  const std::vector<double> m = {1.0, 2.0, 3.0, 4.0, 5.0};
  LayReferenceOnGrid(f.data(), m.data(), 5, 22050.0, curve.data(), 512);
  for (double v : curve) {
    ASSERT_TRUE(std::isfinite(v));
    ASSERT_GE(v, 1.0);
    ASSERT_LE(v, 5.0);
  }

  // Magnitudes at the ends of the double range: no inf - inf.
  const double big = 1.7e308;
  const std::vector<double> fb = {10.0, 20000.0};
  const std::vector<double> mb = {big, -big};
  LayReferenceOnGrid(fb.data(), mb.data(), 2, 22050.0, curve.data(), 512);
  for (double v : curve) ASSERT_TRUE(std::isfinite(v));

  // One grid point sits at the bottom of the display range.
  double one = -1.0;
  LayReferenceOnGrid(f.data(), m.data(), 5, 22050.0, &one, 1);
  EXPECT_EQ(one, 1.0);

  // No reference points: an empty curve, not a read before the arrays.
  std::fill(curve.begin(), curve.end(), -1.0);
  LayReferenceOnGrid(f.data(), m.data(), 0, 22050.0, curve.data(), 512);
  for (double v : curve) ASSERT_EQ(v, 0.0);

  // A NaN half band lands every grid point on the display's low end.
  LayReferenceOnGrid(f.data(), m.data(), 5, std::nan(""), curve.data(), 512);
  for (double v : curve) ASSERT_EQ(v, 1.0);
}

}  // namespace
