#include "dsp/resampler/FracInterpolator.h"

#include "dsp/resampler/FracDelayTable.h"

#include <gtest/gtest.h>

#include "tests/dsp/RandomSignal.h"

#include <cmath>
#include <memory>
#include <random>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;

// Runs the input through in chunks of the given sizes (cycled).
std::vector<double> Interpolate(FracInterpolator* s, const std::vector<double>& in,
                        const std::vector<int>& chunks) {
  std::vector<double> out(in.size() * 4 + 64);
  size_t pos = 0, written = 0, c = 0;
  while (pos < in.size()) {
    const int n = std::min<int>(chunks[c++ % chunks.size()], static_cast<int>(in.size() - pos));
    written += InterpolateFractional(s, in.data() + pos, out.data() + written, n);
    pos += n;
  }
  out.resize(written);
  return out;
}

// Output j evaluated directly: its position j * step + offset, the table
// row and fraction at that phase, and the 30 inputs around it (zeros
// before the first input).
double DirectOutput(const std::vector<double>& x, long double step, long double offset, int j) {
  const long double p = j * step + offset;
  const long long whole = static_cast<long long>(std::floor(p));
  const double frac = static_cast<double>(p - whole);
  const double xr = frac * FracDelay::kPhaseSteps;
  const int k = static_cast<int>(xr);
  const double f = xr - k;
  const double* row = FracDelayTable::Shared() + k * FracDelay::kRowStride;
  double acc = 0.0;
  for (int t = 0; t < FracDelay::kTaps; ++t) {
    const long long i = whole - 14 + t;
    const double v = (i >= 0 && i < static_cast<long long>(x.size())) ? x[i] : 0.0;
    acc += (row[3 * t] + row[3 * t + 1] * f + row[3 * t + 2] * f * f) * v;
  }
  return acc;
}

TEST(FracInterpolator, UnitStepReproducesInputWithoutDelay) {
  auto s = std::make_unique<FracInterpolator>();
  InitFracInterpolator(s.get(), 1.0, 1.0, 0.0);
  const std::vector<double> x = RandomSignal(3000, 1);
  double out[64];
  // Nothing until 16 samples are in the window; then one output per input.
  EXPECT_EQ(InterpolateFractional(s.get(), x.data(), out, 15), 0);
  ASSERT_EQ(InterpolateFractional(s.get(), x.data() + 15, out, 1), 1);
  EXPECT_NEAR(out[0], x[0], 1e-15);
  const std::vector<double> rest(x.begin() + 16, x.end());
  const std::vector<double> y = Interpolate(s.get(), rest, {37, 500, 1});
  ASSERT_EQ(y.size(), rest.size());
  for (size_t j = 0; j < y.size(); ++j) ASSERT_NEAR(y[j], x[j + 1], 1e-15) << j;
}

struct StepCase {
  double numerator, denominator, offset;
};

class FracInterpolatorSteps : public ::testing::TestWithParam<StepCase> {};

TEST_P(FracInterpolatorSteps, EveryOutputIsTheTableInterpolationAtItsPosition) {
  const StepCase c = GetParam();
  auto s = std::make_unique<FracInterpolator>();
  InitFracInterpolator(s.get(), c.numerator, c.denominator, c.offset);
  const std::vector<double> x = RandomSignal(6000, 2);
  const std::vector<double> y = Interpolate(s.get(), x, {1, 137, 512, 2048, 3});
  const long double step = static_cast<long double>(c.numerator) / c.denominator;
  // Every position whose whole part has 16 samples from it on yields an
  // output: positions below size - 15.
  const long double limit = x.size() - 15.0L;
  const int expected = static_cast<int>(std::ceil((limit - c.offset) / step));
  ASSERT_EQ(static_cast<int>(y.size()), expected);
  for (int j = 0; j < expected; ++j) {
    ASSERT_NEAR(y[j], DirectOutput(x, step, c.offset, j), 1e-11) << j;
  }
}

INSTANTIATE_TEST_SUITE_P(Ratios, FracInterpolatorSteps,
                         ::testing::Values(StepCase{88200, 48000, 0.0},
                                           StepCase{96000, 44100, 0.25},
                                           StepCase{88200, 96000, 0.5},
                                           StepCase{44100, 48000, 0.75},
                                           StepCase{3, 1, 0.0}));

TEST(FracInterpolator, ResamplesABandLimitedSineToItsExactValues) {
  auto s = std::make_unique<FracInterpolator>();
  const double fsIn = 88200.0, fsOut = 48000.0, hz = 1000.0;
  InitFracInterpolator(s.get(), fsIn, fsOut, 0.0);
  std::vector<double> x(20000);
  for (size_t i = 0; i < x.size(); ++i) x[i] = std::sin(2.0 * kPi * hz * i / fsIn);
  const std::vector<double> y = Interpolate(s.get(), x, {512});
  double worst = 0.0;
  // Past the 14 zeros before the first input.
  for (size_t j = 20; j < y.size(); ++j) {
    worst = std::max(worst, std::fabs(y[j] - std::sin(2.0 * kPi * hz * j / fsOut)));
  }
  EXPECT_LT(20.0 * std::log10(worst), -90.0);
}

TEST(FracInterpolator, InPlaceAtStepsOfOneOrMore) {
  auto a = std::make_unique<FracInterpolator>();
  auto b = std::make_unique<FracInterpolator>();
  InitFracInterpolator(a.get(), 96000, 88200, 0.1);
  InitFracInterpolator(b.get(), 96000, 88200, 0.1);
  const std::vector<double> x = RandomSignal(4000, 3);
  std::vector<double> separate(4000);
  const int n = InterpolateFractional(a.get(), x.data(), separate.data(), 4000);
  std::vector<double> inPlace = x;
  ASSERT_EQ(InterpolateFractional(b.get(), inPlace.data(), inPlace.data(), 4000), n);
  for (int j = 0; j < n; ++j) ASSERT_EQ(inPlace[j], separate[j]) << j;
}

TEST(FracInterpolator, RebasesAfterAThousandOutputsAndResetRestarts) {
  auto s = std::make_unique<FracInterpolator>();
  InitFracInterpolator(s.get(), 1.0, 1.0, 0.0);
  const std::vector<double> x = RandomSignal(1500, 4);
  std::vector<double> out(1500);
  EXPECT_EQ(InterpolateFractional(s.get(), x.data(), out.data(), 1500), 1485);
  EXPECT_EQ(s->outCount, 0);
  EXPECT_EQ(s->lastWhole, 0);
  EXPECT_EQ(InterpolateFractional(s.get(), x.data(), out.data(), 0), 0);
  ResetFracInterpolator(s.get());
  std::vector<double> again(1500);
  EXPECT_EQ(InterpolateFractional(s.get(), x.data(), again.data(), 1500), 1485);
  EXPECT_EQ(again, out);
}

}  // namespace
