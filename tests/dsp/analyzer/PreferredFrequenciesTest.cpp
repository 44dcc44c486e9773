#include "dsp/analyzer/PreferredFrequencies.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(PreferredFrequencies, AreTheR80SeriesOverFiveDecades) {
  const double* f = PreferredFrequencyTable();
  EXPECT_EQ(f[0], 1.0);
  EXPECT_DOUBLE_EQ(f[399], 97500.0);
  int below10 = 0;
  for (int i = 0; i < kPreferredFrequencyCount; ++i) {
    // R80 rounds 10^(i/80) to three figures; ISO 3 keeps every value within
    // about 1.3 % of it.
    EXPECT_NEAR(f[i] / std::pow(10.0, i / 80.0), 1.0, 0.013) << i;
    if (i > 0) {
      EXPECT_GT(f[i], f[i - 1]) << i;
    }
    if (f[i] < 10.0) ++below10;
  }
  EXPECT_EQ(below10, kPreferredFrequenciesBelow10Hz);
  const double start[] = {1.00, 1.03, 1.06, 1.09, 1.12, 1.15, 1.18, 1.22,
                          1.25, 1.28, 1.32, 1.36, 1.40, 1.45, 1.50};
  for (int i = 0; i < 15; ++i) EXPECT_DOUBLE_EQ(f[i], start[i]) << i;
  EXPECT_DOUBLE_EQ(f[78], 9.50);
  EXPECT_DOUBLE_EQ(f[79], 9.75);
  EXPECT_DOUBLE_EQ(f[80], 10.0);
  EXPECT_NEAR(f[82], 10.6, 1e-12);
  EXPECT_NEAR(f[346], 21200.0, 1e-9);
  EXPECT_NEAR(f[347], 21800.0, 1e-9);
  EXPECT_NEAR(f[348], 22400.0, 1e-9);
}

}  // namespace
