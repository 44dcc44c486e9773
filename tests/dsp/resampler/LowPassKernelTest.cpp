#include "dsp/resampler/LowPassKernel.h"

#include "dsp/resampler/LowPassCorrectionTables.h"
#include "tests/dsp/resampler/KernelTaps.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;

struct KernelDeleter {
  void operator()(LowPassKernel* k) const { DeleteLowPassKernel(k); }
};
using KernelPtr = std::unique_ptr<LowPassKernel, KernelDeleter>;

KernelPtr Design(double cutoff, double tp, double db, const double* correction = nullptr) {
  LowPassKernel* k = new LowPassKernel();
  k->cutoff = cutoff;
  k->transitionPercent = tp;
  k->attenuationDb = db;
  DesignLowPassKernel(k, correction);
  return KernelPtr(k);
}

struct LengthCase {
  double cutoff, transitionPercent, attenuationDb;
  int halfLength, log2Block;
};

class KernelLengths : public ::testing::TestWithParam<LengthCase> {};

TEST_P(KernelLengths, MatchTheConverterStages) {
  const LengthCase c = GetParam();
  KernelPtr k = Design(c.cutoff, c.transitionPercent, c.attenuationDb);
  EXPECT_EQ(k->halfLength, c.halfLength);
  EXPECT_EQ(k->length, 2 * c.halfLength + 1);
  EXPECT_EQ(k->log2Block, c.log2Block);
  EXPECT_EQ(k->delay, 0.0);
}

INSTANTIATE_TEST_SUITE_P(Stages, KernelLengths,
                         ::testing::Values(LengthCase{0.5, 0.5, 64.08, 1022, 11},
                                           LengthCase{0.5, 34.0, 64.08, 15, 5},
                                           LengthCase{0.5, 45.0, 64.08, 11, 5}));

// Every "x" between two factors of the fit is a product; any other reading
// halves the kernels. The narrow kernel's trim decides its last tap pair.
TEST(LowPassKernelFit, TrimRangeThatGivesTheNarrowKernelItsLength) {
  std::vector<double> trim(kLowPassCorrectionEntries);
  for (int v = -5; v <= 20; ++v) {
    std::fill(trim.begin(), trim.end(), v / 196.0);
    const LowPassKernelFit fit = FitLowPassKernel(0.5, 0.5, 64.08, trim.data());
    const int h = static_cast<int>(std::floor(fit.halfWidth));
    if (v >= 2 && v <= 13) {
      EXPECT_EQ(h, 1022) << v;
    } else {
      EXPECT_NE(h, 1022) << v;
    }
  }
  std::fill(trim.begin(), trim.end(), 0.0);
  EXPECT_EQ(static_cast<int>(FitLowPassKernel(0.5, 0.5, 64.08, trim.data()).halfWidth), 1021);
}

TEST(LowPassKernelFit, WideKernelsKeepTheirLengthsOverTheWholeTrimRange) {
  std::vector<double> trim(kLowPassCorrectionEntries);
  for (double q = -1.26; q <= 0.78; q += 0.02) {
    std::fill(trim.begin(), trim.end(), q);
    EXPECT_EQ(static_cast<int>(FitLowPassKernel(0.5, 34.0, 64.08, trim.data()).halfWidth), 15) << q;
    EXPECT_EQ(static_cast<int>(FitLowPassKernel(0.5, 45.0, 64.08, trim.data()).halfWidth), 11) << q;
  }
}

TEST(LowPassCorrectionTables, StayInTheirTrimRanges) {
  const int8_t* tables[] = {kLowPassCorrectionWide, kLowPassCorrectionMedium,
                            kLowPassCorrectionNarrow};
  const double divisors[] = {101.0, 210.0, 196.0};
  const double lo[] = {-1.26, -0.60, -0.64}, hi[] = {0.78, 0.40, 0.61};
  for (int t = 0; t < 3; ++t) {
    for (int i = 0; i < kLowPassCorrectionEntries; ++i) {
      const double q = tables[t][i] / divisors[t];
      EXPECT_GE(q, lo[t] - 0.005) << t << " " << i;
      EXPECT_LE(q, hi[t] + 0.005) << t << " " << i;
    }
  }
  const int8_t head[] = {-127, -127, -125, -125, -122, -119};
  const int8_t tail[] = {30, 34, 37, 37, 39, 40};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(kLowPassCorrectionWide[i], head[i]);
    EXPECT_EQ(kLowPassCorrectionWide[259 + i], tail[i]);
  }
  EXPECT_GE(kLowPassCorrectionNarrow[23], 2);
  EXPECT_LE(kLowPassCorrectionNarrow[23], 13);
}

// The taps evaluated directly: a sinc at (1 - r) pi c under a Kaiser window
// of beta 125 (exact I0) raised to |p|, centred on tap h, at unit DC gain.
std::vector<double> DirectTaps(double cutoff, double tp, double db) {
  const LowPassKernelFit fit = FitLowPassKernel(cutoff, tp, db, nullptr);
  const int h = static_cast<int>(std::floor(fit.halfWidth));
  const double wc = (1.0 - fit.pullIn) * kPi * cutoff;
  std::vector<double> taps(2 * h + 1);
  double sum = 0.0;
  for (int k = -h; k <= h; ++k) {
    const double t = k / fit.halfWidth;
    const double w = std::pow(std::cyl_bessel_i(0.0, 125.0 * std::sqrt(1.0 - t * t)) /
                                  std::cyl_bessel_i(0.0, 125.0),
                              std::fabs(fit.exponent));
    const double sinc = k == 0 ? wc / kPi : std::sin(k * wc) / (k * kPi);
    taps[k + h] = sinc * w;
    sum += taps[k + h];
  }
  for (double& v : taps) v /= sum;
  return taps;
}

struct ResponseCase {
  double cutoff, transitionPercent;
  double passbandEnd;  // fraction of Nyquist up to which the gain is flat
  double passbandDb;   // allowed deviation there
};

class KernelResponse : public ::testing::TestWithParam<ResponseCase> {};

TEST_P(KernelResponse, SpectrumHoldsTheDirectTapsAndMeetsTheAttenuation) {
  const ResponseCase c = GetParam();
  KernelPtr k = Design(c.cutoff, c.transitionPercent, 64.08);
  const std::vector<double> direct = DirectTaps(c.cutoff, c.transitionPercent, 64.08);
  const std::vector<double> taps = TestKernel::TapsFromSpectrum(*k);
  ASSERT_EQ(static_cast<int>(direct.size()), k->length);
  const double peak = *std::max_element(direct.begin(), direct.end());
  for (size_t i = 0; i < taps.size(); ++i) {
    const double expected = i < direct.size() ? direct[i] : 0.0;
    ASSERT_NEAR(taps[i], expected, 1e-6 * peak) << i;
  }
  for (double f = 0.0; f <= c.passbandEnd; f += 0.005) {
    EXPECT_NEAR(TestKernel::MagnitudeDb(direct, k->length, f), 0.0, c.passbandDb) << f;
  }
  for (double f = c.cutoff; f <= 1.0; f += 0.0007) {
    EXPECT_LT(TestKernel::MagnitudeDb(direct, k->length, f), -63.0) << f;
  }
}

INSTANTIATE_TEST_SUITE_P(Stages, KernelResponse,
                         ::testing::Values(ResponseCase{0.5, 0.5, 0.49, 0.001},
                                           ResponseCase{0.5, 34.0, 0.2, 0.01},
                                           ResponseCase{0.5, 45.0, 0.1, 0.05},
                                           ResponseCase{0.4594, 0.5, 0.45, 0.001}));

}  // namespace
