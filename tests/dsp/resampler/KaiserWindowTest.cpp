#include "dsp/resampler/KaiserWindow.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(BesselI0Polynomial, StaysWithinThePublishedErrorBoundsRelativeToI0) {
  for (double x = 0.0; x <= 130.0; x += 0.37) {
    const double exact = std::cyl_bessel_i(0.0, x);
    EXPECT_NEAR(BesselI0Polynomial(x) / exact, 1.0, 5e-7) << x;
    EXPECT_EQ(BesselI0Polynomial(-x), BesselI0Polynomial(x));
  }
}

TEST(KaiserWindow, StepsThroughTheWindowAndIsZeroOutside) {
  const double beta = 7.0;
  KaiserWindowState w = {4.0, -5, 0.0, beta, BesselI0Polynomial(beta)};
  for (int j = -5; j <= 5; ++j) {
    const double t = j / 4.0;
    const double expected =
        std::fabs(t) > 1.0
            ? 0.0
            : BesselI0Polynomial(beta * std::sqrt(1.0 - t * t)) / BesselI0Polynomial(beta);
    EXPECT_DOUBLE_EQ(KaiserWindow(&w), expected) << j;
  }
  EXPECT_EQ(w.counter, 6);
}

}  // namespace
