#include "dsp/meter/KWeightingSection.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>

namespace {

constexpr double kPi = 3.14159265358979323846;

// ITU-R BS.1770-4, tables 1 and 2: the two K-weighting stages at 48 kHz.
TEST(KWeightingSection, MatchesThePublishedCoefficientsAt48kHz) {
  KWeightingSection pre{}, hp{};
  pre.DesignPreFilter(48000.0);
  hp.DesignHighPass(48000.0);
  EXPECT_NEAR(pre.b0, 1.53512485958697, 1e-9);
  EXPECT_NEAR(pre.b1, -2.69169618940638, 1e-9);
  EXPECT_NEAR(pre.b2, 1.19839281085285, 1e-9);
  EXPECT_NEAR(pre.a1, -1.69065929318241, 1e-9);
  EXPECT_NEAR(pre.a2, 0.73248077421585, 1e-9);
  EXPECT_NEAR(hp.a1, -1.99004745483398, 1e-9);
  EXPECT_NEAR(hp.a2, 0.99007225036621, 1e-9);
  // The published high-pass numerator is 1, -2, 1 up to its overall gain.
  EXPECT_NEAR(hp.b0, 1.0, 1e-5);
  EXPECT_DOUBLE_EQ(hp.b1, -2.0 * hp.b0);
  EXPECT_DOUBLE_EQ(hp.b2, hp.b0);
}

// |H(e^jw)| from the coefficients.
double GainDb(const KWeightingSection& s, double hz, double fs) {
  const std::complex<double> z1 = std::polar(1.0, -2.0 * kPi * hz / fs);
  const std::complex<double> h =
      (s.b0 + s.b1 * z1 + s.b2 * z1 * z1) / (1.0 + s.a1 * z1 + s.a2 * z1 * z1);
  return 20.0 * std::log10(std::abs(h));
}

TEST(KWeightingSection, ShelfAndHighPassKeepTheirShapeAtOtherRates) {
  for (double fs : {44100.0, 48000.0, 96000.0}) {
    KWeightingSection pre{}, hp{};
    pre.DesignPreFilter(fs);
    hp.DesignHighPass(fs);
    // About +4 dB above the shelf and flat well below it; the high-pass
    // cuts the lowest octaves and is flat through the midrange.
    EXPECT_NEAR(GainDb(pre, 10000.0, fs), 4.0, 0.1) << fs;
    EXPECT_NEAR(GainDb(pre, 100.0, fs), 0.0, 0.05) << fs;
    EXPECT_LT(GainDb(hp, 20.0, fs), -10.0) << fs;
    EXPECT_NEAR(GainDb(hp, 1000.0, fs), 0.0, 0.05) << fs;
  }
}

TEST(KWeightingSection, ProcessRunsTheDifferenceEquation) {
  KWeightingSection s{};
  s.DesignPreFilter(48000.0);
  double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
  for (int n = 0; n < 50; ++n) {
    const double x = std::sin(0.3 * n) + 1e-25;
    const double y = s.b0 * x + s.b1 * x1 + s.b2 * x2 - s.a1 * y1 - s.a2 * y2 + 1e-25;
    EXPECT_DOUBLE_EQ(s.Process(std::sin(0.3 * n)), y);
    x2 = x1;
    x1 = x;
    y2 = y1;
    y1 = y;
  }
}

}  // namespace
