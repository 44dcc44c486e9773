#include "dsp/resampler/FracDelayTable.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;

const double* Table() { return FracDelayTable::Shared(); }
double C(int row, int tap, int coeff) {
  return Table()[row * FracDelay::kRowStride + 3 * tap + coeff];
}

// The tap the table approximates, evaluated directly: a sinc at u = j + phi
// under a Kaiser window (beta 10.42657217, half-width 15) raised to
// 2.29183875, the row normalised to sum 1.
std::vector<double> DirectRow(double phi) {
  const double beta = 10.42657217, e = 2.29183875;
  std::vector<double> v(30);
  double sum = 0.0;
  for (int j = -15; j <= 14; ++j) {
    const double u = j + phi;
    const double t = u / 15.0;
    const double w = std::fabs(t) > 1.0 ? 0.0
                                        : std::cyl_bessel_i(0.0, beta * std::sqrt(1.0 - t * t)) /
                                              std::cyl_bessel_i(0.0, beta);
    const double sinc = std::fabs(u) < 1e-13 ? 1.0 : std::sin(kPi * u) / (kPi * u);
    v[j + 15] = std::pow(w, e) * sinc;
    sum += v[j + 15];
  }
  for (double& x : v) x /= sum;
  return v;
}

TEST(FracDelayTable, EveryRowSumsToOne) {
  for (int k = 0; k < FracDelay::kRows; ++k) {
    double sum = 0.0;
    for (int t = 0; t < FracDelay::kTaps; ++t) sum += C(k, t, 0);
    ASSERT_NEAR(sum, 1.0, 1e-13) << k;
  }
}

TEST(FracDelayTable, EndRowsAreUnitImpulsesAtTheCentreTaps) {
  for (int t = 0; t < FracDelay::kTaps; ++t) {
    EXPECT_NEAR(C(0, t, 0), t == 14 ? 1.0 : 0.0, 1e-15) << t;
    EXPECT_NEAR(C(FracDelay::kPhaseSteps, t, 0), t == 15 ? 1.0 : 0.0, 1e-15) << t;
  }
}

TEST(FracDelayTable, RowsHoldTheWindowedSincOfTheirPhase) {
  for (int k : {0, 1, 700, 1416, 1417, 2832, 2833}) {
    const std::vector<double> direct = DirectRow(1.0 - static_cast<double>(k) / 2833.0);
    for (int t = 0; t < FracDelay::kTaps; ++t) {
      EXPECT_NEAR(C(k, t, 0), direct[t], 2e-7) << "row " << k << " tap " << t;
    }
  }
}

TEST(FracDelayTable, QuadraticTermsReachTheTapsBetweenRows) {
  // Half-way and a quarter of the way to the next row the interpolated taps
  // must match the windowed sinc at that phase.
  for (int k : {3, 500, 1416, 2000, 2830}) {
    for (double f : {0.25, 0.5, 0.75}) {
      const std::vector<double> direct = DirectRow(1.0 - (k + f) / 2833.0);
      for (int t = 0; t < FracDelay::kTaps; ++t) {
        const double v = C(k, t, 0) + C(k, t, 1) * f + C(k, t, 2) * f * f;
        EXPECT_NEAR(v, direct[t], 3e-7) << "row " << k << " f " << f << " tap " << t;
      }
    }
  }
}

TEST(FracDelayTable, BuildsIntoCallerStorageWithTheBuiltInWindow) {
  std::vector<double> storage(FracDelay::kStorageDoubles);
  BuildFracDelayTable(storage.data(), nullptr);
  const int used = FracDelay::kRows * FracDelay::kRowStride;
  for (int i = 0; i < used; ++i) ASSERT_EQ(storage[i], Table()[i]) << i;
  const FracDelayWindowParams same = {10.42657217, 2.29183875};
  std::vector<double> again(FracDelay::kStorageDoubles);
  BuildFracDelayTable(again.data(), &same);
  for (int i = 0; i < used; ++i) ASSERT_EQ(again[i], storage[i]) << i;
}

}  // namespace
