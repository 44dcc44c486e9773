#include "plugin/engine/BiquadSection.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "tests/plugin/engine/BandTestSupport.h"

using BandTestSupport::Db;
using BandTestSupport::kPi;
using BandTestSupport::RawResponse;

namespace {

BiquadSection Section(double b0, double b1, double b2, double a0, double a1, double a2, int kind = 17) {
  BiquadSection s;
  s.b0 = b0, s.b1 = b1, s.b2 = b2, s.a0 = a0, s.a1 = a1, s.a2 = a2;
  s.a0n = 1.0, s.b0n = b0 / a0, s.b1n = b1 / a0, s.b2n = b2 / a0, s.a1n = a1 / a0, s.a2n = a2 / a0;
  s.kind = kind;
  return s;
}

}  // namespace

TEST(BiquadSection, StepsTheDirectFormOneRecurrenceWithOffsets) {
  BiquadSection s = Section(0.4, -0.3, 0.2, 2.0, -0.9, 0.4);
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> dist(-1.0, 1.0);
  // y[n] = b0 x[n] + b1 x[n-1] + b2 x[n-2] - a1 y[n-1] - a2 y[n-2] on the
  // normalised coefficients, every input and output lifted by 1e-24.
  double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
  for (int n = 0; n < 200; ++n) {
    const double x = dist(rng) + 1e-24;
    const double y = s.b0n * x + s.b1n * x1 + s.b2n * x2 - s.a1n * y1 - s.a2n * y2 + 1e-24;
    const double got = ProcessBiquadSample(s, x - 1e-24);
    ASSERT_NEAR(got, y, 1e-14) << n;
    EXPECT_EQ(s.x0, s.x1);
    EXPECT_EQ(s.y0, s.y1);
    EXPECT_EQ(s.y0, got);
    x2 = x1, x1 = x, y2 = y1, y1 = y;
  }
}

TEST(BiquadSection, SilenceGivesOnlyTheOffset) {
  BiquadSection s = Section(0.5, 0.25, 0.125, 1.0, -0.5, 0.25);
  EXPECT_EQ(ProcessBiquadSample(s, 0.0), s.b0n * 1e-24 + 1e-24);
  // Silence keeps the recursion near 1e-24 and never lets it fall into the
  // denormal range.
  double y = 0.0;
  for (int i = 0; i < 100000; ++i) y = ProcessBiquadSample(s, 0.0);
  EXPECT_TRUE(std::isnormal(y));
  EXPECT_GT(y, 1e-25);
}

TEST(BiquadSection, TwiceSteppedSectionSettlesToDcOfOne) {
  // A first-order low-pass at twice the rate: b0 = b1 = 1/(1+K), a1 = (1-K)/(1+K).
  const double k = 1.0 / std::tan(kPi * 1000.0 / (2.0 * 48000.0));
  BiquadSection s = Section(1 / (1 + k), 1 / (1 + k), 0.0, 1.0, (1 - k) / (1 + k), 0.0, kSectionLowPass1Twice);
  double y = 0.0;
  for (int i = 0; i < 5000; ++i) y = ProcessBiquadSample(s, 1.0);
  EXPECT_NEAR(y, 1.0, 1e-12);
  // Both steps shared the input: after the second, x1 and x2 hold it.
  EXPECT_DOUBLE_EQ(s.x1, 1.0 + 1e-24);
  EXPECT_DOUBLE_EQ(s.x2, 1.0 + 1e-24);
}

TEST(BiquadSection, ResponseFromRawCoefficients) {
  struct Case {
    BiquadSection s;
    double rate;
  };
  const Case cases[] = {
      {Section(0.4, -0.3, 0.2, 2.0, -0.9, 0.4), 48000.0},
      {Section(1.0, 2.0, 1.0, 1.0, -1.8, 0.81), 44100.0},
      {Section(0.9, -1.7, 0.85, 1.1, -1.75, 0.8), 96000.0},
      {Section(0.2, 0.2, 0.0, 1.0, -0.6, 0.0, kSectionLowPass1Twice), 48000.0},
  };
  for (const Case& c : cases) {
    for (double f : {0.0, 20.0, 440.0, 5000.0, 17000.0, 0.49 * c.rate}) {
      // The twice-stepped kind is measured at half the frequency.
      const double fw = c.s.kind == kSectionLowPass1Twice ? f / 2 : f;
      EXPECT_NEAR(GetBiquadResponseDB(c.s, f, c.rate), Db(RawResponse(c.s, 2 * kPi * fw / c.rate)), 1e-9)
          << f << " Hz at " << c.rate;
    }
  }
  // A double zero at DC: the numerator is floored at 1e-24 (-240 dB).
  const BiquadSection dcZero = Section(1.0, -2.0, 1.0, 1.0, 0.0, 0.0);
  EXPECT_NEAR(GetBiquadResponseDB(dcZero, 0.0, 48000.0), -240.0, 1e-9);
}

TEST(BiquadSection, CopyAndClearTouchTheirOwnHalf) {
  BiquadSection from = Section(0.4, -0.3, 0.2, 2.0, -0.9, 0.4, kSectionNotch);
  BiquadSection to;
  ProcessBiquadSample(to, 0.7);
  const double x1 = to.x1, y1 = to.y1;
  CopyBiquadDesign(from, to);
  EXPECT_EQ(to.x1, x1);
  EXPECT_EQ(to.y1, y1);
  EXPECT_EQ(to.kind, kSectionNotch);
  EXPECT_EQ(to.b1n, from.b1n);
  EXPECT_EQ(to.a2, from.a2);
  ClearBiquadState(to);
  EXPECT_EQ(to.x0 + to.x1 + to.x2 + to.y0 + to.y1 + to.y2, 0.0);
  EXPECT_EQ(to.b1n, from.b1n);
}
